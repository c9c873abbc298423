#include "core/prompt.h"

namespace pelor::core {

Answer ScriptedPrompt::Message(std::string_view text, std::string_view caption,
                               MessageButtons buttons) {
    return MessageWithDetail(text, {}, caption, buttons);
}

Answer ScriptedPrompt::MessageWithDetail(std::string_view text, std::string_view detail,
                                         std::string_view caption, MessageButtons buttons) {
    Shown s;
    s.text = std::string(text);
    s.detail = std::string(detail);
    s.caption = std::string(caption);
    s.buttons = buttons;
    shown.push_back(std::move(s));
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    if (answers.empty()) return Answer::No;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> ScriptedPrompt::ChooseFile(const FileDialogRequest& request) {
    Shown s;
    s.isFileDialog = true;
    s.dialog = request;
    shown.push_back(std::move(s));
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::vector<std::string> ScriptedPrompt::MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& s : shown) {
        if (!s.isFileDialog) out.push_back(s.text);
    }
    return out;
}

std::size_t ScriptedPrompt::FileDialogCount() const {
    std::size_t n = 0;
    for (const auto& s : shown) n += s.isFileDialog ? 1 : 0;
    return n;
}

}  // namespace pelor::core
