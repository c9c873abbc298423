#include "ui/flash_command.h"

#include "ui/flash_file_list_dlg.h"
#include "ui/flash_progress_dlg.h"

namespace pelor::ui {

void RunFlashCommand(app::Dashboard& dashboard, core::Prompt& prompt, QWidget* window) {
    std::array<std::string, 12> names;
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = dashboard.project.calibrationFiles[i];
    const auto rows =
        unit::FlashListRows(dashboard.page.m_nDisplayType, dashboard.FlashTablePaths(), names);
    FlashFileListDlg list(prompt, rows, dashboard.flashSelection, window);
    if (list.exec() != QDialog::Accepted) return;
    dashboard.flashSelection = list.Marks();
    FlashProgressDlg progress(window);
    dashboard.Flash(list.Choice().path, list.Choice().address, &progress);
    if (window != nullptr) window->setWindowTitle(QString::fromLatin1(dashboard.Caption().c_str()));
}

}  // namespace pelor::ui
