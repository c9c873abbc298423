// The preferences sheet on the offscreen platform, opened on a started dashboard (a copy of
// the demo project): fields changed through the page widgets, the page buttons pressed, and
// the files on disk compared byte for byte with what the table writers give for the same
// values.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialog_support.h"
#include "display_render_support.h"
#include "file_bytes.h"
#include "prefs/preferences.h"
#include "tables/calibration_file.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/table_file.h"
#include "temp_dir.h"
#include "ui/cal_table_dlg.h"
#include "ui/preferences_sheet.h"
#include "ui/prefs_alarms_page.h"
#include "ui/prefs_channels_page.h"
#include "ui/prefs_connect_page.h"
#include "ui/prefs_labels_page.h"
#include "ui/prefs_n2k_tags_page.h"
#include "ui/prefs_nmea_tags_page.h"
#include "ui/prefs_options_page.h"
#include "ui/themes_dlg.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;
using F = prefs::OptionsField;
using pelor::testing::ReadBytes;
using ui::testing::OnNextModal;
using ui::testing::Press;

struct NoHooks : app::WindowHooks {};

class PreferencesSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::testing::EnsureQtApplication();
        root_ = pelor::testing::MakeTempDir("pelor-sheet");
        dir_ = root_ + "/demo/";
        cwd_ = fs::current_path().string();
        fs::copy(std::string(PELOR_SOURCE_DIR) + "/examples/demo", dir_);
        store.values["ProjectFilePath"] = dir_ + "Demo.cdp";
        ASSERT_TRUE(dashboard.Initialise(hooks));
        ASSERT_TRUE(prompt.shown.empty());
        copies = prefs::MakePreferencesCopies(dashboard);
        sheet = std::make_unique<ui::PreferencesSheet>(copies, prompt);
        sheet->show();
    }
    void TearDown() override {
        sheet.reset();
        std::error_code ec;
        fs::current_path(cwd_, ec);
        fs::remove_all(root_, ec);
    }
    template <class T>
    T* PageOf(const char* caption) {
        auto* page = qobject_cast<T*>(sheet->Page(caption));
        EXPECT_NE(page, nullptr) << caption;
        return page;
    }
    // What the writer gives for `table`, as bytes.
    std::string OptionsBytes(const tables::OptionsTable& table) {
        core::ScriptedPrompt quiet;
        EXPECT_TRUE(tables::WriteOptionsFile(quiet, root_ + "/", "Expected.txt", table));
        return ReadBytes(root_ + "/Expected.txt");
    }

    core::ScriptedPrompt prompt;
    core::MemorySettingsStore store;
    core::RecordingView view;
    core::ManualClock clock;
    NoHooks hooks;
    app::Dashboard dashboard{prompt, store, view, clock};
    prefs::PreferencesCopies copies;
    std::unique_ptr<ui::PreferencesSheet> sheet;
    std::string root_, dir_, cwd_;
};

TEST_F(PreferencesSheetTest, PagesInTabOrderEachItsOwnPage) {
    EXPECT_EQ(sheet->windowTitle(), "Pelor Preferences");
    QStringList tabs;
    for (int i = 0; i < sheet->Tabs()->count(); ++i) tabs << sheet->Tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"LABELS", "FILES", "OPTIONS", "CONNECT", "NMEA 2000", "CHANNELS",
                                 "ALARMS", "NMEA TAGS"}));
    EXPECT_NE(qobject_cast<ui::CConnectSettings*>(sheet->Page("CONNECT")), nullptr);
    EXPECT_EQ(sheet->findChild<QLabel*>("LaterPageText"), nullptr);
    auto* files = sheet->Page("FILES");
    EXPECT_EQ(files->findChild<QLineEdit*>("Pelor Project File")->text().toStdString(),
              dir_ + "Demo.cdp");
    EXPECT_EQ(files->findChild<QLineEdit*>("Sensor 3 Table")->text(), "DemoCal03.txt");
}

TEST_F(PreferencesSheetTest, OptionsPrefsaveWritesTheWritersBytes) {
    auto* page = PageOf<ui::GaugeOptions>("OPTIONS");
    static_cast<QSpinBox*>(page->FieldWidget(F::Pages))->setValue(4);
    static_cast<QCheckBox*>(page->FieldWidget(F::DemoMode))->setChecked(true);
    static_cast<QComboBox*>(page->FieldWidget(F::BaudRate))->setCurrentIndex(2);
    static_cast<QComboBox*>(page->FieldWidget(F::Pulse2Enable))->setCurrentIndex(4);
    page->findChild<QRadioButton*>("T200L")->click();
    page->findChild<QLineEdit*>("HTTP Post Address")->setText("boat.example/post");
    Q_EMIT page->findChild<QLineEdit*>("HTTP Post Address")->textEdited("boat.example/post");

    // A number typed out of range: a message, and no file is touched.
    const std::string before = ReadBytes(dir_ + "DemoOptions.txt");
    static_cast<QSpinBox*>(page->FieldWidget(F::Contrast))->setValue(300);
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Contrast must be 0 to 255"});
    EXPECT_EQ(ReadBytes(dir_ + "DemoOptions.txt"), before);
    static_cast<QSpinBox*>(page->FieldWidget(F::Contrast))->setValue(40);

    prompt.shown.clear();
    prompt.files.push_back(dir_ + "DemoOptions.txt");
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    prefs::OptionsPage expected = prefs::OptionsPageFromTable(
        dashboard.tables.options, 100, dashboard.tables.labelSettings.httpPostAddress);
    expected[F::Pages] = 4;
    expected[F::DemoMode] = 1;
    expected[F::BaudRate] = 2;
    expected[F::Pulse2Enable] = 4;
    expected[F::DisplayType] = 11;
    expected[F::Contrast] = 40;
    expected.httpPostAddress = "boat.example/post";
    const auto table = prefs::BuildOptionsTable(expected, dashboard.tables.options);
    EXPECT_EQ(table[6], 11);
    EXPECT_EQ(table[19], 60);
    EXPECT_EQ(table[216], 255);
    EXPECT_EQ(ReadBytes(dir_ + "DemoOptions.txt"), OptionsBytes(table));
}

TEST_F(PreferencesSheetTest, ChannelsPrefsaveRewritesItsSectionInPlace) {
    auto* page = PageOf<ui::GaugeChanels>("CHANNELS");
    page->InputNumber(5)->setValue(5);
    page->InputChoice(5)->button(1)->click();  // NEMA
    page->OutputNumber(3)->setValue(3);
    page->OutputChoice(3)->button(2)->click();  // Index
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    auto table = dashboard.tables.options;
    table[32 + 5] = 0x85;
    table[48 + 3] = 0x43;
    EXPECT_EQ(ReadBytes(dir_ + "DemoOptions.txt"), OptionsBytes(table));

    // Typed beyond 15: refused with a message, the file stays.
    page->OutputNumber(7)->setValue(16);
    prompt.shown.clear();
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"OUTPUT Display 7: the channel number must be 0 to 15"});
    EXPECT_EQ(ReadBytes(dir_ + "DemoOptions.txt"), OptionsBytes(table));
}

TEST_F(PreferencesSheetTest, AlarmsTextsAndCancelAfterPrefsaveKeepsTheWindowsCopy) {
    auto* page = PageOf<ui::CAlarmProperty>("ALARMS");
    page->Low(3)->setValue(0);
    EXPECT_EQ(page->LowText(3)->text(), " < OFF");
    page->Invert(3)->setChecked(true);
    EXPECT_EQ(page->LowText(3)->text(), " > OFF");
    page->Low(0)->setValue(40);
    const std::string value = tables::CalibrationText(dashboard.tables.calibration, 0, 40);
    EXPECT_EQ(page->LowText(0)->text().toStdString(), "< " + value.substr(0, 4));
    page->Invert(11)->setChecked(true);
    page->Action(2)->setCurrentIndex(5);
    page->RelayMap(2)->setValue(9);

    const auto windowAlarms = dashboard.tables.values.alarms;
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    auto table = dashboard.tables.options;
    const auto bytes = prefs::BytesFromAlarms(copies.alarms);
    std::copy(bytes.begin(), bytes.end(), table.begin() + 64);
    EXPECT_EQ(table[150], 1);
    EXPECT_EQ(table[151], 0);
    EXPECT_EQ(table[160 + 2], 5);
    EXPECT_EQ(ReadBytes(dir_ + "DemoOptions.txt"), OptionsBytes(table));

    Press(page, "PREFCLOSE");
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(dashboard.tables.values.alarms, windowAlarms) << "cancel takes nothing back";
}

TEST_F(PreferencesSheetTest, LabelsSaveEndsTheSheetAndWritesTheLabelsFile) {
    auto* page = PageOf<ui::DisplayLabels>("LABELS");
    page->Label(0)->setText("RPM PORT");
    Q_EMIT page->Label(0)->textEdited("RPM PORT");
    page->SwitchLabel(1)->setText("BILGE");
    Q_EMIT page->SwitchLabel(1)->textEdited("BILGE");
    page->Symbol(1)->setCurrentIndex(70);
    page->PowerOn(1)->setChecked(true);
    page->PowerOnReset()->setChecked(true);
    EXPECT_EQ(page->Label(2)->maxLength(), 8);
    Press(page, "PREFSAVE");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    ASSERT_TRUE(copies.labels.saveRequested);

    prompt.answers.push_back(core::Answer::Yes);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Save Display Labels?"});
    const auto& s = dashboard.tables.labelSettings;
    EXPECT_EQ(s.LabelStrings[0], "RPM PORT");
    EXPECT_EQ(s.KanteloLabels[1], "BILGE   ");
    EXPECT_EQ(s.symbolCodes[1], 70);

    core::ScriptedPrompt quiet;
    auto labels = dashboard.tables.labels;
    ASSERT_TRUE(tables::WriteLabelFile(quiet, root_ + "/", "Expected.txt", labels, s));
    EXPECT_EQ(ReadBytes(dir_ + "DemoLabels.txt"), ReadBytes(root_ + "/Expected.txt"));
    tables::LabelTable reread{};
    ASSERT_EQ(tables::LoadTableFile(quiet, dir_, "DemoLabels.txt", reread, false),
              "DemoLabels.txt");
    const auto decoded = tables::DecodeLabelSettings(reread);
    EXPECT_EQ(decoded.symbolCodes[1], 70);
    EXPECT_TRUE(decoded.switchPowerOn[1]);
    EXPECT_TRUE(decoded.powerOnReset);
}

// A row edited through its widgets: PREFSAVE rewrites lines 256..335 in place, exactly as the
// full writer gives them, and leaves the PGN slot lines after them as they were; OK hands the
// row to the window's options.
TEST_F(PreferencesSheetTest, N2kRowSavesItsLinesInPlaceAndOkTakesIt) {
    auto* page = PageOf<ui::CN2KTags>("NMEA 2000");
    const std::string path = dir_ + copies.optionsFile;
    // A PGN slot byte of the file's own, which PREFSAVE must not touch.
    tables::OptionsTable onDisk = dashboard.tables.options;
    onDisk[340] = 0x5A;
    core::ScriptedPrompt quiet;
    ASSERT_TRUE(tables::WriteOptionsFile(quiet, dir_, copies.optionsFile, onDisk));

    page->PgnBox(2)->setCurrentIndex(4);  // "PGN 127505 - Fluid Level"
    EXPECT_EQ(page->ParameterBox(2)->currentText(), "Fuel");
    EXPECT_EQ(page->NumberCaption(2)->text(), "Capacity (Liters)");
    page->ParameterBox(2)->setCurrentIndex(1);
    page->findChild<QSpinBox*>("Label 2 Instance")->setValue(3);
    page->NumberBox(2)->setValue(1000);
    page->findChild<QCheckBox*>("Label 2 Enable")->setChecked(true);
    page->findChild<QSpinBox*>("Label 2 Source")->setValue(2);
    page->PgnBox(5)->setCurrentIndex(9);  // "Vessel Heading": no number field
    EXPECT_FALSE(page->NumberBox(5)->isVisibleTo(page));
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    tables::OptionsTable expected = onDisk;
    expected[260] = 0x43;
    expected[261] = 0x01;
    expected[292] = 0x03;
    expected[293] = 0xE8;
    expected[322] = 0x82;
    expected[266] = static_cast<std::uint8_t>(0x90 | (onDisk[266] & 15));
    expected[267] = 0;
    EXPECT_EQ(ReadBytes(path), OptionsBytes(expected));

    Press(page, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.tables.options[260], 0x43);
    EXPECT_EQ(dashboard.tables.options[322], 0x82);
}

// OPTIONS "OPEN" reads bytes 0..255 only: the NMEA 2000 page's rows stay as that page has them,
// saved there or not, and a later OPTIONS PREFSAVE and OK carry them rather than the rows the
// sheet opened with.
TEST_F(PreferencesSheetTest, OptionsOpenKeepsTheN2kPagesRows) {
    auto* n2k = PageOf<ui::CN2KTags>("NMEA 2000");
    auto* options = PageOf<ui::GaugeOptions>("OPTIONS");
    const std::string name = copies.optionsFile;
    const std::uint8_t row5Before = dashboard.tables.options[256 + 2 * 5];
    ASSERT_NE(row5Before & 15, 7);
    ASSERT_NE(dashboard.tables.options[256 + 2 * 2] & 15, 3);
    ASSERT_NE(dashboard.tables.options[320 + 2] & 127, 4);

    n2k->findChild<QSpinBox*>("Label 2 Instance")->setValue(3);
    n2k->findChild<QSpinBox*>("Label 2 Source")->setValue(4);
    Press(n2k, "PREFSAVE");                                      // row 2 saved into the file
    n2k->findChild<QSpinBox*>("Label 5 Instance")->setValue(7);  // row 5 edited, not saved
    ASSERT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    static_cast<QSpinBox*>(options->FieldWidget(F::Contrast))->setValue(41);
    Press(options, "OPEN");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    EXPECT_EQ(copies.n2kTags.rows[2].instance, 3);
    EXPECT_EQ(copies.n2kTags.rows[2].source, 4);
    EXPECT_EQ(copies.n2kTags.rows[5].instance, 7);

    prompt.files.push_back(dir_ + name);
    Press(options, "PREFSAVE");
    core::ScriptedPrompt quiet;
    tables::OptionsTable onDisk{};
    ASSERT_EQ(tables::LoadTableFile(quiet, dir_, name, onDisk, false), name);
    EXPECT_EQ(onDisk[256 + 2 * 2] & 15, 3);
    EXPECT_EQ(onDisk[320 + 2] & 127, 4);
    EXPECT_EQ(onDisk[256 + 2 * 5] & 15, 7);

    Press(options, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.tables.options[256 + 2 * 2] & 15, 3);
    EXPECT_EQ(dashboard.tables.options[256 + 2 * 5] & 15, 7);
}

// A sentence choice refills the value list; OK puts 16 x sentence + value into the NMEA row of
// the page table, and PREFSAVE on this page has the time settings written with the labels.
TEST_F(PreferencesSheetTest, NmeaTagsRowsAndTimeSettingsGoBackIntoPagesAndLabels) {
    auto* page = PageOf<ui::CNMEATags>("NMEA TAGS");
    page->SentenceBox(3)->setCurrentIndex(3);  // "$GPVTG - Track and Speed"
    EXPECT_EQ(page->ValueBox(3)->count(), 4);
    EXPECT_EQ(page->ValueBox(3)->currentText(), "Track True");
    page->ValueBox(3)->setCurrentIndex(2);
    EXPECT_EQ(page->ValueBox(3)->currentText(), "Speed Knots");
    page->SentenceBox(11)->setCurrentIndex(1);
    EXPECT_EQ(page->ValueBox(11)->itemText(15), "Koralind Channel 15");
    page->ValueBox(11)->setCurrentIndex(15);
    page->SentenceBox(0)->setCurrentIndex(0);
    EXPECT_EQ(page->ValueBox(0)->currentText(), "DISABLED");

    const auto spin = [&](const char* name, int v) {
        auto* box = page->findChild<QSpinBox*>(name);
        ASSERT_NE(box, nullptr) << name;
        box->setValue(v);
    };
    spin("UTC Time Adjust", 5);
    const int tach[] = {1, 2, 3, 4, 5, 6};
    for (int d = 0; d < 6; ++d) spin(QString("Tac 0 Hour Adjust %1").arg(d).toLatin1(), tach[d]);
    spin("Month", 3);
    spin("Day", 7);
    spin("Year", 24);
    spin("Hour", 13);
    spin("Minute", 45);
    spin("Seconds", 30);
    Press(page, "PREFSAVE");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);

    const char tachFlag = dashboard.tables.labelSettings.time.tachometers[0].flag;
    const char dateFlag = dashboard.tables.labelSettings.time.dateFlag;
    prompt.answers.push_back(core::Answer::Yes);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Save Display Labels?"});
    EXPECT_EQ(dashboard.tables.pages[512 + 3], 0x32);
    EXPECT_EQ(dashboard.tables.pages[512 + 11], 0x1F);
    EXPECT_EQ(dashboard.tables.pages[512 + 0], 0x00);

    core::ScriptedPrompt quiet;
    tables::LabelTable reread{};
    ASSERT_EQ(tables::LoadTableFile(quiet, dir_, "DemoLabels.txt", reread, false),
              "DemoLabels.txt");
    EXPECT_EQ(tables::LabelEntry(reread, 48), "05060708");
    EXPECT_EQ(tables::LabelEntry(reread, 54), std::string("0123456") + tachFlag);
    EXPECT_EQ(tables::LabelEntry(reread, 58), "30451307");
    EXPECT_EQ(tables::LabelEntry(reread, 59), std::string("030024") + dateFlag + dateFlag);
    EXPECT_EQ(tables::DecodeLabelSettings(reread).time.utcOffset, 5);

    // The tags are in the page file's NMEA row, so they outlive the run.
    tables::PageTable pages{};
    ASSERT_EQ(tables::LoadTableFile(quiet, dir_, "DemoPages.txt", pages, false), "DemoPages.txt");
    EXPECT_EQ(pages[512 + 3], 0x32);
    EXPECT_EQ(pages[512 + 11], 0x1F);
    EXPECT_EQ(pages[512 + 0], 0x00);
}

TEST_F(PreferencesSheetTest, AnNmeaTagsTimeOutOfRangeKeepsTheSheetOpenOnItsPage) {
    auto* page = PageOf<ui::CNMEATags>("NMEA TAGS");
    sheet->Tabs()->setCurrentIndex(0);
    page->findChild<QSpinBox*>("Tac 2 Hour Adjust 4")->setValue(7);  // minutes' tens: 0..5
    Press(page, "PREFOK");
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"NMEA TAGS: Tac 2 Hour Adjust must be 0 to 5"});
    EXPECT_EQ(sheet->Tabs()->tabText(sheet->Tabs()->currentIndex()), "NMEA TAGS");
}

// Each tachometer row has its "Enable" and "Reset": the hour and minute fields are adjusted
// only once enabled, and "Reset" sets them all to zero while the entry's flag stays.
TEST_F(PreferencesSheetTest, TachometerRowsHaveResetAndEnable) {
    auto* page = PageOf<ui::CNMEATags>("NMEA TAGS");
    for (int k = 0; k < 3; ++k) {
        auto* enable = page->findChild<QCheckBox*>(QString("Tac %1 Enable").arg(k));
        auto* reset = page->findChild<QPushButton*>(QString("Tac %1 Reset").arg(k));
        ASSERT_NE(enable, nullptr) << k;
        ASSERT_NE(reset, nullptr) << k;
        EXPECT_EQ(enable->text(), "Enable");
        EXPECT_EQ(reset->text(), "Reset");
        EXPECT_FALSE(reset->isEnabled()) << k;
        EXPECT_FALSE(
            page->findChild<QSpinBox*>(QString("Tac %1 Hour Adjust 0").arg(k))->isEnabled());
    }
    auto& tach = copies.nmeaTags.time.tachometers[1];
    tach.flag = 'c';
    page->findChild<QCheckBox*>("Tac 1 Enable")->setChecked(true);
    for (int d = 0; d < 6; ++d) {
        auto* box = page->findChild<QSpinBox*>(QString("Tac 1 Hour Adjust %1").arg(d));
        ASSERT_TRUE(box->isEnabled()) << d;
        box->setValue(d + 1);
    }
    EXPECT_EQ(tach.digits, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(page->findChild<QSpinBox*>("Tac 0 Hour Adjust 0")->isEnabled())
        << "each row is enabled on its own";

    Press(page, "Tac 1 Reset");
    EXPECT_EQ(tach.digits, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(tach.flag, 'c');
    for (int d = 0; d < 6; ++d) {
        EXPECT_EQ(page->findChild<QSpinBox*>(QString("Tac 1 Hour Adjust %1").arg(d))->value(), 0);
    }
}

TEST_F(PreferencesSheetTest, FilesChooseCopiesASensorTableAndOkReloadsOnlyIt) {
    fs::create_directory(root_ + "/elsewhere");
    core::ScriptedPrompt quiet;
    tables::CalibrationRows rows;
    for (auto& r : rows) r = {"  99.9", " 2", "from elsewhere"};
    ASSERT_TRUE(
        tables::WriteCalibrationFile(quiet, root_ + "/elsewhere/", "Tank.txt", "8300", rows));
    const auto table2 = dashboard.tables.calibration[2];

    // The project chosen again is the same project: its names come back unchanged.
    auto* files = sheet->Page("FILES");
    prompt.files.push_back(dir_ + "Demo.cdp");
    Press(files, "Choose Pelor Project File");
    EXPECT_EQ(copies.files.projectPath, dir_ + "Demo.cdp");
    EXPECT_EQ(files->findChild<QLineEdit*>("Sensor 3 Table")->text(), "DemoCal03.txt");

    prompt.files.push_back(root_ + "/elsewhere/Tank.txt");
    Press(files, "Choose Sensor 3 Table");
    EXPECT_EQ(files->findChild<QLineEdit*>("Sensor 3 Table")->text(), "Tank.txt");
    EXPECT_EQ(copies.files.sensorFiles[3], "Tank.txt");
    EXPECT_EQ(ReadBytes(dir_ + "Tank.txt"), ReadBytes(root_ + "/elsewhere/Tank.txt"));

    // The window had a theme; the field is cleared.
    dashboard.project.themeFile = "DemoTheme.txt";
    auto* theme = files->findChild<QLineEdit*>("Pelor Theme File");
    theme->setText("x");
    theme->clear();
    Q_EMIT theme->textEdited("");

    Press(files, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prompt.shown.clear();
    prompt.files.push_back(dir_ + "Tank.txt");
    EXPECT_EQ(prefs::ApplyPreferences(dashboard, copies, hooks), prefs::PreferencesResult::Applied);
    EXPECT_EQ(prompt.FileDialogCount(), 1u) << "one dialog, for table 3";
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Please restart Pelor to load new theme",
                                        "No Theme file selected - using default theme"}))
        << "the same project asks nothing";
    EXPECT_EQ(tables::CalibrationText(dashboard.tables.calibration, 3, 0), "  99.9");
    EXPECT_EQ(dashboard.tables.calibration[2], table2);
}

TEST_F(PreferencesSheetTest, AnEmptyTableNameKeepsTheSheetOpenOnItsPage) {
    auto* files = sheet->Page("FILES");
    auto* field = files->findChild<QLineEdit*>("Display Pages");
    field->clear();
    Q_EMIT field->textEdited("");
    sheet->Tabs()->setCurrentIndex(0);
    Press(files, "PREFOK");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), 0);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{
                  "Display Pages: give the bare name of a file in the project folder"});
    EXPECT_EQ(sheet->Tabs()->tabText(sheet->Tabs()->currentIndex()), "FILES");
}

// A value OK refuses shows its message on the page that holds the value, whatever words the
// message starts with (OPTIONS fields named "Display ..." are not ALARMS displays).
TEST_F(PreferencesSheetTest, ARefusedValueShowsItsOwnPage) {
    const prefs::PreferencesCopies opened = copies;
    const struct {
        const char* page;
        std::function<void(prefs::PreferencesCopies&)> change;
    } cases[] = {
        {"OPTIONS", [](auto& c) { c.options[F::DisplayScale] = 0; }},
        {"OPTIONS", [](auto& c) { c.options[F::DisplayType] = 99; }},
        {"OPTIONS", [](auto& c) { c.options[F::Pages] = 17; }},
        {"ALARMS", [](auto& c) { c.alarms.displays[2].low = 300; }},
        {"CHANNELS", [](auto& c) { c.channels.inputs[1].number = 16; }},
        {"LABELS", [](auto& c) { c.labels.labels[3] = "TOO'LONG!"; }},
        {"FILES", [](auto& c) { c.files.sensorFiles[4] = ""; }},
        {"CONNECT", [](auto& c) { c.connection.comPortNumber = 0; }},
        {"NMEA 2000", [](auto& c) { c.n2kTags.rows[3].instance = 11; }},
        {"NMEA TAGS", [](auto& c) { c.nmeaTags.time.month = 13; }},
    };
    for (const auto& c : cases) {
        copies = opened;
        c.change(copies);
        sheet->Tabs()->setCurrentIndex(sheet->Tabs()->count() - 1);
        if (sheet->Tabs()->tabText(sheet->Tabs()->currentIndex()) == c.page) {
            sheet->Tabs()->setCurrentIndex(0);
        }
        prompt.shown.clear();
        sheet->TryAccept();
        EXPECT_TRUE(sheet->isVisible()) << c.page;
        EXPECT_EQ(prompt.MessageTexts().size(), 1u) << c.page;
        EXPECT_EQ(sheet->Tabs()->tabText(sheet->Tabs()->currentIndex()).toStdString(), c.page)
            << (prompt.shown.empty() ? "" : prompt.shown[0].text);
    }
}

TEST_F(PreferencesSheetTest, CalTableOpensFromFilesEditsARowAndSavesTheWritersBytes) {
    auto* files = sheet->Page("FILES");
    prompt.files.push_back(dir_ + "DemoCal03.txt");
    std::string address;
    int rows = 0;
    OnNextModal([&](QDialog* d) {
        auto* cal = qobject_cast<ui::CalTableDialog*>(d);
        ASSERT_NE(cal, nullptr);
        rows = cal->List()->rowCount();
        address = cal->findChild<QLineEdit*>("Address")->text().toStdString();
        OnNextModal([](QDialog* edit) {
            EXPECT_EQ(edit->findChild<QLineEdit*>("Location")->text(), "007");
            EXPECT_TRUE(edit->findChild<QLineEdit*>("Location")->isReadOnly());
            EXPECT_EQ(edit->findChild<QLineEdit*>("Value")->maxLength(), 6);
            EXPECT_EQ(edit->findChild<QLineEdit*>("Comment")->maxLength(), 24);
            edit->findChild<QLineEdit*>("Value")->setText("12.5");
            edit->findChild<QLineEdit*>("Index")->setText("B");
            edit->findChild<QLineEdit*>("Comment")->setText("edited row");
            edit->accept();
        });
        cal->EditRow(7);
        EXPECT_EQ(cal->List()->item(7, 1)->text(), "12.5");
        prompt.files.push_back(dir_ + "Edited.txt");
        cal->Save();
    });
    Press(files, "Open Sensor 3");
    EXPECT_EQ(rows, 256);
    EXPECT_EQ(files->findChild<QLineEdit*>("Sensor 3 Table")->text(), "Edited.txt");

    core::ScriptedPrompt quiet;
    const auto read = tables::ReadCalibrationFile(quiet, dir_, "DemoCal03.txt");
    auto edited = read.rows;
    edited[7] = {"12.5", "B", "edited row"};
    ASSERT_TRUE(tables::WriteCalibrationFile(quiet, root_ + "/", "Expected.txt", address, edited));
    EXPECT_EQ(ReadBytes(dir_ + "Edited.txt"), ReadBytes(root_ + "/Expected.txt"));
    const auto back = tables::ReadCalibrationFile(quiet, dir_, "Edited.txt");
    EXPECT_EQ(back.rows[7].value, "  12.5");
    EXPECT_EQ(back.rows[7].index, " B");
    EXPECT_EQ(back.rows[7].comment, "edited row");
}

TEST_F(PreferencesSheetTest, FilesOpenCopiesNothingAndChooseAsksBeforeReplacingATable) {
    // Another installation's table of the same name as this project's sensor 3 table.
    fs::create_directory(root_ + "/elsewhere");
    core::ScriptedPrompt quiet;
    tables::CalibrationRows rows;
    for (auto& r : rows) r = {"  99.9", " 2", "from elsewhere"};
    ASSERT_TRUE(
        tables::WriteCalibrationFile(quiet, root_ + "/elsewhere/", "DemoCal03.txt", "8300", rows));
    const std::string ours = ReadBytes(dir_ + "DemoCal03.txt");
    ASSERT_NE(ours, ReadBytes(root_ + "/elsewhere/DemoCal03.txt"));
    auto* files = sheet->Page("FILES");
    auto* sensor5 = files->findChild<QLineEdit*>("Sensor 5 Table");
    const QString before = sensor5->text();

    // "Open" shows the other table and copies nothing; cancelling the editor leaves the field.
    prompt.files.push_back(root_ + "/elsewhere/DemoCal03.txt");
    QString shownValue;
    OnNextModal([&](QDialog* d) {
        auto* cal = qobject_cast<ui::CalTableDialog*>(d);
        ASSERT_NE(cal, nullptr);
        shownValue = cal->List()->item(0, 1)->text();
        cal->reject();
    });
    Press(files, "Open Sensor 5");
    EXPECT_EQ(shownValue, "  99.9") << "the editor shows the file that was opened";
    EXPECT_EQ(ReadBytes(dir_ + "DemoCal03.txt"), ours);
    EXPECT_EQ(sensor5->text(), before);
    EXPECT_EQ(copies.files.sensorFiles[5], before.toStdString());

    // "Choose" of that file asks before replacing this project's table; No keeps everything.
    prompt.files.push_back(root_ + "/elsewhere/DemoCal03.txt");
    prompt.answers.push_back(core::Answer::No);
    Press(files, "Choose Sensor 5 Table");
    EXPECT_EQ(ReadBytes(dir_ + "DemoCal03.txt"), ours);
    EXPECT_EQ(sensor5->text(), before);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{
                  "DemoCal03.txt already exists in the project folder. Replace it?"});
}

TEST_F(PreferencesSheetTest, CalTableRefusesABadAddressAndKeepsItsEditsOnCancel) {
    ui::CalTableDialog cal(prompt, dir_, "DemoCal00.txt");
    cal.findChild<QLineEdit*>("Address")->setText("80G0");
    cal.Save();
    EXPECT_EQ(
        prompt.MessageTexts(),
        std::vector<std::string>{"The Address must be four hexadecimal digits, for example 8000"});
    cal.findChild<QLineEdit*>("Address")->setText("8000");
    prompt.shown.clear();
    cal.Save();  // the save dialog is cancelled
    EXPECT_EQ(prompt.FileDialogCount(), 1u);
    EXPECT_EQ(cal.result(), 0) << "still open, nothing written";

    ui::CalTableDialog missing(prompt, dir_, "NoSuchTable.txt");
    EXPECT_EQ(missing.List()->rowCount(), 0);
    EXPECT_EQ(prompt.MessageTexts().back(), "Could not Open NoSuchTable.txt");
}

TEST_F(PreferencesSheetTest, ThemesPreviewStepsThroughTheDialFrames) {
    ui::CThemes themes;
    themes.show();
    auto* preview = themes.findChild<QWidget*>("ThemePreview");
    ASSERT_NE(preview, nullptr);
    const QImage first = preview->grab().toImage();
    themes.findChild<QPushButton*>("NextFrame")->click();
    EXPECT_EQ(themes.Frame(), 1);
    const QImage second = preview->grab().toImage();
    EXPECT_NE(first, second) << "the next frame of the strip is shown";
    EXPECT_EQ(first.pixelColor(2, 2), QColor(212, 208, 200));
}

// OPEN reads the rows the options file holds; an unreadable file is named and the rows stay.
// PREFSAVE afterwards leaves the adapter flag the CONNECT page owns as the file had it.
TEST_F(PreferencesSheetTest, N2kOpenReadsTheFileAndSaveKeepsTheAdapterFlag) {
    auto* page = PageOf<ui::CN2KTags>("NMEA 2000");
    tables::OptionsTable onDisk = dashboard.tables.options;
    onDisk[256] = 0x15;  // row 0: PGN 127488, instance 5
    onDisk[257] = 2;     // "Trim"
    onDisk[288] = 0x0F;
    onDisk[289] = 0xA0;
    onDisk[tables::kAdapterInitByte] = 0xFF;
    core::ScriptedPrompt quiet;
    ASSERT_TRUE(tables::WriteOptionsFile(quiet, dir_, copies.optionsFile, onDisk));

    Press(page, "OPEN");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(page->PgnBox(0)->currentIndex(), 1);
    EXPECT_EQ(page->ParameterBox(0)->currentText(), "Trim");
    EXPECT_EQ(page->NumberBox(0)->value(), 4000);
    EXPECT_EQ(page->NumberCaption(0)->text(), "RPM Scale");
    EXPECT_EQ(copies.n2kTags.rows[0].instance, 5);

    page->NumberBox(0)->setValue(3000);
    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    onDisk[288] = 0x0B;
    onDisk[289] = 0xB8;
    EXPECT_EQ(ReadBytes(dir_ + copies.optionsFile), OptionsBytes(onDisk));

    const std::string name = copies.optionsFile;
    copies.optionsFile = "Missing.txt";
    prompt.shown.clear();
    Press(page, "OPEN");
    ASSERT_FALSE(prompt.MessageTexts().empty());
    EXPECT_EQ(prompt.MessageTexts().back(), "Error loading Options file");
    EXPECT_EQ(copies.n2kTags.rows[0].number, 3000);
    copies.optionsFile = name;
}

}  // namespace
