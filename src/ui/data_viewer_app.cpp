#include "ui/data_viewer_app.h"

#include <QApplication>
#include <QPalette>
#include <csignal>

#include "ui/data_viewer_dlg.h"

namespace pelor::ui {

bool CDataViewerApp::InitInstance() {
    // Sockets: a peer that closes must give a write error, not end the program.
    std::signal(SIGPIPE, SIG_IGN);

    // Dialogs are black with the instrument's green-cyan text.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 0));
    palette.setColor(QPalette::WindowText, QColor(32, 231, 182));
    palette.setColor(QPalette::Base, QColor(10, 14, 16));
    palette.setColor(QPalette::Text, QColor(32, 231, 182));
    palette.setColor(QPalette::Button, QColor(24, 30, 34));
    palette.setColor(QPalette::ButtonText, QColor(32, 231, 182));
    QApplication::setPalette(palette);

    CDataViewerDlg dialog;
    dialog.DoModal();
    return false;
}

}  // namespace pelor::ui
