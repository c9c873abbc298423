#include "ui/data_viewer_app.h"

#include <QApplication>
#include <QPalette>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "ui/data_viewer_dlg.h"

namespace pelor::ui {

namespace {

// Set by SIGTERM, SIGINT or SIGHUP: the window then closes the normal way, so settings and
// the project are saved and every reader is stopped.
std::atomic<int> quitRequested{0};

extern "C" void OnQuitSignal(int) {
    quitRequested.store(1);
}

}  // namespace

void CDataViewerApp::ApplyPalette() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 0));
    palette.setColor(QPalette::WindowText, QColor(32, 231, 182));
    palette.setColor(QPalette::Base, QColor(10, 14, 16));
    palette.setColor(QPalette::Text, QColor(32, 231, 182));
    palette.setColor(QPalette::Button, QColor(24, 30, 34));
    palette.setColor(QPalette::ButtonText, QColor(32, 231, 182));
    QApplication::setPalette(palette);
}

bool CDataViewerApp::InitInstance() {
    // Sockets: a peer that closes must give a write error, not end the program.
    std::signal(SIGPIPE, SIG_IGN);

    ApplyPalette();

    for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, OnQuitSignal);

    CDataViewerDlg dialog;
    dialog.dashboard().projectForThisRun = projectForThisRun;
    QTimer quitWatch;
    QObject::connect(&quitWatch, &QTimer::timeout, &dialog, [&dialog] {
        if (quitRequested.load() == 0) return;
        // A message box or chooser left open would keep its own loop running: close it first.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != &dialog) {
            modal->close();
            return;
        }
        if (dialog.isVisible()) dialog.CloseWithoutQuestions();
    });
    quitWatch.start(100);
    exitStatus = dialog.DoModal() == CDataViewerDlg::kNotStarted ? 2 : 0;
    return false;
}

}  // namespace pelor::ui
