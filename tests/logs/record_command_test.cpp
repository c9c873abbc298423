// The record command: path and extension rules, the read-only test that starts playback,
// the chooser, stop, and what happens when the log cannot be written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "logs/capture.h"
#include "logs/record_button.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

struct RecordTest : CaptureFixture, ::testing::Test {
    std::vector<std::string> Messages() const { return prompt.MessageTexts(); }
};

TEST_F(RecordTest, RefusesMissingOrUnknownExtensions) {
    struct Case {
        const char* name;
        const char* legend;
    } const kCases[] = {{"", "empty path"},
                        {"LOG.CSV", "capital extension"},
                        {"log.dat", "unknown extension"},
                        {"cs", "shorter than an extension"}};
    for (const auto& c : kCases) {
        prompt.shown.clear();
        capture->SetLogPath(*c.name == '\0' ? std::string() : dir.Path(c.name));
        capture->OnRecord();
        EXPECT_EQ(Messages(), std::vector<std::string>{"No Log file path specified"}) << c.legend;
        EXPECT_EQ(prompt.shown.at(0).caption, "Error") << c.legend;
        EXPECT_FALSE(capture->Recording()) << c.legend;
    }
}

TEST_F(RecordTest, StartAndStopSetStateButtonAndCaption) {
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        store.LastSentence[0] = "kept";
        store.LastSentence[10] = "replaced";
    }
    capture->SetLogPath(dir.Path("a.txt"));
    capture->OnRecord();
    EXPECT_TRUE(capture->Recording());
    EXPECT_EQ(capture->Kind(), LogKind::Text);
    EXPECT_EQ(view.ButtonPicture(kRecordButtonId), kRecordActivePicture);
    EXPECT_EQ(store.m_strLinkStatus, " recording .");
    EXPECT_EQ(store.LastSentence[0], "kept");
    EXPECT_EQ(store.LastSentence[10], "$IIXDR,G, 0000000,G,NOTUSED A*00\r");
    EXPECT_EQ(store.LastSentence[15], "$IIXDR,G, 0000000,G,NOTUSED F*00\r");

    capture->OnRecord();  // the same toggle stops
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(view.ButtonPicture(kRecordButtonId), kRecordIdlePicture);
    EXPECT_EQ(view.Caption(), "Log Complete");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RecordTest, ChooserSetsThePathOnlyOnOk) {
    prompt.files.push_back(dir.Path("chosen.csv"));
    prompt.files.push_back(std::nullopt);
    capture->ChooseLogFile();
    EXPECT_EQ(capture->LogPath(), dir.Path("chosen.csv"));
    capture->ChooseLogFile();
    EXPECT_EQ(capture->LogPath(), dir.Path("chosen.csv"));
    const auto& request = prompt.shown.at(0).dialog;
    EXPECT_FALSE(request.open);
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.initialName, "Pelor_Log");
    EXPECT_FALSE(request.overwritePrompt) << "choosing a log to play must not ask to replace it";
    EXPECT_EQ(request.filter,
              "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files "
              "(*.ebl)|*.ebl|Text Files (*.txt)|*.txt||");
}

TEST_F(RecordTest, ReadOnlyLogStartsPlaybackAndTheToggleStopsIt) {
    const std::string path = dir.Path("played.csv");
    WriteAll(path, "Date Time, Count,\r\n");
    MakeReadOnly(path);
    capture->SetLogPath(path);
    capture->OnRecord();
    EXPECT_TRUE(capture->PlayingBack());
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(window.opened, 1);
    EXPECT_EQ(view.Caption(), "playing back log ") << "a playback never says it records";
    capture->OnRecord();
    EXPECT_FALSE(capture->PlayingBack());
    EXPECT_FALSE(playback->Running());
    EXPECT_EQ(window.closed, 1);
    EXPECT_EQ(view.Caption(), "Log Complete");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RecordTest, LogThatCannotBeCreatedGivesMessageAndNoRecording) {
    WriteAll(dir.Path("file"), "x");
    const std::string kPaths[] = {dir.Path("missing/log.csv"), dir.Path("file/log.txt"),
                                  dir.Path("file/log.ebl")};
    for (const auto& path : kPaths) {
        prompt.shown.clear();
        capture->SetLogPath(path);
        capture->OnRecord();
        EXPECT_EQ(Messages(), std::vector<std::string>{"Could not Open Capture File\n" + path})
            << "the message names the file";
        EXPECT_FALSE(capture->Recording()) << path;
    }
}

TEST_F(RecordTest, FullDiskStopsRecordingWithMessage) {
    for (const char* path : {"/dev/full"}) {
        // "/dev/full" has no extension of ours: record into it through a link with one.
        const std::string link = dir.Path("full.csv");
        ASSERT_EQ(::symlink(path, link.c_str()), 0);
        capture->SetLogPath(link);
        capture->SetCaptureInterval(0);
        capture->OnRecord();
        ASSERT_TRUE(capture->Recording());
        Ticks(1, 1);
        EXPECT_FALSE(capture->Recording());
        EXPECT_EQ(Messages(), std::vector<std::string>{"Error Writing to file"});
        Ticks(2, 1);  // further ticks write nothing and say nothing
        EXPECT_EQ(Messages().size(), 1u);
        capture->Stop();
        EXPECT_EQ(Messages().size(), 1u);
    }
}

TEST_F(RecordTest, FullDiskOnWebPageAndFrames) {
    const std::string link = dir.Path("full.txt");
    ASSERT_EQ(::symlink("/dev/full", link.c_str()), 0);
    capture->SetLogPath(link);
    capture->OnRecord();
    std::lock_guard<std::mutex> lock(store.mutex);
    EXPECT_FALSE(capture->WriteRawText(store, "$IIXDR\r\n"));
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error Writing to file"});
}

TEST_F(RecordTest, WebPageThatCannotBeBuiltStopsRecording) {
    capture->SetLogPath(dir.Path("page.htm"));
    WriteAll(dir.Path("file"), "x");
    capture->SetWebDataPath(dir.Path("file/WebData.htm"));
    capture->OnRecord();
    Ticks(1, 1);
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Could not Open Capture File\n" +
                                                   dir.Path("file/WebData.htm")});
}

TEST_F(RecordTest, RecordingAndPlaybackNeverRunTogether) {
    const std::string played = dir.Path("played.txt");
    WriteAll(played, Sentence(" 850##C4", "RPM     ", '0') + "\r\n");
    MakeReadOnly(played);
    const std::string recorded = dir.Path("recorded.txt");

    // Playing back, a writable log is chosen: the toggle only stops the playback.
    capture->SetLogPath(played);
    capture->OnRecord();
    ASSERT_TRUE(capture->PlayingBack());
    capture->SetLogPath(recorded);
    capture->OnRecord();
    EXPECT_FALSE(capture->PlayingBack());
    EXPECT_FALSE(capture->Recording());
    EXPECT_FALSE(playback->Running());

    // Recording, the log path turns into a play source: the toggle only stops the recording.
    capture->OnRecord();
    ASSERT_TRUE(capture->Recording());
    EXPECT_EQ(view.Caption(), " recording .") << "no \"Log Complete\" left from before";
    capture->SetLogPath(played);
    capture->OnRecord();
    EXPECT_FALSE(capture->Recording());
    EXPECT_FALSE(capture->PlayingBack());
    EXPECT_EQ(window.opened, 1);

    // Choosing a new log while one plays back ends the playback first.
    capture->OnRecord();
    ASSERT_TRUE(capture->PlayingBack());
    prompt.files.push_back(recorded);
    capture->ChooseLogFile();
    EXPECT_FALSE(capture->PlayingBack());
    EXPECT_EQ(capture->LogPath(), recorded);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RecordTest, ChoosingAnEblThatRecordingWouldEmptyAsksFirst) {
    const std::string ebl = dir.Path("frames.ebl");
    WriteAll(ebl, "\x10\x02\x93");
    capture->SetLogPath(dir.Path("before.csv"));
    prompt.files.push_back(ebl);
    prompt.answers.push_back(core::Answer::No);
    capture->ChooseLogFile();
    EXPECT_EQ(capture->LogPath(), dir.Path("before.csv"));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown.at(1).caption, "Status");
    EXPECT_EQ(prompt.shown.at(1).text.rfind(ebl + "\n", 0), 0u) << prompt.shown.at(1).text;

    prompt.files.push_back(ebl);
    prompt.answers.push_back(core::Answer::Yes);
    capture->ChooseLogFile();
    EXPECT_EQ(capture->LogPath(), ebl);
    // Agreed in the chooser: RECORD does not ask again.
    const std::size_t asked = prompt.shown.size();
    capture->OnRecord();
    EXPECT_TRUE(capture->Recording());
    capture->Stop();
    EXPECT_EQ(prompt.shown.size(), asked);
    WriteAll(ebl, "\x10\x02\x93");

    // A read-only one is a log to play: no question.
    MakeReadOnly(ebl);
    const std::size_t before = prompt.shown.size();
    prompt.files.push_back(ebl);
    capture->ChooseLogFile();
    EXPECT_EQ(prompt.shown.size(), before + 1) << "only the chooser";
}

TEST_F(RecordTest, TheProjectsTablesAndProjectFileAreNeverALog) {
    const std::string table = "[TABLE][8B00][8][256]\r\ndb '  12.0 1' first row\r\n";
    WriteAll(dir.Path("DemoCal11.txt"), table);
    WriteAll(dir.Path("Demo.cdp"), "[Pelor_Project_File]\r\n");
    capture->SetReservedFiles([this] {
        return std::vector<std::string>{dir.Path("Demo.cdp"), dir.Path("DemoCal11.txt"),
                                        dir.Path("NotMadeYet.txt")};
    });
    const std::string refusal =
        "This file is a table or the project file of the open project and cannot be a log. "
        "Choose another file for the log.";

    // The chooser lists them: choosing one is refused and keeps the log that was chosen.
    capture->SetLogPath(dir.Path("before.csv"));
    for (const char* name : {"DemoCal11.txt", "Demo.cdp"}) {
        prompt.shown.clear();
        prompt.files.push_back(dir.Path(name));
        capture->ChooseLogFile();
        EXPECT_EQ(capture->LogPath(), dir.Path("before.csv")) << name;
        EXPECT_EQ(Messages(), std::vector<std::string>{refusal}) << name;
        EXPECT_EQ(prompt.shown.back().detail, dir.Path(name));
        EXPECT_EQ(prompt.shown.back().caption, "Error");
    }

    // A log path from elsewhere (the project's log line, the FILES page) is refused when
    // recording would start, however it is spelled, and whether or not the table exists yet.
    const std::string kPaths[] = {dir.Path("DemoCal11.txt"), dir.Path("./DemoCal11.txt"),
                                  dir.Path("NotMadeYet.txt")};
    for (const auto& path : kPaths) {
        prompt.shown.clear();
        capture->SetLogPath(path);
        capture->OnRecord();
        EXPECT_FALSE(capture->Recording()) << path;
        EXPECT_EQ(Messages(), std::vector<std::string>{refusal}) << path;
    }
    EXPECT_EQ(ReadAll(dir.Path("DemoCal11.txt")), table);
    EXPECT_EQ(ReadAll(dir.Path("Demo.cdp")), "[Pelor_Project_File]\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("NotMadeYet.txt")));

    // Any other log records as before.
    prompt.shown.clear();
    capture->SetLogPath(dir.Path("Run.txt"));
    capture->OnRecord();
    EXPECT_TRUE(capture->Recording());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RecordTest, AddingToALogThatHoldsDataIsAskedFirst) {
    const std::string path = dir.Path("old.txt");
    WriteAll(path, "earlier\r\n");
    capture->SetLogPath(path);
    prompt.answers.push_back(core::Answer::No);
    capture->OnRecord();
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(ReadAll(path), "earlier\r\n");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "Status");
    EXPECT_EQ(prompt.shown[0].buttons, core::MessageButtons::YesNo);
    EXPECT_EQ(prompt.shown[0].text.rfind(path + "\n", 0), 0u) << prompt.shown[0].text;

    prompt.answers.push_back(core::Answer::Yes);
    capture->OnRecord();
    EXPECT_TRUE(capture->Recording());
    capture->OnRecord();
    EXPECT_FALSE(capture->Recording());
    // Once agreed (or recorded into), the same log is not asked about again.
    capture->OnRecord();
    EXPECT_TRUE(capture->Recording());
    capture->Stop();
    EXPECT_EQ(prompt.shown.size(), 2u);

    // An ".ebl" log named elsewhere (not through the chooser) would be emptied: asked too.
    const std::string ebl = dir.Path("frames.ebl");
    WriteAll(ebl, "\x10\x02\x93");
    prompt.shown.clear();
    capture->SetLogPath(ebl);
    prompt.answers.push_back(core::Answer::No);
    capture->OnRecord();
    EXPECT_FALSE(capture->Recording());
    EXPECT_EQ(ReadAll(ebl), "\x10\x02\x93");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("starts it anew"), std::string::npos);

    // New and empty logs are not asked about.
    WriteAll(dir.Path("empty.csv"), "");
    for (const char* name : {"empty.csv", "new.csv"}) {
        prompt.shown.clear();
        capture->SetLogPath(dir.Path(name));
        capture->OnRecord();
        EXPECT_TRUE(capture->Recording()) << name;
        EXPECT_TRUE(prompt.shown.empty()) << name;
        capture->Stop();
    }
}

TEST_F(RecordTest, StopLeavesEveryRowOnDisk) {
    capture->SetLogPath(dir.Path("rows.txt"));
    capture->SetCaptureInterval(0);
    capture->OnRecord();
    Ticks(50, 0);
    capture->Stop();
    const std::string text = ReadAll(dir.Path("rows.txt"));
    std::size_t lines = 0;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 1))
        ++lines;
    EXPECT_EQ(lines, 50u);
    EXPECT_NE(text.find(",000049,"), std::string::npos);
}

}  // namespace
}  // namespace pelor::logs::testing
