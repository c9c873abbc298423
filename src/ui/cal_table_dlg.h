#pragma once
// "CAL TABLE": one calibration table file in a list of 256 rows (Location, Value, Index,
// Comment), its address and its file name; OK saves it under a name chosen in the project
// folder. "CAL TABLE EDIT" edits one row. The rows and the save flow are the model's
// (tables::CalibrationTableModel, tables::SaveCalibrationTable); the dialogs show and edit.
#include <QDialog>
#include <string>

#include "core/prompt.h"
#include "tables/calibration_table.h"

class QLineEdit;
class QTableWidget;

namespace pelor::ui {

class CalTableDialog : public QDialog {
    Q_OBJECT

public:
    // Shows `fileName` read from `readFrom` (a folder ending in "/"; empty: `directory`) and
    // saves into `directory`, the project folder.
    CalTableDialog(core::Prompt& prompt, std::string directory, std::string fileName,
                   QWidget* parent = nullptr, const std::string& readFrom = {});

    // The file name the dialog ended with (the name saved under).
    std::string FileName() const { return model_.FileName(); }
    QTableWidget* List() const { return list_; }
    const tables::CalibrationTableModel& Model() const { return model_; }
    // Opens the row editor on row `row` (what a double click does).
    void EditRow(int row);
    // OK: every row is checked (a value that is no number or an index that is no hexadecimal
    // level is named in a message and its row selected), then the save dialog, then the file.
    // Stays open with its edits when nothing could be written.
    void Save();

private:
    void ShowRow(int row);

    core::Prompt& prompt_;
    tables::CalibrationTableModel model_;
    QLineEdit* address_ = nullptr;
    QLineEdit* name_ = nullptr;
    QTableWidget* list_ = nullptr;
};

class CalTableEditDialog : public QDialog {
    Q_OBJECT

public:
    CalTableEditDialog(core::Prompt& prompt, int location, const tables::CalibrationRow& row,
                       QWidget* parent = nullptr);
    // The edited row; the index in upper case, as the unit reads it.
    tables::CalibrationRow Row() const;
    // OK: a row the unit cannot take is named in a message and the dialog stays open.
    void accept() override;

private:
    core::Prompt& prompt_;
    int location_;
    QLineEdit* value_ = nullptr;
    QLineEdit* index_ = nullptr;
    QLineEdit* comment_ = nullptr;
};

}  // namespace pelor::ui
