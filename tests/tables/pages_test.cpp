// The preferences pages' rules without a window: flag bytes, threshold texts, the options
// byte map, label and file name checks, and what each page's save writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "core/prompt.h"
#include "prefs/alarms_page.h"
#include "prefs/channels_page.h"
#include "prefs/files_page.h"
#include "prefs/labels_page.h"
#include "prefs/options_page.h"
#include "table_test_support.h"
#include "tables/options_file.h"

namespace {

using namespace pelor;
using namespace pelor::tables;
using namespace pelor::prefs;
using pelor::tables::testing::ScratchDir;

// An options file as the full writer saves it, with every byte distinct where it can be.
OptionsTable SampleOptions() {
    OptionsTable o{};
    for (std::size_t b = 0; b < o.size(); ++b) o[b] = static_cast<std::uint8_t>(b * 7 + 3);
    return o;
}

std::string WrittenOptions(const OptionsTable& o) {
    ScratchDir d;
    core::ScriptedPrompt quiet;
    EXPECT_TRUE(WriteOptionsFile(quiet, d.Dir(), "Expected.txt", o));
    return d.Read("Expected.txt");
}

TEST(ChannelsPage, RowsGiveTheFlagBytesAndReadBack) {
    struct Case {
        const char* legend;
        bool output;
        int number;
        bool nmea;
        ChannelOutputMode mode;
        std::uint8_t want;
    } const cases[] = {
        {"input 5, NEMA", false, 5, true, {}, 0x85},
        {"input 7, Analog", false, 7, false, {}, 0x07},
        {"output 3, Index", true, 3, false, ChannelOutputMode::Index, 0x43},
        {"output 3, Disabled", true, 3, false, ChannelOutputMode::Disabled, 0x83},
        {"output 15, Enabled", true, 15, false, ChannelOutputMode::Enabled, 0x0F},
    };
    for (const auto& c : cases) {
        ChannelsPage page;
        if (c.output) {
            page.outputs[2] = {c.number, c.mode};
        } else {
            page.inputs[2] = {c.number, c.nmea};
        }
        const ChannelBytes bytes = BytesFromChannels(page);
        EXPECT_EQ(bytes[c.output ? 18 : 2], c.want) << c.legend;
        const ChannelsPage back = ChannelsFromBytes(bytes);
        if (c.output) {
            EXPECT_EQ(back.outputs[2].number, c.number) << c.legend;
            EXPECT_EQ(back.outputs[2].mode, c.mode) << c.legend;
        } else {
            EXPECT_EQ(back.inputs[2].number, c.number) << c.legend;
            EXPECT_EQ(back.inputs[2].nmea, c.nmea) << c.legend;
        }
    }
}

TEST(ChannelsPage, SaveRewritesOnlyItsSectionByteExact) {
    ScratchDir d;
    core::ScriptedPrompt prompt;
    const OptionsTable original = SampleOptions();
    ASSERT_TRUE(WriteOptionsFile(prompt, d.Dir(), "Options.txt", original));

    ChannelsPage page;
    page.inputs[0] = {5, true};
    page.outputs[15] = {3, ChannelOutputMode::Index};
    prompt.shown.clear();
    ASSERT_TRUE(SaveChannelsPage(prompt, d.Dir(), "Options.txt", page));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    OptionsTable expected = original;
    const ChannelBytes bytes = BytesFromChannels(page);
    std::copy(bytes.begin(), bytes.end(), expected.begin() + 32);
    EXPECT_EQ(d.Read("Options.txt"), WrittenOptions(expected));

    ChannelsPage opened;
    ASSERT_TRUE(OpenChannelsPage(prompt, d.Dir(), "Options.txt", opened));
    EXPECT_EQ(opened.inputs[0].number, 5);
    EXPECT_TRUE(opened.inputs[0].nmea);
    EXPECT_EQ(opened.outputs[15].mode, ChannelOutputMode::Index);
}

TEST(ChannelsPage, BadInputChangesNoFile) {
    ScratchDir d;
    core::ScriptedPrompt prompt;
    ChannelsPage page;
    EXPECT_FALSE(SaveChannelsPage(prompt, d.Dir(), "Missing.txt", page));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Could not Open File"});
    EXPECT_FALSE(std::filesystem::exists(d.Path("Missing.txt")));

    ASSERT_TRUE(WriteOptionsFile(prompt, d.Dir(), "Options.txt", SampleOptions()));
    const std::string before = d.Read("Options.txt");
    page.outputs[4].number = 16;  // would reach the Index flag
    prompt.shown.clear();
    EXPECT_FALSE(SaveChannelsPage(prompt, d.Dir(), "Options.txt", page));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"OUTPUT Display 4: the channel number must be 0 to 15"});
    EXPECT_EQ(d.Read("Options.txt"), before);

    ChannelsPage opened;
    prompt.shown.clear();
    EXPECT_FALSE(OpenChannelsPage(prompt, d.Dir(), "Missing.txt", opened));
    EXPECT_EQ(prompt.MessageTexts().back(), "Error loading Channels file");
}

TEST(AlarmsPage, ThresholdTexts) {
    CalibrationTables cal{};
    for (auto& t : cal) std::fill(t.begin(), t.end(), ' ');
    const std::string entry40 = "  12.5 7";  // value "  12.5", index " 7"
    std::copy(entry40.begin(), entry40.end(), cal[0].begin() + 8 * 40);
    PulseInputs pulses{};
    pulses[0] = {2, 160};  // display 13
    pulses[1] = {1, 0};    // display 14: no time

    struct Case {
        const char* legend;
        int display;
        bool high;
        int value;
        bool invert;
        const char* want;
    } const cases[] = {
        {"low 0 on display 3", 3, false, 0, false, " < OFF"},
        {"low 0 on display 3, inverted", 3, false, 0, true, " > OFF"},
        {"high 255 is off", 3, true, 255, false, " > OFF"},
        {"low 40 on display 0: four characters of the value", 0, false, 40, false, "<   12"},
        {"high 40 on display 0, inverted", 0, true, 40, true, "<   12"},
        {"display 12 has no value", 12, false, 40, false, " < OFF"},
        {"pulse display: 100 x 2 x 80 / 160", 13, false, 100, false, "<   100"},
        {"pulse display: invert does not apply", 13, true, 100, true, ">   100"},
        {"pulse input without a time", 14, true, 100, false, ">   ---"},
    };
    for (const auto& c : cases) {
        AlarmsPage page;
        auto& a = page.displays[static_cast<std::size_t>(c.display)];
        (c.high ? a.high : a.low) = c.value;
        a.invert = c.invert;
        EXPECT_EQ(ThresholdText(page, c.display, c.high, cal, pulses), c.want) << c.legend;
    }
}

TEST(AlarmsPage, InvertFlagAndSectionsSaveByteExact) {
    ScratchDir d;
    core::ScriptedPrompt prompt;
    const OptionsTable original = SampleOptions();
    ASSERT_TRUE(WriteOptionsFile(prompt, d.Dir(), "Options.txt", original));

    AlarmsPage page;
    page.displays[11].invert = true;
    page.displays[0] = {40, 200, false, 3, 7};
    page.displays[15] = {10, 250, false, 11, 255};
    const AlarmBytes bytes = BytesFromAlarms(page);
    EXPECT_EQ(bytes[150 - 64], 1);
    EXPECT_EQ(bytes[151 - 64], 0);
    EXPECT_EQ(bytes[128 - 64], 0);
    EXPECT_EQ(bytes[129 - 64], 1) << "a clear flag writes its complement";
    EXPECT_EQ(bytes[152 - 64], 0);

    prompt.shown.clear();
    ASSERT_TRUE(SaveAlarmsPage(prompt, d.Dir(), "Options.txt", page));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    OptionsTable expected = original;
    std::copy(bytes.begin(), bytes.end(), expected.begin() + 64);
    EXPECT_EQ(d.Read("Options.txt"), WrittenOptions(expected));

    AlarmsPage opened;
    ASSERT_TRUE(OpenAlarmsPage(prompt, d.Dir(), "Options.txt", opened));
    EXPECT_TRUE(opened.displays[11].invert) << "reading the file back checks the box";
    EXPECT_EQ(opened.displays[15].action, 11);
    EXPECT_EQ(opened.displays[15].relayMap, 255);
}

TEST(AlarmsPage, AFileNotInTheSavedLayoutIsRefusedAndKept) {
    ScratchDir d;
    core::ScriptedPrompt prompt;
    const std::string odd = "[TABLE][7800][1][512]\r\ndb %05\r\n";
    d.Write("Options.txt", odd);
    EXPECT_FALSE(SaveAlarmsPage(prompt, d.Dir(), "Options.txt", AlarmsPage{}));
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_NE(prompt.MessageTexts()[0].find("Cannot update Options.txt in place"),
              std::string::npos);
    EXPECT_EQ(d.Read("Options.txt"), odd);
}

TEST(OptionsPage, ByteRules) {
    OptionsTable o{};
    o[19] = 90;   // an unknown baud code
    o[202] = 4;   // TimeBase 0.455
    o[10] = 3;    // Enabled 4X
    o[5] = 0xB0;  // Kantelo Remote (serial), demo mode
    o[23] = 0x52;
    o[222] = 64;
    OptionsPage page = OptionsPageFromTable(o, 80, "");
    using F = OptionsField;
    EXPECT_EQ(page[F::BaudRate], 0) << "code 90 selects 4800";
    EXPECT_EQ(page[F::KanteloMode], 3);
    EXPECT_EQ(page[F::DemoMode], 1);
    EXPECT_EQ(page[F::KanteloCountLow], 2);
    EXPECT_EQ(page[F::KanteloCountHigh], 5);
    EXPECT_EQ(page[F::TempSensor], 1);
    EXPECT_EQ(page[F::TempAdjust], 1);

    OptionsTable built = BuildOptionsTable(page, OptionsTable{});
    EXPECT_EQ(built[19], 240);
    EXPECT_EQ(built[16], 1) << "both serial inputs clear";
    EXPECT_EQ(built[216], 255);
    EXPECT_EQ(built[217], 255);
    EXPECT_EQ(built[220], 0x02) << "TimeBase sets bit 1";
    EXPECT_EQ(built[5], 0xB0);
    EXPECT_EQ(built[23], 0x52);
    EXPECT_EQ(built[28], 4);
    EXPECT_EQ(built[29], 2);
    EXPECT_EQ(built[222], 64);

    page[F::Pulse2Enable] = 0;
    page[F::Timer2] = 77;
    page[F::UpdateRate2x] = 1;
    built = BuildOptionsTable(page, OptionsTable{});
    EXPECT_EQ(built[216], 0) << "Enabled 4X does not force timer 2";
    EXPECT_EQ(built[217], 77);
    EXPECT_EQ(built[220], 0x08);

    page[F::Usb1Mode] = 3;  // NMEA Status: no Buffer offered
    page[F::Usb2Mode] = 1;  // LOG CSV
    page[F::LogAppend] = 0;
    page[F::LogBuffer] = 1;
    page[F::LogPowerUp] = 1;
    page[F::TempSensor] = 0;
    page[F::VersionStatusMsg] = 0;
    page[F::TachHoursMsg] = 0;
    page[F::SwitchStatusMsg] = 1;
    page[F::DisplayType] = 9;
    built = BuildOptionsTable(page, OptionsTable{});
    EXPECT_EQ(built[194], 2 | 16 | 1);
    EXPECT_EQ(built[222], 255);
    EXPECT_EQ(built[205], 0x0A) << "bits 1 and 3 for the two messages switched off";
    EXPECT_EQ(built[6], 9);
}

TEST(OptionsPage, SaveKeepsTheOtherSectionsAndWritesByteExact) {
    ScratchDir d;
    core::ScriptedPrompt prompt;
    const OptionsTable original = SampleOptions();
    OptionsPage page = OptionsPageFromTable(original, 100, "pelor.example.net/post");
    page[OptionsField::Pages] = 7;
    OptionsTable sections{};
    sections[32] = 0x85;
    sections[150] = 1;

    prompt.files.push_back(d.Dir() + "New.txt");
    EXPECT_EQ(SaveOptionsPage(prompt, d.Dir(), "Options.txt", page, sections), "New.txt");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    ASSERT_EQ(prompt.FileDialogCount(), 1u);
    EXPECT_EQ(prompt.shown[0].dialog.initialName, d.Dir() + "Options.txt");
    EXPECT_FALSE(prompt.shown[0].dialog.open);

    const OptionsTable built = BuildOptionsTable(page, sections);
    EXPECT_EQ(built[0], 7);
    EXPECT_EQ(built[32], 0x85) << "channels come from the CHANNELS page, not cleared";
    EXPECT_EQ(built[150], 1);
    EXPECT_EQ(built[300], original[300]) << "NMEA 2000 tags kept";
    EXPECT_EQ(built[1200], original[1200]) << "fuel flow tables kept";
    EXPECT_EQ(built[227], original[227]);
    EXPECT_EQ(std::string(built.begin() + 368, built.begin() + 393), "pelor.example.net/post:80");
    EXPECT_EQ(d.Read("New.txt"), WrittenOptions(built));
}

TEST(OptionsPage, CancelOutsideFolderAndBadFieldsWriteNothing) {
    ScratchDir d;
    ScratchDir elsewhere;
    core::ScriptedPrompt prompt;
    OptionsPage page = OptionsPageFromTable(SampleOptions(), 100, "");

    EXPECT_EQ(SaveOptionsPage(prompt, d.Dir(), "Options.txt", page, OptionsTable{}), "");
    EXPECT_TRUE(prompt.MessageTexts().empty()) << "cancel says nothing";

    prompt.files.push_back(elsewhere.Dir() + "Options.txt");
    EXPECT_EQ(SaveOptionsPage(prompt, d.Dir(), "Options.txt", page, OptionsTable{}), "");
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_NE(prompt.MessageTexts()[0].find("is not in the project folder"), std::string::npos);

    page[OptionsField::Pages] = 17;
    prompt.shown.clear();
    prompt.files.push_back(d.Dir() + "Options.txt");
    EXPECT_EQ(SaveOptionsPage(prompt, d.Dir(), "Options.txt", page, OptionsTable{}), "");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Pages must be 0 to 16"});
    EXPECT_EQ(prompt.FileDialogCount(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(d.Dir()));
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Dir()));

    EXPECT_EQ(EffectiveDisplayScale(0), 100);
    EXPECT_EQ(EffectiveDisplayScale(101), 100);
    EXPECT_EQ(EffectiveDisplayScale(55), 55);
}

TEST(LabelsPage, AppliesAndChecksLabels) {
    LabelSettings s;
    for (auto& l : s.LabelStrings) l = "OLD     ";
    LabelsPage page = LabelsPageFrom(s);
    EXPECT_EQ(page.labels[3], "OLD") << "trailing blanks dropped for editing";
    page.labels[0] = "ENG TEMP";
    page.labels[15] = "";
    page.kanteloLabels[2] = "BILGE";
    page.symbolCodes[2] = 70;
    page.powerOn[11] = true;
    page.powerOnReset = true;
    EXPECT_EQ(CheckLabelsPage(page), "");

    LabelTable table{};
    ApplyLabelsPage(page, table, s);
    EXPECT_EQ(LabelEntry(table, 0), "ENG TEMP");
    EXPECT_EQ(LabelEntry(table, 15), "        ");
    EXPECT_EQ(LabelEntry(table, 18), "BILGE   ");
    EXPECT_EQ(s.KanteloLabels[2], "BILGE   ");
    EXPECT_EQ(s.symbolCodes[2], 70);
    EXPECT_TRUE(s.switchPowerOn[11]);
    EXPECT_TRUE(s.powerOnReset);

    page.labels[12] = "NINECHARS";
    EXPECT_EQ(CheckLabelsPage(page),
              "NMEA Label : a label is at most 8 characters of plain text, without apostrophes");
    EXPECT_EQ(LabelCaption(13), "PULSE Label 2");
}

TEST(FilesPage, ProjectChooseReadsTheOtherProjectsNames) {
    ScratchDir d;
    d.Write("Other.cdp",
            "anything\r\nnot checked\r\nL.txt ; labels\r\nP.txt\r\nO.txt\r\nO.txt\r\nO.txt\r\n"
            "Run.csv\r\nC0.txt\r\nC1.TXT\r\nC2.txt\r\n");
    core::ScriptedPrompt prompt;
    FilesPage page;
    for (std::size_t i = 0; i < page.sensorFiles.size(); ++i) {
        page.sensorFiles[i] = "Keep" + std::to_string(i) + ".txt";
    }
    ASSERT_TRUE(ReadNamesFromProjectFile(prompt, d.Path("Other.cdp"), page));
    EXPECT_EQ(page.labelsFile, "L.txt");
    EXPECT_EQ(page.pageFile, "P.txt");
    EXPECT_EQ(page.logFile, "Run.csv");
    EXPECT_EQ(page.sensorFiles[0], "C0.txt");
    EXPECT_EQ(page.sensorFiles[1], "") << "the search is case-sensitive";
    EXPECT_EQ(page.sensorFiles[2], "C2.txt");
    // The file ends after sensor table 2: the later tables keep their names, so that the
    // page can still be taken with OK, and the user is told the file was short.
    for (std::size_t i = 3; i < page.sensorFiles.size(); ++i) {
        EXPECT_EQ(page.sensorFiles[i], "Keep" + std::to_string(i) + ".txt") << i;
    }
    page.projectPath = d.Path("Other.cdp");
    page.sensorFiles[1] = "C1.txt";
    EXPECT_EQ(CheckFilesPage(page), "");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error Reading from file"});
    EXPECT_EQ(prompt.shown.at(0).detail, d.Path("Other.cdp"));

    // A whole project file replaces every field and says nothing.
    std::string whole = "[Pelor_Project_File]\r\n[Version 3.04]\r\nL.txt\r\nP.txt\r\n";
    whole += "O.txt\r\nO.txt\r\nO.txt\r\nRun.txt\r\n";
    for (int i = 0; i < 12; ++i) whole += "W" + std::to_string(i) + ".txt\r\n";
    d.Write("Whole.cdp", whole + "Whole.cdp\r\n");
    prompt.shown.clear();
    ASSERT_TRUE(ReadNamesFromProjectFile(prompt, d.Path("Whole.cdp"), page));
    EXPECT_EQ(page.sensorFiles[11], "W11.txt");
    EXPECT_EQ(page.logFile, "Run.txt");
    EXPECT_TRUE(prompt.shown.empty());
    prompt.shown.clear();

    EXPECT_FALSE(ReadNamesFromProjectFile(prompt, d.Path("None.cdp"), page));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Could not Open " + d.Path("None.cdp")});
}

TEST(FilesPage, SensorTableCopyAndChecks) {
    ScratchDir project;
    ScratchDir source;
    core::ScriptedPrompt prompt;
    source.Write("Fuel.txt", "[TABLE][8000][8][256]\r\n");
    ASSERT_TRUE(CopyIntoProjectFolder(prompt, source.Path("Fuel.txt"), project.Dir()));
    EXPECT_EQ(project.Read("Fuel.txt"), source.Read("Fuel.txt"));
    ASSERT_TRUE(CopyIntoProjectFolder(prompt, project.Path("Fuel.txt"), project.Dir()))
        << "a file already in the project folder is left alone";
    EXPECT_TRUE(CopyIntoProjectFolder(prompt, project.Path("New.txt"), project.Dir()))
        << "a name in the project folder the chooser gave for a file not made yet";
    EXPECT_FALSE(std::filesystem::exists(project.Path("New.txt")));
    EXPECT_TRUE(prompt.shown.empty());

    // Another file of the same name is replaced only when the user says so; one with the
    // same bytes needs no question.
    const std::string tank = "[TABLE][8000][8][256]\r\ndb '  10.0 1' tank of sensor 2\r\n";
    const std::string other = "[TABLE][8000][8][256]\r\ndb '  99.0 1' other tank\r\n";
    project.Write("Tank.txt", tank);
    source.Write("Tank.txt", other);
    prompt.answers = {core::Answer::No};
    EXPECT_FALSE(CopyIntoProjectFolder(prompt, source.Path("Tank.txt"), project.Dir()));
    EXPECT_EQ(project.Read("Tank.txt"), tank);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Tank.txt already exists in the project folder. Replace it?");
    EXPECT_EQ(prompt.shown[0].caption, "Status");
    EXPECT_EQ(prompt.shown[0].buttons, core::MessageButtons::YesNo);
    prompt.answers = {core::Answer::Yes};
    EXPECT_TRUE(CopyIntoProjectFolder(prompt, source.Path("Tank.txt"), project.Dir()));
    EXPECT_EQ(project.Read("Tank.txt"), other);
    EXPECT_TRUE(CopyIntoProjectFolder(prompt, source.Path("Tank.txt"), project.Dir()));
    EXPECT_EQ(prompt.shown.size(), 2u) << "the same bytes: no question";
    prompt.shown.clear();

    if (::geteuid() != 0) {  // root writes anywhere
        ::chmod(project.Dir().c_str(), 0555);
        source.Write("Oil.txt", "x");
        EXPECT_FALSE(CopyIntoProjectFolder(prompt, source.Path("Oil.txt"), project.Dir()));
        EXPECT_EQ(
            prompt.MessageTexts(),
            std::vector<std::string>{"Could not copy file " + source.Path("Oil.txt") + " = 13"});
        ::chmod(project.Dir().c_str(), 0755);
        EXPECT_FALSE(std::filesystem::exists(project.Path("Oil.txt")));
    }

    FilesPage page;
    page.labelsFile = "L.txt";
    page.pageFile = "P.txt";
    for (auto& s : page.sensorFiles) s = "C.txt";
    page.projectPath = project.Dir() + "Boat.cdp";
    EXPECT_EQ(CheckFilesPage(page), "");
    page.sensorFiles[3] = "";
    EXPECT_EQ(CheckFilesPage(page),
              "Sensor 3 Table: give the bare name of a file in the project folder");
    page.sensorFiles[3] = "C.txt";
    page.projectPath = "Boat.cdp";
    EXPECT_EQ(CheckFilesPage(page), "Pelor Project File: give the full path of the project file");
}

TEST(FilesPage, ChoosersKeepTableAndLogNamesInTheProjectFolder) {
    ScratchDir project;
    ScratchDir elsewhere;
    elsewhere.Write("Tank.txt", "[TABLE][8000][8][256]\r\n");
    const std::string dir = project.Dir();
    using Choose = std::function<bool(core::Prompt&, std::string&)>;
    const Choose labels = [&](core::Prompt& p, std::string& f) {
        return ChooseTableFile(p, dir, false, f);
    };
    const Choose sensor = [&](core::Prompt& p, std::string& f) {
        return ChooseTableFile(p, dir, true, f);
    };
    const Choose log = [&](core::Prompt& p, std::string& f) { return ChooseLogFile(p, dir, f); };
    auto outside = [&](const std::string& path) {
        return path + " is not in the project folder " + dir +
               ". Table files are kept in the project folder: choose or name the file there.";
    };
    struct Case {
        const char* legend;
        Choose choose;
        std::optional<std::string> chosen;
        bool taken;
        std::string field;    // the field afterwards (it starts as "Old.txt")
        std::string message;  // the one message shown, or ""
    };
    const Case cases[] = {
        {"labels in the project folder", labels, project.Path("New.txt"), true, "New.txt", ""},
        {"labels elsewhere are refused", labels, elsewhere.Path("Tank.txt"), false, "Old.txt",
         outside(elsewhere.Path("Tank.txt"))},
        {"a cancelled chooser", labels, std::nullopt, false, "Old.txt", ""},
        {"a sensor table elsewhere is copied in", sensor, elsewhere.Path("Tank.txt"), true,
         "Tank.txt", ""},
        {"a log in the project folder", log, project.Path("Run.csv"), true, "Run.csv", ""},
        {"a log elsewhere is refused", log, elsewhere.Path("Run.csv"), false, "Old.txt",
         outside(elsewhere.Path("Run.csv"))},
    };
    for (const auto& c : cases) {
        core::ScriptedPrompt prompt;
        prompt.files.push_back(c.chosen);
        std::string field = "Old.txt";
        EXPECT_EQ(c.choose(prompt, field), c.taken) << c.legend;
        EXPECT_EQ(field, c.field) << c.legend;
        ASSERT_EQ(prompt.FileDialogCount(), 1u) << c.legend;
        EXPECT_EQ(prompt.shown[0].dialog.initialName, "Old.txt") << c.legend;
        EXPECT_FALSE(prompt.shown[0].dialog.open) << c.legend << ": a name to save under";
        const auto messages = prompt.MessageTexts();
        EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{}
                                              : std::vector<std::string>{c.message})
            << c.legend;
    }
    EXPECT_EQ(project.Read("Tank.txt"), elsewhere.Read("Tank.txt"));
    EXPECT_FALSE(std::filesystem::exists(project.Path("New.txt"))) << "choosing writes nothing";
}

TEST(FilesPage, ProjectThemeAndOpenChoosers) {
    ScratchDir project;
    ScratchDir elsewhere;
    std::string other = "[Pelor_Project_File]\r\n[Version 3.04]\r\nOL.txt\r\nOP.txt\r\n";
    other += "O.txt\r\nO.txt\r\nO.txt\r\nRun.txt\r\n";
    for (int i = 0; i < 12; ++i) other += "W" + std::to_string(i) + ".txt\r\n";
    elsewhere.Write("Other.cdp", other);
    elsewhere.Write("Tank.txt", "[TABLE][8000][8][256]\r\n");

    FilesPage page;
    page.labelsFile = "L.txt";
    page.projectPath = project.Path("Boat.cdp");
    core::ScriptedPrompt prompt;
    prompt.files = {std::nullopt, elsewhere.Path("None.cdp"), elsewhere.Path("Other.cdp")};
    EXPECT_FALSE(ChooseProjectFile(prompt, page)) << "cancelled";
    EXPECT_FALSE(ChooseProjectFile(prompt, page)) << "a file that cannot be opened";
    EXPECT_EQ(page.projectPath, project.Path("Boat.cdp"));
    EXPECT_EQ(page.labelsFile, "L.txt");
    EXPECT_TRUE(ChooseProjectFile(prompt, page));
    EXPECT_EQ(page.projectPath, elsewhere.Path("Other.cdp"));
    EXPECT_EQ(page.labelsFile, "OL.txt");
    EXPECT_EQ(page.sensorFiles[11], "W11.txt");
    EXPECT_EQ(prompt.shown.at(0).dialog.initialName, project.Path("Boat.cdp"));
    EXPECT_TRUE(prompt.shown.at(0).dialog.pathMustExist);

    // The theme may lie anywhere and keeps its full path.
    prompt.shown.clear();
    prompt.files = {elsewhere.Path("Look.txt")};
    EXPECT_TRUE(ChooseThemeFile(prompt, page.themePath));
    EXPECT_EQ(page.themePath, elsewhere.Path("Look.txt"));
    EXPECT_TRUE(prompt.shown.at(0).dialog.open);

    // "Open" of a sensor table: the project's own table names the field at once; one from
    // elsewhere is shown from its folder and names nothing until the editor saves it.
    std::string& field = page.sensorFiles[4];
    prompt.files = {project.Path("Fuel.txt"), elsewhere.Path("Tank.txt"), std::nullopt};
    const auto own = ChooseSensorTableToEdit(prompt, project.Dir(), field);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->name, "Fuel.txt");
    EXPECT_EQ(own->fromFolder, "");
    EXPECT_EQ(field, "Fuel.txt");
    const auto other_table = ChooseSensorTableToEdit(prompt, project.Dir(), field);
    ASSERT_TRUE(other_table);
    EXPECT_EQ(other_table->name, "Tank.txt");
    EXPECT_EQ(other_table->fromFolder, elsewhere.Dir());
    EXPECT_EQ(field, "Fuel.txt");
    EXPECT_FALSE(std::filesystem::exists(project.Path("Tank.txt"))) << "opening copies nothing";
    EXPECT_FALSE(ChooseSensorTableToEdit(prompt, project.Dir(), field)) << "cancelled";
    EXPECT_EQ(field, "Fuel.txt");
}
}  // namespace
