#pragma once
// Programming progress in a dialog a person can cancel; each step also shows its text in the
// main window's title, and keeps the window painting while the user interface thread works.
#include <QProgressDialog>

#include "unit/flash_programmer.h"

namespace pelor::ui {

class FlashProgressDlg : public unit::FlashProgress {
public:
    explicit FlashProgressDlg(QWidget* mainWindow) : window_(mainWindow) {}
    ~FlashProgressDlg() override;
    void Begin(int total) override;
    bool Step(int done, std::string_view title) override;
    void End() override;

private:
    QWidget* window_;
    QProgressDialog* dialog_ = nullptr;
};

}  // namespace pelor::ui
