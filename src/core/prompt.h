#pragma once
// Message boxes and file choosers, asked of the user by the logic.
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::core {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    bool open = true;   // false: a save dialog
    std::string title;  // says what is asked for; empty: the window system's own
    std::string defaultExtension;
    std::string initialName;  // a bare name or a full path
    std::string filter;       // "Name (*.ext)|*.ext|...||"
    bool pathMustExist = false;
    bool overwritePrompt = false;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual Answer Message(std::string_view text, std::string_view caption,
                           MessageButtons buttons = MessageButtons::Ok) = 0;
    // A message whose text does not say what it is about: `detail` (a file's path) is shown
    // as a line of its own under the text, which stays exactly as given.
    virtual Answer MessageWithDetail(std::string_view text, std::string_view detail,
                                     std::string_view caption,
                                     MessageButtons buttons = MessageButtons::Ok) {
        (void)detail;
        return Message(text, caption, buttons);
    }
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
};

// Test double: records everything shown and answers from a script. Messages with Yes/No (and
// Cancel) are answered from `answers` (No when the script is empty); file choosers from `files`
// (cancel when empty).
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        bool isFileDialog = false;
        std::string text;     // message text
        std::string caption;  // message caption
        std::string detail;   // the line under the text (MessageWithDetail)
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest dialog;
    };

    Answer Message(std::string_view text, std::string_view caption,
                   MessageButtons buttons = MessageButtons::Ok) override;
    Answer MessageWithDetail(std::string_view text, std::string_view detail,
                             std::string_view caption,
                             MessageButtons buttons = MessageButtons::Ok) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;

    // The texts of the messages shown, in order (file dialogs left out).
    std::vector<std::string> MessageTexts() const;
    std::size_t FileDialogCount() const;

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
};

}  // namespace pelor::core
