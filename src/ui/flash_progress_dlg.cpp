#include "ui/flash_progress_dlg.h"

#include <QApplication>

namespace pelor::ui {

FlashProgressDlg::~FlashProgressDlg() {
    End();
}

void FlashProgressDlg::Begin(int total) {
    End();
    dialog_ = new QProgressDialog("Programming the unit's FLASH...", "Cancel", 0, total, window_);
    dialog_->setObjectName("FlashProgress");
    dialog_->setWindowTitle("Flash");
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setValue(0);
    dialog_->show();
    QApplication::processEvents();
}

bool FlashProgressDlg::Step(int done, std::string_view title) {
    if (dialog_ == nullptr) return true;
    const QString text = QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
    if (window_ != nullptr) window_->setWindowTitle(text);
    dialog_->setLabelText(text);
    dialog_->setValue(done);  // a window-modal dialog processes events here
    QApplication::processEvents();
    return !dialog_->wasCanceled();
}

void FlashProgressDlg::End() {
    if (dialog_ == nullptr) return;
    dialog_->hide();
    dialog_->deleteLater();
    dialog_ = nullptr;
}

}  // namespace pelor::ui
