#include "app/dashboard.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "display/web_bitmap.h"
#include "file_bytes.h"
#include "loopback.h"
#include "tables/calibration_file.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/page_file.h"
#include "tables/project_file.h"
#include "temp_dir.h"

namespace {

using namespace pelor;
using core::Answer;

// A project in a scratch directory, written with the table writers; the working directory is
// restored afterwards (start-up changes it to the project directory).
class ScratchProject {
public:
    explicit ScratchProject(int pageCount = 5, int displayType = 10, bool dual = false) {
        root_ = pelor::testing::MakeTempDir("pelor-app");
        dir_ = root_ + "/";
        cwd_ = std::filesystem::current_path().string();

        core::ScriptedPrompt quiet;
        tables::OptionsTable options{};
        options[0] = static_cast<std::uint8_t>(pageCount);
        options[6] = static_cast<std::uint8_t>(displayType);
        options[199] = dual ? 1 : 0;
        EXPECT_TRUE(tables::WriteOptionsFile(quiet, dir_, "Options.txt", options));
        tables::LabelTable labels{};
        for (int i = 0; i < 16; ++i) tables::SetLabelEntry(labels, i, "LABEL" + std::to_string(i));
        EXPECT_TRUE(tables::WriteLabelFile(quiet, dir_, "Labels.txt", labels, {}));
        tables::PageTable pages{};
        EXPECT_TRUE(tables::WritePageFile(quiet, dir_, "Pages.txt", pages, displayType, dual));
        tables::CalibrationRows rows;
        for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = {std::to_string(r), "00", "raw"};
        tables::Project p;
        p.directory = dir_;
        p.projectFile = "Boat.cdp";
        p.labelsFile = "Labels.txt";
        p.pageFile = "Pages.txt";
        p.optionsFileA = p.optionsFileB = p.optionsFileC = "Options.txt";
        p.logFile = "Log.csv";
        for (int i = 0; i < 12; ++i) {
            const std::string name = "Cal" + std::to_string(i) + ".txt";
            p.calibrationFiles[static_cast<std::size_t>(i)] = name;
            EXPECT_TRUE(tables::WriteCalibrationFile(quiet, dir_, name, "8000", rows));
        }
        p.webBitmapPath = tables::kNoWebBitmap;
        EXPECT_TRUE(tables::SaveProject(quiet, p));
        EXPECT_EQ(quiet.MessageTexts(), (std::vector<std::string>{"File Saved"}));
    }
    ~ScratchProject() {
        std::error_code ec;
        std::filesystem::current_path(cwd_, ec);
        std::filesystem::remove_all(root_, ec);
    }
    std::string ProjectPath() const { return dir_ + "Boat.cdp"; }
    std::string Dir() const { return dir_; }

private:
    std::string root_, dir_, cwd_;
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct RecordingHooks : app::WindowHooks {
    void PrepareDrawing() override { calls.push_back("PrepareDrawing"); }
    void BuildMenusAndRegions() override { calls.push_back("BuildMenusAndRegions"); }
    void ApplyLayout() override { calls.push_back("ApplyLayout"); }
    void CloseAdapterLibrary() override { calls.push_back("CloseAdapterLibrary"); }
    void ReleaseDrawing() override { calls.push_back("ReleaseDrawing"); }
    std::vector<std::string> calls;
};

struct Fixture {
    core::ScriptedPrompt prompt;
    core::MemorySettingsStore store;
    core::RecordingView view;
    core::ManualClock clock;
    RecordingHooks hooks;
    app::Dashboard dashboard{prompt, store, view, clock};
};

TEST(Dashboard, StartsWithTheNamedProjectSilentlyAndSavesEverythingAtExit) {
    ScratchProject project(5, 10);
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    f.store.values["DisplayType"] = 3u;
    f.store.values["ConnectionType"] = 0x02u;

    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    EXPECT_TRUE(f.prompt.shown.empty()) << "no message and no dialog";
    EXPECT_EQ(f.hooks.calls,
              (std::vector<std::string>{"PrepareDrawing", "BuildMenusAndRegions", "ApplyLayout"}));
    EXPECT_EQ(f.view.Caption(), "::disconnected");
    EXPECT_EQ(f.dashboard.page.m_nPageCount, 5);
    EXPECT_EQ(f.dashboard.page.m_nDisplayType, 10) << "the options table overrides the setting";
    EXPECT_EQ(f.dashboard.page.m_nCurrentPage, 0);
    EXPECT_EQ(f.dashboard.channels.LastSentence[10], "$IIXDR,G, 0000000,G,NOTUSED A*00\r");
    EXPECT_EQ(std::filesystem::current_path().string() + "/", project.Dir());
    EXPECT_EQ(f.dashboard.tables.labelSettings.LabelStrings[3], "LABEL3  ");

    // The user chose another log file: the project changed and is written at exit.
    std::filesystem::remove(project.ProjectPath());
    f.dashboard.project.logFile = "Trip.csv";
    f.dashboard.Destroy(f.hooks);
    EXPECT_EQ(f.store.writeOrder.size(), 19u)
        << "the fifteen values, the stale time, the serial device path and the look";
    EXPECT_EQ(std::get<std::uint32_t>(f.store.values.at("DisplayType")), 10u);
    EXPECT_EQ(std::get<std::uint32_t>(f.store.values.at("ConnectionType")), 0x02u);
    EXPECT_EQ(std::get<std::string>(f.store.values.at("ProjectFilePath")), project.ProjectPath());
    const auto lines = ReadLines(project.ProjectPath());
    ASSERT_EQ(lines.size(), 23u) << "the project file is written again at exit";
    EXPECT_EQ(lines[0], "[Pelor_Project_File]");
    EXPECT_EQ(lines[4], "Options.txt");
    EXPECT_EQ(lines[7], "Trip.csv");
    EXPECT_EQ(lines[20], "Boat.cdp");
}

using pelor::testing::ReadBytes;

// A broken project at start-up never damages the user's files: whatever the user answers
// (every chooser cancelled), the project file is byte for byte what it was and the settings
// still name it.
TEST(Dashboard, BrokenProjectsAreLeftAsTheyWereAndStayNamedInTheSettings) {
    struct Case {
        const char* legend;
        std::function<std::string(const std::string& valid)> content;
        std::vector<const char*> remove;  // table files missing from the folder
        std::deque<Answer> answers;       // to "Invalid Project File ..."
        bool runs;                        // whether the window comes up
    };
    auto firstLines = [](const std::string& text, int n) {
        std::size_t at = 0;
        for (int i = 0; i < n; ++i) at = text.find("\r\n", at) + 2;
        return text.substr(0, at);
    };
    const Case kCases[] = {
        {"empty, the user ends", [](const std::string&) { return std::string(); }, {}, {}, false},
        {"truncated after ten lines",
         [&](const std::string& v) { return firstLines(v, 10); },
         {},
         {},
         true},
        {"cut in the middle of a line",
         [&](const std::string& v) { return firstLines(v, 5) + "Cal0.t"; },
         {},
         {},
         true},
        {"wrong version, the user ends",
         [](const std::string& v) {
             return "[Pelor_Project_File]\r\n[Version 2.00]" + v.substr(36);
         },
         {},
         {Answer::No},
         false},
        {"wrong version, the user cancels the chooser and then ends",
         [](const std::string& v) {
             return "[Pelor_Project_File]\r\n[Version 2.00]" + v.substr(36);
         },
         {},
         {Answer::Yes, Answer::No},
         false},
        {"wrong type",
         [](const std::string& v) { return "[Something else]" + v.substr(20); },
         {},
         {Answer::No},
         false},
        {"tables missing, names with comments",
         [](const std::string& v) {
             std::string t = v;
             t.replace(t.find("Labels.txt"), 10, "Labels.txt ; flybridge");
             return t;
         },
         {"Labels.txt", "Cal3.txt", "Options.txt"},
         {},
         true},
    };
    for (const auto& c : kCases) {
        ScratchProject project;
        const std::string content = c.content(ReadBytes(project.ProjectPath()));
        { std::ofstream(project.ProjectPath(), std::ios::binary | std::ios::trunc) << content; }
        for (const char* name : c.remove) std::filesystem::remove(project.Dir() + name);

        Fixture f;
        f.store.values["ProjectFilePath"] = project.ProjectPath();
        f.prompt.answers = c.answers;
        EXPECT_EQ(f.dashboard.Initialise(f.hooks), c.runs) << c.legend;
        f.dashboard.Destroy(f.hooks);

        EXPECT_EQ(ReadBytes(project.ProjectPath()), content) << c.legend;
        EXPECT_EQ(std::get<std::string>(f.store.values.at("ProjectFilePath")),
                  project.ProjectPath())
            << c.legend;
        // Every chooser says what it asks for.
        for (const auto& s : f.prompt.shown) {
            if (s.isFileDialog) {
                EXPECT_FALSE(s.dialog.title.empty()) << c.legend;
            }
        }
    }
}

TEST(Dashboard, StartUpMessagesNameTheFileTheyAreAbout) {
    ScratchProject project;
    { std::ofstream(project.ProjectPath(), std::ios::binary) << "[Pelor_Project_File]\r\n"; }
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    EXPECT_FALSE(f.dashboard.Initialise(f.hooks));
    ASSERT_GE(f.prompt.shown.size(), 2u);
    EXPECT_EQ(f.prompt.shown[0].text, "Error Reading from file");
    EXPECT_EQ(f.prompt.shown[0].detail, project.ProjectPath());
    EXPECT_EQ(f.prompt.shown[1].text,
              "Invalid Project File . Click YES to reload new project file");
    EXPECT_EQ(f.prompt.shown[1].detail, project.ProjectPath());
    f.dashboard.Destroy(f.hooks);
}

// A project named for one run (the command line) is opened in place of the saved one and
// remembered only once it opened: refused, the saved path stays as it was.
TEST(Dashboard, AProjectForThisRunIsRememberedOnlyWhenItOpens) {
    ScratchProject saved;
    ScratchProject chosen;
    { std::ofstream(chosen.Dir() + "random.cdp", std::ios::binary) << "\x13\x88garbage\r\n"; }
    struct Case {
        const char* legend;
        std::string forThisRun;
        bool runs;
        std::string remembered;
    };
    const Case cases[] = {
        {"refused (No to the question)", chosen.Dir() + "random.cdp", false, saved.ProjectPath()},
        {"opened", chosen.ProjectPath(), true, chosen.ProjectPath()},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.store.values["ProjectFilePath"] = saved.ProjectPath();
        f.dashboard.projectForThisRun = c.forThisRun;
        EXPECT_EQ(f.dashboard.Initialise(f.hooks), c.runs) << c.legend;
        f.dashboard.Destroy(f.hooks);
        EXPECT_EQ(std::get<std::string>(f.store.values.at("ProjectFilePath")), c.remembered)
            << c.legend;
    }
}

// The page layout changed since the page file was read (a label menu choice, CLEAR): the way
// out asks "Save Page Definations?"; Yes writes the page file, No leaves it, Cancel stays.
TEST(Dashboard, QuittingWithAChangedLayoutAsksToSaveThePages) {
    ScratchProject project;
    const std::string pagePath = project.Dir() + "Pages.txt";
    const std::string pagesBefore = ReadBytes(pagePath);
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    EXPECT_TRUE(f.dashboard.KeepPagesBeforeQuit(true));
    EXPECT_TRUE(f.prompt.shown.empty()) << "nothing changed: nothing asked";

    f.dashboard.labelModes[0][3] = 6;  // the label menu gave position 3 a dial
    f.dashboard.labelCells[0][3] = 9;
    f.prompt.answers = {Answer::Cancel};
    EXPECT_FALSE(f.dashboard.KeepPagesBeforeQuit(true)) << "Cancel stays";
    ASSERT_EQ(f.prompt.MessageTexts(), (std::vector<std::string>{"Save Page Definations?"}));
    EXPECT_EQ(f.prompt.shown[0].caption, "Status");
    EXPECT_EQ(f.prompt.shown[0].buttons, core::MessageButtons::YesNoCancel);
    EXPECT_EQ(ReadBytes(pagePath), pagesBefore);

    f.prompt.answers = {Answer::No};
    EXPECT_TRUE(f.dashboard.KeepPagesBeforeQuit(true));
    EXPECT_EQ(ReadBytes(pagePath), pagesBefore) << "No leaves the page file";
    EXPECT_TRUE(f.dashboard.KeepPagesBeforeQuit(true));
    EXPECT_EQ(f.prompt.MessageTexts().size(), 2u) << "asked once on the way out";

    f.dashboard.labelModes[1][0] = 1;
    f.prompt.answers = {Answer::Yes};
    EXPECT_TRUE(f.dashboard.KeepPagesBeforeQuit(true));
    const auto lines = ReadLines(pagePath);
    ASSERT_GT(lines.size(), 260u);
    EXPECT_EQ(lines[1 + 3].substr(0, 6), "db %06") << lines[1 + 3];
    EXPECT_EQ(lines[1 + 16].substr(0, 6), "db %01") << lines[1 + 16];
    EXPECT_EQ(lines[1 + 256 + 3].substr(0, 6), "db %09") << lines[1 + 256 + 3];
    EXPECT_FALSE(f.dashboard.PagesUnsaved());

    // After SAVE wrote the page file nothing is asked.
    f.dashboard.labelModes[2][2] = 4;
    f.prompt.answers = {Answer::No, Answer::Yes};  // labels: No; pages: Yes
    f.dashboard.SaveLabelsAndPages();
    f.prompt.shown.clear();
    EXPECT_TRUE(f.dashboard.KeepPagesBeforeQuit(true));
    EXPECT_TRUE(f.prompt.shown.empty());
    f.dashboard.Destroy(f.hooks);
}

TEST(Dashboard, StartUpChoosersSayWhichTableTheyAskFor) {
    ScratchProject project;
    std::filesystem::remove(project.Dir() + "Cal3.txt");
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    ASSERT_EQ(f.prompt.FileDialogCount(), 1u);
    EXPECT_EQ(f.prompt.shown[0].dialog.title,
              "Select the calibration table 3 file (Cal3.txt could not be opened)");
    f.dashboard.Destroy(f.hooks);
}

TEST(Dashboard, ConnectsAtStartWhenTheSettingSaysSo) {
    ScratchProject project;
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    f.store.values["ConnectionType"] = 0x81u;  // TCP text, connect at start
    f.store.values["IPAddress"] = std::string("127.0.0.1");
    f.store.values["TCPPort"] = static_cast<std::uint32_t>(pelor::testing::FreeTcpPort());
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    EXPECT_EQ(f.prompt.MessageTexts(),
              (std::vector<std::string>{"Unable to Initialize  TCP connection"}))
        << "the Connect command ran during start-up";
    EXPECT_FALSE(f.dashboard.Links().Connected());
    f.dashboard.Destroy(f.hooks);
    EXPECT_EQ(std::get<std::uint32_t>(f.store.values.at("ConnectionType")), 0x81u);
}

TEST(Dashboard, EndsWhenNoProjectDirectoryCanBeFound) {
    Fixture f;  // no "ProjectFilePath"; every dialog cancelled
    EXPECT_FALSE(f.dashboard.Initialise(f.hooks));
    const auto texts = f.prompt.MessageTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Failed to find Project Dir - exiting program");
    EXPECT_EQ(f.prompt.shown.back().caption, "Error");
    EXPECT_TRUE(f.hooks.calls.empty()) << "nothing of the window was prepared";
    f.dashboard.Destroy(f.hooks);
    EXPECT_EQ(f.store.writeOrder.size(), 19u) << "settings are still saved on the way out";
}

TEST(Dashboard, EndsWhenTheProjectIsInvalidAndTheUserAnswersNo) {
    ScratchProject project;
    {
        std::ofstream(project.ProjectPath(), std::ios::binary)
            << "[Pelor_Project_File]\r\n[Version 2.00]\r\n";
    }
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    f.prompt.answers = {Answer::No};
    EXPECT_FALSE(f.dashboard.Initialise(f.hooks));
    EXPECT_EQ(
        f.prompt.MessageTexts(),
        (std::vector<std::string>{"Incorrect Project file version",
                                  "Invalid Project File . Click YES to reload new project file"}));
    EXPECT_EQ(f.prompt.shown.back().caption, "Status");
}

TEST(Dashboard, NextPageWrapsAtThePageCountOfOneOrTwoDisplays) {
    struct Case {
        int pageCount;
        bool dual;
        int from;
        int want;
        const char* legend;
    };
    const Case cases[] = {
        {5, false, 4, 0, "single display wraps at the page count"},
        {5, false, 2, 3, "single display steps"},
        {14, true, 2, 3, "dual display steps"},
        {14, true, 7, 8, "dual display: on to the second display's pages"},
        {14, true, 13, 0, "dual display: 14 pages wrap after the second display's sixth"},
        {0, false, 0, 0, "no pages: always page 0"},
    };
    for (const auto& c : cases) {
        ScratchProject project(c.pageCount, 10, c.dual);
        Fixture f;
        f.store.values["ProjectFilePath"] = project.ProjectPath();
        ASSERT_TRUE(f.dashboard.Initialise(f.hooks)) << c.legend;
        f.dashboard.page.m_nCurrentPage = c.from;
        f.dashboard.channels.m_PosMode[3] = 6;
        const int repaints = f.view.RepaintCount();
        f.dashboard.NextPage();
        EXPECT_EQ(f.dashboard.page.m_nCurrentPage, c.want) << c.legend;
        EXPECT_EQ(f.dashboard.channels.m_PosMode[3], 0) << c.legend;
        EXPECT_EQ(f.dashboard.channels.m_bRedrawAll, 1) << c.legend;
        EXPECT_EQ(f.view.RepaintCount(), repaints + 1) << c.legend;
    }
}

TEST(Dashboard, ShutDownStopsEveryReaderAndReportsOneThatWillNotStop) {
    ScratchProject project;
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    std::atomic<bool> serialEnded{false};
    f.dashboard.ReaderFor(app::Reader::Serial).Start([&](std::stop_token token) {
        while (!token.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        serialEnded = true;
    });
    f.dashboard.readerStopGrace = std::chrono::milliseconds(20);
    f.dashboard.ReaderFor(app::Reader::Tcp).Start([](std::stop_token) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    f.dashboard.Destroy(f.hooks);
    EXPECT_TRUE(serialEnded);
    EXPECT_FALSE(f.dashboard.ReaderFor(app::Reader::Serial).Running());
    EXPECT_FALSE(f.dashboard.ReaderFor(app::Reader::Tcp).Running()) << "joined even when late";
    EXPECT_EQ(f.prompt.MessageTexts(),
              (std::vector<std::string>{"Unable terminate TCP read thread"}));
    EXPECT_EQ(f.hooks.calls.back(), "ReleaseDrawing");
}

// A loopback server that accepts one client; Close() hangs up as a unit that was switched off.
class OneClientServer {
public:
    OneClientServer() {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~OneClientServer() {
        Close();
        ::close(listen_);
    }
    int Port() const { return port_; }
    void Accept() { client_ = ::accept(listen_, nullptr, nullptr); }
    void Send(const std::string& text) { (void)!::write(client_, text.data(), text.size()); }
    void Close() {
        if (client_ >= 0) ::close(client_);
        client_ = -1;
    }

private:
    int listen_ = -1;
    int client_ = -1;
    int port_ = 0;
};

TEST(Dashboard, ALinkWhoseReaderEndsIsClosedAndSaidSoAndItsValuesTurnStale) {
    ScratchProject project;
    OneClientServer unit;
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    f.store.values["ConnectionType"] = 0x81u;  // TCP text, connect at start
    f.store.values["IPAddress"] = std::string("127.0.0.1");
    f.store.values["TCPPort"] = static_cast<std::uint32_t>(unit.Port());
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    unit.Accept();
    ASSERT_TRUE(f.dashboard.Links().Connected());
    f.dashboard.Watch();
    EXPECT_EQ(f.dashboard.StaleMask(), 0);

    // Values arrive; the unit then goes quiet for the stale time: its gauges turn stale.
    unit.Send(std::string("$IIXDR,G,  12##10,U,RPM     0*00\r") + std::string(60, ' '));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (f.dashboard.channels.UpdateCount[0] == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    f.dashboard.Watch();
    EXPECT_EQ(f.dashboard.StaleMask() & 1, 0) << "channel 0 just got a value";
    f.clock.AdvanceMs(10000);
    f.dashboard.Watch();
    EXPECT_EQ(f.dashboard.StaleMask(), 0xFFFF) << "10 s without a value";
    EXPECT_EQ(f.dashboard.channels.m_bRedrawAll, 0) << "the change is drawn with the gauges";

    // The unit hangs up: within two seconds the link is closed and the caption says so.
    unit.Close();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (f.dashboard.Links().Connected() && std::chrono::steady_clock::now() < until) {
        f.dashboard.Watch();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_FALSE(f.dashboard.Links().Connected());
    EXPECT_EQ(f.dashboard.Caption(), "disconnected - link lost");
    EXPECT_EQ(f.view.ButtonPicture(1006), "CONNECT170_171");
    EXPECT_TRUE(f.prompt.MessageTexts().empty());
    f.dashboard.Destroy(f.hooks);
}

TEST(Dashboard, AManualDisconnectMakesTheShownValuesStaleAndHoldOrPlaybackSayWhatTheyAre) {
    ScratchProject project;
    OneClientServer unit;
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    f.store.values["ConnectionType"] = 0x81u;
    f.store.values["IPAddress"] = std::string("127.0.0.1");
    f.store.values["TCPPort"] = static_cast<std::uint32_t>(unit.Port());
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    unit.Accept();
    f.dashboard.Watch();
    EXPECT_EQ(f.dashboard.Banner(), "");
    f.dashboard.ToggleHold();
    EXPECT_EQ(f.dashboard.Banner(), "HOLD");
    const int repaints = f.view.RepaintCount();
    f.dashboard.Watch();
    EXPECT_GT(f.view.RepaintCount(), repaints) << "the banner is drawn at once";
    f.dashboard.ToggleHold();

    f.dashboard.ToggleConnection();
    ASSERT_FALSE(f.dashboard.Links().Connected());
    f.dashboard.Watch();
    EXPECT_EQ(f.dashboard.StaleMask(), 0xFFFF);
    EXPECT_EQ(f.dashboard.Caption(), "disconnected");
    f.dashboard.Destroy(f.hooks);
}

// A paint hands its picture over; the next step writes the newest one, once. A bitmap that
// cannot be written is reported once and web output stops; shut-down writes a picture no
// step has written yet.
TEST(Dashboard, TheStepWritesTheLastPaintsWebBitmap) {
    ScratchProject project;
    Fixture f;
    f.store.values["ProjectFilePath"] = project.ProjectPath();
    ASSERT_TRUE(f.dashboard.Initialise(f.hooks));
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    };
    const auto picture = [](std::uint8_t value) {
        display::RgbBuffer image;
        image.width = 3;
        image.height = 2;
        image.pixels.assign(18, value);
        return image;
    };
    const std::string path = project.Dir() + "web.bmp";
    const std::string missing = project.Dir() + "no-such-folder/web.bmp";
    tables::Project& p = f.dashboard.project;
    p.webBitmapEnabled = true;
    p.webBitmapPath = path;

    f.dashboard.KeepWebBitmap(picture(1));
    f.dashboard.KeepWebBitmap(picture(2));
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is written before the step";
    f.dashboard.Watch();
    EXPECT_EQ(bytesOf(path), display::EncodeWebBitmap(picture(2)));
    std::filesystem::remove(path);
    f.dashboard.Watch();
    EXPECT_FALSE(std::filesystem::exists(path)) << "a picture is written once";

    p.webBitmapPath = missing;
    for (int paint = 0; paint < 2; ++paint) {
        f.dashboard.KeepWebBitmap(picture(3));
        f.dashboard.Watch();
    }
    EXPECT_EQ(f.prompt.MessageTexts(), (std::vector<std::string>{"Could not Open " + missing}));
    EXPECT_FALSE(p.webBitmapEnabled);

    p.webBitmapEnabled = true;
    p.webBitmapPath = path;
    f.dashboard.KeepWebBitmap(picture(4));
    f.dashboard.Destroy(f.hooks);
    EXPECT_EQ(bytesOf(path), display::EncodeWebBitmap(picture(4)));
}

}  // namespace
