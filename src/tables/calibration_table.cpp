#include "tables/calibration_table.h"

#include "core/format.h"
#include "tables/table_file.h"

namespace pelor::tables {

CalibrationTableModel::CalibrationTableModel(core::Prompt& prompt, std::string directory,
                                             std::string fileName, const std::string& readFrom)
    : directory_(std::move(directory)), fileName_(std::move(fileName)) {
    const CalibrationFileRead read =
        ReadCalibrationFile(prompt, readFrom.empty() ? directory_ : readFrom, fileName_);
    address_ = read.address;
    rows_ = read.rows;
    rowCount_ = read.rowsShown;
}

void CalibrationTableModel::SetRow(int r, CalibrationRow row) {
    if (r < 0 || r >= rowCount_) return;
    rows_[static_cast<std::size_t>(r)] = std::move(row);
}

std::string CheckCalibrationAddress(const std::string& address) {
    const bool ok = address.size() == 4 &&
                    address.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
    return ok ? std::string() : "The Address must be four hexadecimal digits, for example 8000";
}

CalibrationSave SaveCalibrationTable(core::Prompt& prompt, CalibrationTableModel& table,
                                     const std::string& proposedName,
                                     const std::function<void(int)>& showRow) {
    CalibrationSave result;
    if (table.RowCount() != static_cast<int>(kCalibrationEntries)) {
        prompt.Message(core::Format("The table could not be read completely (%d of 256 rows are "
                                    "listed): nothing is saved.",
                                    table.RowCount()),
                       "Error");
        return result;
    }
    if (const std::string bad = CheckCalibrationAddress(table.Address()); !bad.empty()) {
        prompt.Message(bad, "Error");
        return result;
    }
    for (int r = 0; r < table.RowCount(); ++r) {
        const std::string bad = CheckCalibrationRow(r, table.Row(r));
        if (bad.empty()) continue;
        if (showRow) showRow(r);
        prompt.Message(bad, "Error");
        return result;
    }
    core::FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "txt";
    request.initialName = table.Directory() + proposedName;
    request.filter = "Text Files (*.txt)|*.txt||";
    request.overwritePrompt = true;
    // Cancelling the save dialog returns to the list with its edits.
    const auto chosen = prompt.ChooseFile(request);
    if (!chosen) return result;
    if (const std::string outside = OutsideProjectFolder(*chosen, table.Directory());
        !outside.empty()) {
        prompt.Message(outside, "Error");
        return result;
    }
    result.chosenName = BareFileName(*chosen);
    if (!WriteCalibrationFile(prompt, table.Directory(), result.chosenName, table.Address(),
                              table.Rows())) {
        return result;
    }
    table.SavedAs(result.chosenName);
    result.saved = true;
    return result;
}

}  // namespace pelor::tables
