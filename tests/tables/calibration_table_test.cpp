// The calibration table editor's model without widgets: the rows it reads and edits, and the
// save flow of OK, which refuses a table the unit cannot take before the save dialog, keeps
// the table in the project folder and leaves the model as it was when nothing is written.
#include "tables/calibration_table.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

CalibrationRows NumberedRows() {
    CalibrationRows rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r] = {std::to_string(r), "A", "raw " + std::to_string(r)};
    }
    return rows;
}

TEST(CalibrationTableModel, ListsTheFileAndTakesEditsOnlyInsideTheList) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal.txt", "9A00", NumberedRows()));
    // Read from another folder, saved into the project folder.
    std::filesystem::create_directory(dir.Path("other"));
    std::filesystem::rename(dir.Path("cal.txt"), dir.Path("other/cal.txt"));

    CalibrationTableModel table(prompt, dir.Dir(), "cal.txt", dir.Path("other/"));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(table.Directory(), dir.Dir());
    EXPECT_EQ(table.FileName(), "cal.txt");
    EXPECT_EQ(table.Address(), "9A00");
    ASSERT_EQ(table.RowCount(), 256);
    EXPECT_EQ(table.Row(40).value, "    40");
    EXPECT_EQ(table.Row(40).index, " A");
    EXPECT_EQ(table.Row(40).comment, "raw 40");

    table.SetRow(7, {"12.5", "B", "edited"});
    table.SetRow(-1, {"1", "1", "before the list"});
    table.SetRow(256, {"1", "1", "past the list"});
    EXPECT_EQ(table.Row(7).value, "12.5");
    EXPECT_EQ(table.Rows()[7].comment, "edited");
    EXPECT_EQ(table.Row(255).comment, "raw 255");

    ScriptedPrompt missing;
    CalibrationTableModel none(missing, dir.Dir(), "none.txt");
    EXPECT_EQ(none.RowCount(), 0);
    EXPECT_EQ(missing.MessageTexts(), std::vector<std::string>{"Could not Open none.txt"});
}

// Each refusal: its message, nothing written, no save dialog (or no file after it), and the
// model's name unchanged.
TEST(SaveCalibrationTable, RefusesWhatCannotBeSavedAndWritesNothing) {
    ScratchDir dir;
    ScriptedPrompt setup;
    ASSERT_TRUE(WriteCalibrationFile(setup, dir.Dir(), "cal.txt", "8000", NumberedRows()));
    dir.Write("short.txt", "[TABLE][8000][8][256]\r\ndb '     0 A'\r\ndb %01\r\n");
    const std::string outside = "/elsewhere/Saved.txt";
    const struct {
        const char* legend;
        const char* file;
        std::string address;
        int badRow;  // -1: every row can go to the unit
        std::vector<std::optional<std::string>> choices;
        std::vector<std::string> messages;
        int shownRow;  // the row put in view before the message, -1 for none
        std::size_t fileDialogs;
        std::string chosenName;
    } cases[] = {
        {"a table read in part",
         "short.txt",
         "8000",
         -1,
         {},
         {"The table could not be read completely (2 of 256 rows are listed): nothing is "
          "saved."},
         -1,
         0,
         ""},
        {"an address that is no hexadecimal number",
         "cal.txt",
         "80G0",
         -1,
         {},
         {"The Address must be four hexadecimal digits, for example 8000"},
         -1,
         0,
         ""},
        {"an address of three digits",
         "cal.txt",
         "800",
         -1,
         {},
         {"The Address must be four hexadecimal digits, for example 8000"},
         -1,
         0,
         ""},
        {"a value that is no number",
         "cal.txt",
         "8000",
         5,
         {},
         {"Row 005: the Value must be a number of at most 6 characters, for example 85.3 or "
          "-12 (or ---- for no reading), not 'abc'"},
         5,
         0,
         ""},
        {"the save dialog cancelled", "cal.txt", "8000", -1, {std::nullopt}, {}, -1, 1, ""},
        {"a file outside the project folder",
         "cal.txt",
         "8000",
         -1,
         {outside},
         {outside + " is not in the project folder " + dir.Dir() +
          ". Table files are kept in the project folder: choose or name the file there."},
         -1,
         1,
         ""},
    };
    for (const auto& c : cases) {
        ScriptedPrompt prompt;
        CalibrationTableModel table(prompt, dir.Dir(), c.file);
        prompt.shown.clear();
        table.SetAddress(c.address);
        if (c.badRow >= 0) table.SetRow(c.badRow, {"abc", "05", "typed"});
        for (const auto& f : c.choices) prompt.files.push_back(f);
        int shownRow = -1;
        std::size_t messagesBeforeShown = 0;
        const CalibrationSave saved =
            SaveCalibrationTable(prompt, table, "Saved.txt", [&](int row) {
                shownRow = row;
                messagesBeforeShown = prompt.MessageTexts().size();
            });
        EXPECT_FALSE(saved.saved) << c.legend;
        EXPECT_EQ(saved.chosenName, c.chosenName) << c.legend;
        EXPECT_EQ(prompt.MessageTexts(), c.messages) << c.legend;
        EXPECT_EQ(shownRow, c.shownRow) << c.legend;
        EXPECT_EQ(messagesBeforeShown, 0u) << c.legend << ": the row is shown before its message";
        EXPECT_EQ(prompt.FileDialogCount(), c.fileDialogs) << c.legend;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("Saved.txt"))) << c.legend;
        EXPECT_EQ(table.FileName(), c.file) << c.legend;
    }
}

TEST(SaveCalibrationTable, WritesTheEditedTableUnderTheChosenName) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal.txt", "8000", NumberedRows()));
    const std::string original = dir.Read("cal.txt");
    CalibrationTableModel table(prompt, dir.Dir(), "cal.txt");
    table.SetRow(7, {"12.5", "B", "edited row"});
    table.SetRow(8, {"----", "", "no reading"});
    table.SetAddress("8300");
    prompt.files.push_back(dir.Path("Edited.txt"));

    const CalibrationSave saved = SaveCalibrationTable(prompt, table, "Proposed.txt");
    EXPECT_TRUE(prompt.MessageTexts().empty());
    ASSERT_EQ(prompt.FileDialogCount(), 1u);
    const core::FileDialogRequest& asked = prompt.shown.back().dialog;
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.initialName, dir.Path("Proposed.txt"));
    EXPECT_EQ(asked.defaultExtension, "txt");
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.chosenName, "Edited.txt");
    EXPECT_EQ(table.FileName(), "Edited.txt");
    EXPECT_EQ(dir.Read("cal.txt"), original) << "the table read stays as it was";

    // The file holds exactly what the writer makes of the edited rows.
    CalibrationRows expected = table.Rows();
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "Expected.txt", "8300", expected));
    EXPECT_EQ(dir.Read("Edited.txt"), dir.Read("Expected.txt"));
    EXPECT_NE(dir.Read("Edited.txt").find("db '  12.5 B' edited row\r\n"), std::string::npos);
}

// A write that fails keeps the name the model had; the chosen name is still given back so
// that the editor shows what was tried.
TEST(SaveCalibrationTable, AFailedWriteKeepsTheModelsName) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteCalibrationFile(prompt, dir.Dir(), "cal.txt", "8000", NumberedRows()));
    CalibrationTableModel table(prompt, dir.Dir(), "cal.txt");
    std::filesystem::create_directory(dir.Path("Taken.txt"));  // a folder where the file goes
    prompt.files.push_back(dir.Path("Taken.txt"));
    const CalibrationSave saved = SaveCalibrationTable(prompt, table, "cal.txt");
    EXPECT_FALSE(saved.saved);
    EXPECT_EQ(saved.chosenName, "Taken.txt");
    EXPECT_EQ(table.FileName(), "cal.txt");
    EXPECT_FALSE(prompt.MessageTexts().empty()) << "the failure is named";
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("Taken.txt")));
}

}  // namespace
}  // namespace pelor::tables
