#pragma once
// Calibration (sensor) tables: twelve tables of 256 text entries, entry r for raw reading r:
//   db '  85.3A5' Engine temp deg C
//        ^^^^^^   value shown for the reading (6 characters, right-aligned)
//              ^^ index (2 characters)             then a blank and a free comment
#include <array>
#include <string>
#include <string_view>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/table_types.h"

namespace pelor::tables {

struct CalibrationRow {
    std::string value;    // written right-aligned in 6 characters, cut at 6
    std::string index;    // written right-aligned in 2 characters, cut at 2
    std::string comment;  // up to 24 characters
};
using CalibrationRows = std::array<CalibrationRow, kCalibrationEntries>;

// The value field (6 characters) of entry `raw` of table `table`; "" for indices out of range.
std::string CalibrationText(const CalibrationTables& tables, int table, int raw);

// The rows of a loaded table (value and index from the entry, the comment given).
CalibrationRows RowsFromTable(const CalibrationTable& table, std::string_view comment);

// A calibration file as the table editor shows it.
struct CalibrationFileRead {
    std::string address;  // header characters 8..11
    CalibrationRows rows;
    int rowsShown = 0;  // rows the editor lists (a row whose line failed is listed empty)
    bool ok = false;    // all 256 rows read
};

// Reads directory + name for the table editor. When the file ends early the last line read
// fills the remaining rows; a line that is no text entry stops the reading with a message.
CalibrationFileRead ReadCalibrationFile(core::Prompt& prompt, const std::string& directory,
                                        const std::string& name);
// The same from a file already open (also one read from memory). Closes the file.
CalibrationFileRead ReadCalibrationFile(core::Prompt& prompt, core::TextFile& file,
                                        const std::string& name);

// Whether a value field can go to the unit: a decimal number ("85.3", "-12", ".5") with blanks
// around it, only dashes ("----", the no-reading mark), or nothing but blanks (an empty entry).
// The table editor and the flash programmer both hold a calibration table to this.
bool IsCalibrationValue(std::string_view value);
// Whether an index field can go to the unit: one or two upper-case hexadecimal digits
// right-aligned (the unit reads any other character as 0), or nothing but blanks.
bool IsCalibrationIndex(std::string_view index);

// "" when `row` can go to the unit as entry `location`, else the message to show (caption
// "Error"): the value at most six characters that IsCalibrationValue takes, the index one
// that IsCalibrationIndex takes (one digit is written with a leading blank).
std::string CheckCalibrationRow(int location, const CalibrationRow& row);
// The two halves of CheckCalibrationRow.
std::string CheckCalibrationValue(int location, std::string_view value);
std::string CheckCalibrationIndex(int location, std::string_view index);

// Writes "[TABLE][<address>][8][256]" and the 256 rows to directory + name.
bool WriteCalibrationFile(core::Prompt& prompt, const std::string& directory,
                          const std::string& name, std::string_view address,
                          const CalibrationRows& rows);

}  // namespace pelor::tables
