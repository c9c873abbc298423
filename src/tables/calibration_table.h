#pragma once
// The calibration table editor without its widgets: the rows of one calibration table file
// while it is open, its address, the row edits, and the save flow of OK (check every row,
// choose a name in the project folder, write the file).
#include <functional>
#include <string>

#include "core/prompt.h"
#include "tables/calibration_file.h"

namespace pelor::tables {

class CalibrationTableModel {
public:
    // Reads `fileName` from `readFrom` (a folder ending in "/"; empty: `directory`) and saves
    // into `directory`, the project folder. A file that cannot be read is named in a message
    // and lists the rows read before the fault (none when it could not be opened).
    CalibrationTableModel(core::Prompt& prompt, std::string directory, std::string fileName,
                          const std::string& readFrom = {});

    const std::string& Directory() const { return directory_; }
    // The name read, then the name last saved under.
    const std::string& FileName() const { return fileName_; }
    const std::string& Address() const { return address_; }
    void SetAddress(std::string address) { address_ = std::move(address); }

    // Rows listed: all 256 when the whole file was read.
    int RowCount() const { return rowCount_; }
    // Row `r` (0 .. RowCount() - 1) as listed, edits included.
    const CalibrationRow& Row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    const CalibrationRows& Rows() const { return rows_; }
    // Replaces row `r`; a row outside the list is ignored. The row is checked when saved.
    void SetRow(int r, CalibrationRow row);

    // Records the name the table was written under.
    void SavedAs(std::string fileName) { fileName_ = std::move(fileName); }

private:
    std::string directory_;
    std::string fileName_;
    std::string address_;
    CalibrationRows rows_{};
    int rowCount_ = 0;
};

// What OK came to.
struct CalibrationSave {
    bool saved = false;      // the file was written; the model's FileName() is the new name
    std::string chosenName;  // the bare name chosen in the save dialog ("" when none was)
};

// "" when `address` is four hexadecimal digits, else the message.
std::string CheckCalibrationAddress(const std::string& address);

// OK of the table editor: a table not read completely, a bad address or a row the unit cannot
// take (after `showRow(row)`, so that the row is in view when the message names it) is refused
// with a message; then the save dialog, starting at `proposedName` in the project folder, where
// the chosen file must lie; then the file. Cancel or a failed write leave the model as it is.
CalibrationSave SaveCalibrationTable(core::Prompt& prompt, CalibrationTableModel& table,
                                     const std::string& proposedName,
                                     const std::function<void(int)>& showRow = {});

}  // namespace pelor::tables
