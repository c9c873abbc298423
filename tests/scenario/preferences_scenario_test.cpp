// An installer configures the unit from the real window: DISPLAY pressed with the pointer
// opens "Pelor Preferences", a gauge label is typed into the LABELS page and OK is pressed;
// the window takes the new label. Each page of the sheet is grabbed from the X server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <functional>

#include "core/prompt.h"
#include "scenario_support.h"
#include "ui/cal_table_dlg.h"
#include "ui/data_viewer_dlg.h"
#include "ui/preferences_sheet.h"
#include "ui/prefs_n2k_tags_page.h"
#include "ui/prefs_nmea_tags_page.h"
#include "ui/themes_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

TEST(PreferencesScenario, DisplayOpensTheSheetAndOkTakesATypedLabel) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        bool labelTyped = false;
        scenario::OnSheetPage(
            window, "LABELS",
            [&](ui::PreferencesSheet& sheet, QWidget& labels) {
                EXPECT_EQ(sheet.windowTitle(), "Pelor Preferences");
                EXPECT_LE(sheet.width(), 1024);
                EXPECT_LE(sheet.height(), 768);

                // Every page as the X server shows it, ending on LABELS again.
                QTabWidget* tabs = sheet.Tabs();
                for (int i = tabs->count() - 1; i >= 0; --i) {
                    tabs->setCurrentIndex(i);
                    scenario::Pump(150ms);
                    QString name = tabs->tabText(i).toLower().replace(' ', '-');
                    scenario::SaveShot(scenario::GrabWindow(sheet),
                                       "preferences-" + name.toStdString());
                }

                auto* label = labels.findChild<QLineEdit*>("Display Label 0");
                ASSERT_NE(label, nullptr);
                scenario::Click(*label, label->rect().center());
                scenario::Key(sheet, "ctrl+a");
                for (const char* key : {"H", "E", "L", "M"}) scenario::Key(sheet, key);
                labelTyped = scenario::WaitUntil([&] { return label->text() == "HELM"; }, 2s);
                EXPECT_TRUE(labelTyped) << "typed: " << label->text().toStdString();

                auto* box = sheet.findChild<QDialogButtonBox*>();
                QPushButton* ok = box->button(QDialogButtonBox::Ok);
                scenario::Click(*ok, ok->rect().center());
            },
            5s);
        EXPECT_TRUE(labelTyped);
        EXPECT_EQ(window.dashboard().tables.labelSettings.LabelStrings[0], "HELM    ");
        EXPECT_TRUE(window.isVisible()) << "the same project: the window goes on";
        scenario::SaveShot(scenario::GrabWindow(window), "preferences-after-ok");
    });
}

// Opens the sheet with DISPLAY clicked through the X server, clicks the tab `caption`, steps
// the list `choose` gives for the page down `steps` times with the arrow key, lets `look` read
// the page, grabs the sheet as `shot` and closes it with the page's PREFOK clicked.
void ChooseWithKeys(ui::CDataViewerDlg& window, const QString& caption,
                    const std::function<QComboBox*(QWidget*)>& choose, int steps,
                    const std::string& shot, const std::function<void(QWidget*)>& look) {
    scenario::OnSheetPage(window, caption, [&](ui::PreferencesSheet& sheet, QWidget& page) {
        QComboBox* list = choose(&page);
        const int target = list->currentIndex() + steps;
        list->setFocus();
        scenario::Pump(100ms);
        for (int k = 0; k < steps; ++k) scenario::Key(sheet, "Down");
        EXPECT_TRUE(scenario::WaitUntil([&] { return list->currentIndex() == target; }, 2s))
            << "shown: " << list->currentText().toStdString();
        scenario::Pump(150ms);
        look(&page);
        scenario::SaveShot(scenario::GrabWindow(sheet), shot);
        auto* ok = page.findChild<QPushButton*>("PREFOK");
        ASSERT_NE(ok, nullptr);
        scenario::Click(*ok, ok->rect().center());
    });
}

// The NMEA TAGS page through the pointer and keys: a tag's sentence stepped down with the arrow
// keys refills the value list; after PREFOK the window's page table holds the new tag byte.
TEST(PreferencesScenario, NmeaTagsChosenWithKeysReachThePageTable) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        const int sentenceBefore = window.dashboard().tables.pages[512 + 3] >> 4;
        ASSERT_LE(sentenceBefore, 12) << "the demo's tag leaves room for three steps down";
        QString valueShown;
        ChooseWithKeys(
            window, "NMEA TAGS",
            [](QWidget* page) { return qobject_cast<ui::CNMEATags*>(page)->SentenceBox(3); }, 3,
            "preferences-nmea-tags-chosen",
            [&](QWidget* page) {
                valueShown = qobject_cast<ui::CNMEATags*>(page)->ValueBox(3)->currentText();
            });
        EXPECT_EQ(window.dashboard().tables.pages[512 + 3], (sentenceBefore + 3) << 4)
            << "a new sentence starts at its first value";
        EXPECT_EQ(valueShown.toStdString(),
                  pelor::prefs::NmeaValueChoices(sentenceBefore + 3).front());
    });
}

// The NMEA 2000 page through the pointer and keys: a row's PGN stepped down with the arrow
// keys (its parameter list and number caption follow); after PREFOK the window's options hold
// the row's new byte.
TEST(PreferencesScenario, N2kPgnChosenWithKeysReachesTheOptions) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()}, {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        const std::uint8_t before = window.dashboard().tables.options[256 + 2 * 4];
        const int pgnBefore = before >> 4;
        ASSERT_LE(pgnBefore, 11) << "the demo's row leaves room for four steps down";
        QString caption;
        ChooseWithKeys(
            window, "NMEA 2000",
            [](QWidget* page) { return qobject_cast<ui::CN2KTags*>(page)->PgnBox(4); }, 4,
            "preferences-nmea-2000-chosen",
            [&](QWidget* page) {
                caption = qobject_cast<ui::CN2KTags*>(page)->NumberCaption(4)->text();
            });
        const std::uint8_t after = window.dashboard().tables.options[256 + 2 * 4];
        EXPECT_EQ(after >> 4, pgnBefore + 4);
        EXPECT_EQ(after & 15, before & 15) << "the instance stays";
        EXPECT_EQ(window.dashboard().tables.options[257 + 2 * 4], 0)
            << "a new PGN starts at its first parameter";
        EXPECT_EQ(caption.toStdString(), pelor::prefs::N2kNumberCaption(pgnBefore + 4, 0));
    });
}

// The calibration table editor, its row editor and the theme preview on the X server: each
// fits a 1024 x 768 screen and shows its table, fields and picture.
TEST(PreferencesScenario, CalibrationDialogsAndThemePreviewFitTheScreen) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    core::ScriptedPrompt prompt;
    ui::CalTableDialog cal(prompt, demo.Dir(), "DemoCal00.txt");
    cal.show();
    ASSERT_TRUE(scenario::WaitUntil([&] { return cal.isVisible(); }, 3s));
    scenario::Pump(300ms);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_LE(cal.frameGeometry().height(), 768);
    const QImage calShot = scenario::GrabWindow(cal);
    scenario::SaveShot(calShot, "cal-table");
    // The program's dialogs are dark with lit text: the rows' text must be there and bright.
    EXPECT_GT(scenario::LitShare(calShot, 150), 0.02) << "the rows' text is lit";
    EXPECT_LT(scenario::LitShare(calShot, 64), 0.5) << "on a dark ground";

    ui::CalTableEditDialog edit(prompt, 40, {"  12.5", " 7", "Coolant deg C"}, &cal);
    edit.show();
    ASSERT_TRUE(scenario::WaitUntil([&] { return edit.isVisible(); }, 3s));
    scenario::Pump(200ms);
    scenario::SaveShot(scenario::GrabWindow(edit), "cal-table-edit");

    ui::CThemes themes;
    themes.show();
    ASSERT_TRUE(scenario::WaitUntil([&] { return themes.isVisible(); }, 3s));
    scenario::Pump(200ms);
    const QImage first = scenario::GrabWindow(themes);
    themes.NextFrame();
    themes.NextFrame();
    scenario::Pump(200ms);
    const QImage third = scenario::GrabWindow(themes);
    scenario::SaveShot(third, "themes-preview");
    EXPECT_GT(scenario::ChangedShare(first, third), 0.001) << "the sample gauge moved";
}

}  // namespace
