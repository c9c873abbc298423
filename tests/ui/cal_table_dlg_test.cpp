// The CAL TABLE editor offscreen: a row whose value is no number or whose index is no
// hexadecimal level is refused with a message, in the row editor and again when the table is
// saved, and the file is not written; the dialogs stay open with the user's edits.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialog_support.h"
#include "display_render_support.h"
#include "file_bytes.h"
#include "temp_dir.h"
#include "ui/cal_table_dlg.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;

using pelor::testing::ReadBytes;
using ui::testing::OnNextModal;

// Replaces the field's text key by key, as typed.
void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    for (const QChar c : text) {
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
    }
}

void PressOk(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

class CalTableDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::testing::EnsureQtApplication();
        dir_ = pelor::testing::MakeTempDir("pelor-caltable") + "/";
        fs::copy(std::string(PELOR_SOURCE_DIR) + "/examples/demo/DemoCal00.txt", dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // What the row editor does with `value` and `index` typed into row `row` and OK pressed.
    struct EditOutcome {
        std::vector<std::string> messages;
        bool stayedOpen = false;
        std::string valueKept, indexKept;
    };
    EditOutcome TypeIntoRow(ui::CalTableDialog& cal, int row, const QString& value,
                            const QString& index) {
        EditOutcome out;
        prompt.shown.clear();
        OnNextModal([&](QDialog* edit) {
            Type(edit->findChild<QLineEdit*>("Value"), value);
            Type(edit->findChild<QLineEdit*>("Index"), index);
            PressOk(edit);
            out.stayedOpen = edit->isVisible();
            out.valueKept = edit->findChild<QLineEdit*>("Value")->text().toStdString();
            out.indexKept = edit->findChild<QLineEdit*>("Index")->text().toUpper().toStdString();
            if (edit->isVisible()) edit->reject();
        });
        cal.EditRow(row);
        out.messages = prompt.MessageTexts();
        return out;
    }

    core::ScriptedPrompt prompt;
    std::string dir_;
};

TEST_F(CalTableDlgTest, RowEditorRefusesWhatTheUnitCannotShowAndKeepsTheTyping) {
    ui::CalTableDialog cal(prompt, dir_, "DemoCal00.txt");
    ASSERT_EQ(cal.List()->rowCount(), 256);
    const struct {
        const char* legend;
        const char* value;
        const char* index;
        std::string message;  // "" when the row is taken
        const char* listValue;
        const char* listIndex;
    } cases[] = {
        {"letters as the value", "abc", "5A",
         "Row 007: the Value must be a number of at most 6 characters, for example 85.3 or -12 "
         "(or ---- for no reading), not 'abc'",
         nullptr, nullptr},
        {"letters as the index", "12.5", "ZZ",
         "Row 007: the Index must be one or two hexadecimal digits 0-9 A-F, for example 5A, not "
         "'ZZ'",
         nullptr, nullptr},
        {"two decimal points", "1.2.3", "07",
         "Row 007: the Value must be a number of at most 6 characters, for example 85.3 or -12 "
         "(or ---- for no reading), not '1.2.3'",
         nullptr, nullptr},
        {"negative value, one lower-case digit", "-3", "a", "", "-3", "A"},
        {"no-reading mark", "----", "00", "", "----", "00"},
    };
    for (const auto& c : cases) {
        const QString listBefore = cal.List()->item(7, 1)->text();
        const EditOutcome got = TypeIntoRow(cal, 7, c.value, c.index);
        if (c.message.empty()) {
            EXPECT_TRUE(got.messages.empty()) << c.legend;
            EXPECT_FALSE(got.stayedOpen) << c.legend;
            EXPECT_EQ(cal.List()->item(7, 1)->text().toStdString(), c.listValue) << c.legend;
            EXPECT_EQ(cal.List()->item(7, 2)->text().toStdString(), c.listIndex) << c.legend;
        } else {
            EXPECT_EQ(got.messages, std::vector<std::string>{c.message}) << c.legend;
            EXPECT_TRUE(got.stayedOpen) << c.legend << ": the editor stays open";
            EXPECT_EQ(got.valueKept, c.value) << c.legend << ": the typing is kept";
            EXPECT_EQ(got.indexKept, QString(c.index).toUpper().toStdString()) << c.legend;
            EXPECT_EQ(cal.List()->item(7, 1)->text(), listBefore) << c.legend << ": row unchanged";
        }
    }
}

// A table that already holds a non-number (written by hand) is not saved, and not flashed
// later: the message names the row, the row is selected, no file is written and the dialog
// keeps its other edits; once the row is mended the table saves.
TEST_F(CalTableDlgTest, SaveRefusesATableHoldingANonNumberAndWritesNothing) {
    std::string text = ReadBytes(dir_ + "DemoCal00.txt");
    const std::string row5 = "db '   2.905' Engine temp deg C\r\n";
    ASSERT_NE(text.find(row5), std::string::npos);
    text.replace(text.find(row5), row5.size(), "db '   abcZZ' typed by hand\r\n");
    std::ofstream(dir_ + "Bad.txt", std::ios::binary) << text;

    ui::CalTableDialog cal(prompt, dir_, "Bad.txt");
    ASSERT_EQ(cal.List()->rowCount(), 256);
    ASSERT_TRUE(TypeIntoRow(cal, 3, "7.5", "03").messages.empty());
    prompt.shown.clear();
    prompt.files.push_back(dir_ + "Saved.txt");
    cal.Save();
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{
                  "Row 005: the Value must be a number of at most 6 characters, for example 85.3 "
                  "or -12 (or ---- for no reading), not '   abc'"});
    EXPECT_EQ(prompt.FileDialogCount(), 0u) << "refused before the save dialog";
    EXPECT_FALSE(fs::exists(dir_ + "Saved.txt"));
    EXPECT_EQ(ReadBytes(dir_ + "Bad.txt"), text);
    EXPECT_EQ(cal.result(), 0) << "still open";
    EXPECT_EQ(cal.List()->currentRow(), 5) << "the row named is selected";
    EXPECT_EQ(cal.List()->item(3, 1)->text().toStdString(), "7.5") << "the other edits stay";

    // The index is checked as well, once the value is a number.
    cal.List()->item(5, 1)->setText("   2.5");
    prompt.shown.clear();
    cal.Save();
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Row 005: the Index must be one or two hexadecimal digits "
                                       "0-9 A-F, for example 5A, not 'ZZ'"});
    EXPECT_FALSE(fs::exists(dir_ + "Saved.txt"));

    ASSERT_TRUE(TypeIntoRow(cal, 5, "2.9", "05").messages.empty());
    prompt.shown.clear();
    cal.Save();
    EXPECT_TRUE(prompt.MessageTexts().empty());
    EXPECT_EQ(prompt.FileDialogCount(), 1u);
    EXPECT_EQ(cal.result(), QDialog::Accepted);
    const std::string saved = ReadBytes(dir_ + "Saved.txt");
    EXPECT_NE(saved.find("db '   2.905' typed by hand\r\n"), std::string::npos);
    EXPECT_NE(saved.find("db '   7.503' "), std::string::npos);
}

}  // namespace
