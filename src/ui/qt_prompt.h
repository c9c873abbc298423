#pragma once
// Message boxes and file choosers for the logic, as Qt dialogs over the main window.
#include <QWidget>

#include "core/prompt.h"

namespace pelor::ui {

// "Name (*.a)|*.a|Other (*.b)|*.b||" -> the Qt filter list "Name (*.a);;Other (*.b)".
QStringList FilterList(const std::string& filter);

class QtPrompt : public core::Prompt {
public:
    explicit QtPrompt(QWidget* parent) : parent_(parent) {}
    core::Answer Message(std::string_view text, std::string_view caption,
                         core::MessageButtons buttons) override;
    core::Answer MessageWithDetail(std::string_view text, std::string_view detail,
                                   std::string_view caption, core::MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(const core::FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace pelor::ui
