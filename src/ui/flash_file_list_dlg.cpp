#include "ui/flash_file_list_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelor::ui {

namespace {

QString Latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// A row button: its caption on a plain face; a row sent before carries a tick on green, so the
// two looks differ in shape as well as colour.
void StyleRowButton(QPushButton* b, const std::string& caption, bool sent) {
    b->setText(sent ? QString::fromUtf8("\u2714 ") + Latin1(caption) : Latin1(caption));
    b->setProperty("sent", sent);
    b->setStyleSheet(sent ? "QPushButton { background: #2e7d32; color: white; font-weight: bold;"
                            " border: 2px solid #1b5e20; border-radius: 4px; padding: 3px 10px; }"
                          : "QPushButton { background: #37474f; color: #eceff1;"
                            " border: 1px solid #263238; border-radius: 4px; padding: 3px 10px; }");
}

}  // namespace

FlashFileListDlg::FlashFileListDlg(core::Prompt& prompt,
                                   const std::array<unit::FlashListRow, unit::kFlashRowCount>& rows,
                                   const std::array<std::uint8_t, 17>& marks, QWidget* parent)
    : QDialog(parent), prompt_(prompt), rows_(rows), marks_(marks) {
    setObjectName("FlashFileList");
    setWindowTitle("Flash File List");
    auto* grid = new QGridLayout;
    for (int r = 0; r < unit::kFlashRowCount; ++r) {
        const auto& row = rows_[static_cast<std::size_t>(r)];
        auto* label = new QLabel(Latin1(row.label), this);
        auto* path = new QLineEdit(Latin1(row.path), this);
        path->setObjectName(QString("FlashPath%1").arg(r));
        path->setMinimumWidth(420);
        auto* button = new QPushButton(this);
        button->setObjectName(QString("FlashRow%1").arg(r));
        // No button of the list is a default button: Enter in a path field sends nothing.
        button->setAutoDefault(false);
        StyleRowButton(button, row.caption, marks_[static_cast<std::size_t>(r)] == 1);
        connect(button, &QPushButton::clicked, this, [this, r] { SendRow(r); });
        paths_[static_cast<std::size_t>(r)] = path;
        rowButtons_[static_cast<std::size_t>(r)] = button;
        grid->addWidget(label, r, 0);
        grid->addWidget(path, r, 1);
        grid->addWidget(button, r, 2);
    }
    auto* side = new QVBoxLayout;
    // The side buttons keep their picture names as object names and say what they do.
    const struct {
        const char* name;
        const char* text;
        const char* tip;
        void (FlashFileListDlg::*action)();
    } sideButtons[] = {
        {"PREFSAVE", "Backup", "Backup - click to copy firmware from unit to PC directory",
         &FlashFileListDlg::Backup},
        {"PREFOK", "Load File", "Load file - click to copy new Firmware/File to unit from PC",
         &FlashFileListDlg::LoadFile},
        {"PREFCLOSE", "Exit", "Exit - click to exit without saving changes", nullptr},
    };
    for (const auto& s : sideButtons) {
        auto* b = new QPushButton(s.text, this);
        b->setObjectName(s.name);
        b->setAutoDefault(false);
        b->setToolTip(s.tip);
        b->setMinimumSize(110, 40);
        if (s.action != nullptr)
            connect(b, &QPushButton::clicked, this, s.action);
        else
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
        side->addWidget(b);
    }
    side->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(grid, 1);
    top->addLayout(side);
}

void FlashFileListDlg::SendRow(int row) {
    const auto r = static_cast<std::size_t>(row);
    choice_.path = paths_[r]->text().toStdString();
    choice_.address = rows_[r].address;
    marks_[r] = 1;
    accept();
}

void FlashFileListDlg::LoadFile() {
    core::FileDialogRequest request;
    request.open = true;
    request.defaultExtension = "txt";
    request.filter = unit::kLoadFilter;
    request.pathMustExist = true;
    const auto path = prompt_.ChooseFile(request);
    if (!path) return;  // the list stays open
    choice_.path = *path;
    choice_.address.clear();
    accept();
}

void FlashFileListDlg::Backup() {
    core::FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "txt";
    request.initialName = unit::kBackupDefaultName;
    request.filter = unit::kBackupFilter;
    request.overwritePrompt = true;
    const auto path = prompt_.ChooseFile(request);
    if (!path) return;
    choice_.path = *path;
    choice_.address = "FFFF";
    accept();
}

}  // namespace pelor::ui
