// The "Flash File List" window offscreen: rows, the sent look of a row sent before, what each
// button gives back, and choosers that are cancelled leaving the list open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "display_render_support.h"
#include "ui/flash_file_list_dlg.h"

namespace pelor::ui {
namespace {

struct FlashFileListTest : ::testing::Test {
    FlashFileListTest() {
        testing::EnsureQtApplication();
        std::array<std::string, unit::kFlashRowCount> paths;
        paths[1] = "/project/pages.txt";
        std::array<std::string, 12> names;
        rows = unit::FlashListRows(9, paths, names);
    }
    // Runs the list modally; `act` runs inside its event loop.
    int Exec(FlashFileListDlg& list, const std::function<void()>& act) {
        QTimer::singleShot(0, &list, act);
        return list.exec();
    }
    core::ScriptedPrompt prompt;
    std::array<unit::FlashListRow, unit::kFlashRowCount> rows;
    std::array<std::uint8_t, 17> marks{};
};

TEST_F(FlashFileListTest, RowSentBeforeShowsTheSentLookAndRowButtonsReturnPathAndAddress) {
    marks[1] = 1;
    FlashFileListDlg list(prompt, rows, marks);
    EXPECT_EQ(list.windowTitle(), "Flash File List");
    EXPECT_TRUE(list.RowButton(1)->property("sent").toBool());
    EXPECT_FALSE(list.RowButton(0)->property("sent").toBool());
    EXPECT_NE(list.RowButton(1)->text(), list.RowButton(0)->text());
    EXPECT_NE(list.RowButton(1)->styleSheet(), list.RowButton(0)->styleSheet());
    EXPECT_EQ(list.findChild<QPushButton*>("PREFSAVE")->toolTip(),
              "Backup - click to copy firmware from unit to PC directory");

    // Row 4 (calibration table 0) with an empty path: empty path, address "0800".
    EXPECT_EQ(Exec(list, [&] { list.RowButton(3)->click(); }), QDialog::Accepted);
    EXPECT_EQ(list.Choice().path, "");
    EXPECT_EQ(list.Choice().address, "0800");
    EXPECT_EQ(list.Marks()[3], 1);
    EXPECT_EQ(list.Marks()[1], 1);
}

// The side buttons say what they do (their picture names stay their object names); every row
// has a caption of its own, in the sent look too.
TEST_F(FlashFileListTest, ButtonsSayWhatTheyDoAndEachRowHasItsOwnCaption) {
    marks[1] = 1;
    FlashFileListDlg list(prompt, rows, marks);
    const struct {
        const char* name;
        const char* text;
    } side[] = {{"PREFSAVE", "Backup"}, {"PREFOK", "Load File"}, {"PREFCLOSE", "Exit"}};
    for (const auto& s : side) {
        auto* b = list.findChild<QPushButton*>(s.name);
        ASSERT_NE(b, nullptr) << s.name;
        EXPECT_EQ(b->text().toStdString(), s.text) << s.name;
    }
    QStringList captions;
    for (int r = 0; r < unit::kFlashRowCount; ++r) {
        const QString text = list.RowButton(r)->text();
        EXPECT_FALSE(captions.contains(text)) << "row " << r << ": " << text.toStdString();
        captions << text;
        EXPECT_EQ(rows[static_cast<std::size_t>(r)].caption, "FLASH" + std::to_string(r));
    }
}

// Enter in a path field sends nothing and leaves the list open: no button is the default.
TEST_F(FlashFileListTest, EnterInAPathFieldSendsNothing) {
    FlashFileListDlg list(prompt, rows, marks);
    bool stayedOpen = false;
    EXPECT_EQ(Exec(list,
                   [&] {
                       for (const char* field : {"FlashPath0", "FlashPath2"}) {
                           auto* path = list.findChild<QLineEdit*>(field);
                           path->setFocus();
                           for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
                               QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                               QApplication::sendEvent(path, &press);
                           }
                       }
                       stayedOpen = list.isVisible();
                       for (QPushButton* b : list.findChildren<QPushButton*>())
                           EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
                       list.findChild<QPushButton*>("PREFCLOSE")->click();
                   }),
              QDialog::Rejected);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(list.Choice().path, "");
    EXPECT_EQ(list.Choice().address, "");
    EXPECT_EQ(list.Marks(), marks);
}

TEST_F(FlashFileListTest, EditedPathIsTheOneSent) {
    FlashFileListDlg list(prompt, rows, marks);
    EXPECT_EQ(Exec(list,
                   [&] {
                       list.findChild<QLineEdit*>("FlashPath1")->setText("/other/pages.txt");
                       list.RowButton(1)->click();
                   }),
              QDialog::Accepted);
    EXPECT_EQ(list.Choice().path, "/other/pages.txt");
    EXPECT_EQ(list.Choice().address, "7000");
}

TEST_F(FlashFileListTest, CancelledChoosersLeaveTheListOpenThenBackupAndLoadReturn) {
    FlashFileListDlg list(prompt, rows, marks);
    prompt.files = {std::nullopt, std::nullopt, std::string("/tmp/unit.hex")};
    bool stillOpen = false;
    EXPECT_EQ(Exec(list,
                   [&] {
                       list.findChild<QPushButton*>("PREFSAVE")->click();  // cancelled
                       list.findChild<QPushButton*>("PREFOK")->click();    // cancelled
                       stillOpen = list.isVisible();
                       list.findChild<QPushButton*>("PREFSAVE")->click();
                   }),
              QDialog::Accepted);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompt.FileDialogCount(), 3u);
    const auto& backup = prompt.shown[0].dialog;
    EXPECT_FALSE(backup.open);
    EXPECT_EQ(backup.initialName, "Morbel_Backup.hex");
    EXPECT_EQ(backup.filter, "HEX Files (*.hex)|*.hex||");
    EXPECT_TRUE(backup.overwritePrompt);
    EXPECT_EQ(prompt.shown[1].dialog.filter, "Text Files (*.txt)|*.txt|HEX Files (*.hex)|*.hex||");
    EXPECT_TRUE(prompt.shown[1].dialog.pathMustExist);
    EXPECT_EQ(list.Choice().path, "/tmp/unit.hex");
    EXPECT_EQ(list.Choice().address, "FFFF");

    FlashFileListDlg again(prompt, rows, marks);
    EXPECT_EQ(Exec(again, [&] { again.findChild<QPushButton*>("PREFCLOSE")->click(); }),
              QDialog::Rejected);
}

}  // namespace
}  // namespace pelor::ui
