#pragma once
// The "Flash File List" window: one row per table file of the project with the button that
// sends it, a load-file button for any other file, a backup button that reads the unit's flash
// into a file, and close. Rows sent before show their button in the sent look.
#include <QDialog>
#include <array>
#include <optional>

#include "core/prompt.h"
#include "unit/flash_file_list.h"

class QLineEdit;
class QPushButton;

namespace pelor::ui {

class FlashFileListDlg : public QDialog {
    Q_OBJECT

public:
    FlashFileListDlg(core::Prompt& prompt,
                     const std::array<unit::FlashListRow, unit::kFlashRowCount>& rows,
                     const std::array<std::uint8_t, 17>& marks, QWidget* parent = nullptr);

    const unit::FlashChoice& Choice() const { return choice_; }
    const std::array<std::uint8_t, 17>& Marks() const { return marks_; }
    QPushButton* RowButton(int row) const { return rowButtons_[static_cast<std::size_t>(row)]; }

private:
    void SendRow(int row);
    void LoadFile();
    void Backup();

    core::Prompt& prompt_;
    std::array<unit::FlashListRow, unit::kFlashRowCount> rows_;
    std::array<std::uint8_t, 17> marks_;
    std::array<QLineEdit*, unit::kFlashRowCount> paths_{};
    std::array<QPushButton*, unit::kFlashRowCount> rowButtons_{};
    unit::FlashChoice choice_;
};

}  // namespace pelor::ui
