// Byte-exact capture logs of every kind, written through the record command and the capture
// tick with a manual clock, compared with checked-in expected files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "logs/capture.h"
#include "logs/record_button.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

std::string Expected(const std::string& name) {
    return ReadAll(std::string(PELOR_SOURCE_DIR "/tests/logs/data/") + name);
}

// Compares `actual` with the expected file; PELOR_REBUILD_EXPECTED=1 rewrites the file instead.
void ExpectFile(const std::string& actual, const std::string& name) {
    if (std::getenv("PELOR_REBUILD_EXPECTED") != nullptr) {
        WriteAll(std::string(PELOR_SOURCE_DIR "/tests/logs/data/") + name, actual);
    }
    EXPECT_EQ(actual, Expected(name)) << name;
}

struct WriterTest : CaptureFixture, ::testing::Test {
    // Channel 0 and 3 carry live sentences; the unit's D and S sentences are known.
    void FeedSentences() {
        std::lock_guard<std::mutex> lock(store.mutex);
        store.LastSentence[0] = Sentence("12.5##A0", "DEPTH###", '0');
        store.LastSentence[3] = Sentence("-3.2##1F", "WTEMP###", '3');
        store.LastDSentence = "$PKZLS,D,BATTERY 12.6V OK      *";
        store.LastSSentence = "$PKZLS,S,101000000000****,*1A00";
    }
    void Start(const std::string& name, int interval) {
        capture->SetLogPath(dir.Path(name));
        capture->SetCaptureInterval(interval);
        capture->OnRecord();
        ASSERT_TRUE(capture->Recording()) << name;
        FeedSentences();
    }
    std::vector<std::uint8_t> TwoFramesAndACut() {
        std::vector<std::uint8_t> batch =
            Frame(128267, 0x23, 0x00012345, {0x01, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x00, 0xFF});
        const auto second =
            Frame(130306, 0x10, 0x00012399, {0x00, 0x10, 0x02, 0x3C, 0x11, 0xFA, 0xFF, 0xFF});
        batch.insert(batch.end(), second.begin(), second.end());
        auto cut = Frame(127250, 0x05, 0x000123AA, {0x00, 0x10, 0x27, 0, 0, 0, 0, 0xFD});
        cut.resize(cut.size() - 6);
        batch.insert(batch.end(), cut.begin(), cut.end());
        return batch;
    }
    void WriteFrames(std::span<const std::uint8_t> batch) {
        std::lock_guard<std::mutex> lock(store.mutex);
        EXPECT_TRUE(capture->WriteAdapterFrames(store, batch));
    }
};

TEST_F(WriterTest, CsvHeaderAtFirstTickAndRowsAfterWithIntervalZero) {
    Start("log.csv", 0);
    Ticks(3, 0);
    EXPECT_EQ(capture->Kind(), LogKind::CsvRows);
    EXPECT_EQ(store.m_strLinkStatus, " recording ... 3");
    capture->Stop();
    ExpectFile(ReadAll(dir.Path("log.csv")), "interval0.csv");
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

TEST_F(WriterTest, CsvRowsAtLeastFiveSecondsApartWithIntervalFive) {
    Start("log.csv", 5);
    Ticks(4, 1);  // 19:49:04: nothing yet
    EXPECT_EQ(capture->RecordCount(), 0);
    Ticks(1, 1);  // 19:49:05: header
    EXPECT_EQ(capture->RecordCount(), 1);
    Ticks(4, 1);
    EXPECT_EQ(capture->RecordCount(), 1);
    Ticks(6, 1);  // 19:49:10 row 1, 19:49:15 row 2
    capture->Stop();
    ExpectFile(ReadAll(dir.Path("log.csv")), "interval5.csv");
}

TEST_F(WriterTest, ShortFirstSentenceGivesDashColumnInHeaderAndRows) {
    Start("short.csv", 0);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        store.LastSentence[0] = "$IIXDR,G,12.5##A0,G,DEPT*00\r";  // 29 characters: too short
    }
    Ticks(2, 0);
    capture->Stop();
    const std::string text = ReadAll(dir.Path("short.csv"));
    EXPECT_EQ(text.find("Date Time, Count,--------,NOTUSED ,1 ,"), 0u) << text;
    EXPECT_NE(text.find(",000001,--------, 000,  1,"), std::string::npos) << text;
}

TEST_F(WriterTest, ExistingCsvWithoutAHeaderIsAppendedWithOne) {
    WriteAll(dir.Path("old.csv"), "earlier\r\n");
    prompt.answers.push_back(core::Answer::Yes);  // add to the file that holds data
    Start("old.csv", 0);
    Ticks(2, 1);
    capture->Stop();
    const std::string text = ReadAll(dir.Path("old.csv"));
    EXPECT_EQ(text.rfind("earlier\r\nDate Time, Count,", 0), 0u) << text;
}

TEST_F(WriterTest, RecordingAgainIntoACsvLogAddsRowsWithoutASecondHeader) {
    // A log as an earlier recording left it: its header and rows 000001 and 000002.
    const std::string earlier = Expected("interval0.csv");
    WriteAll(dir.Path("log.csv"), earlier);
    prompt.answers.push_back(core::Answer::Yes);
    Start("log.csv", 0);
    EXPECT_EQ(capture->Kind(), LogKind::CsvRows);
    Ticks(2, 0);
    capture->Stop();
    // The same sentences at the same time: the new rows are the earlier rows again, numbered
    // from 1, right after them.
    const std::string rows = earlier.substr(earlier.find('\n') + 1);
    EXPECT_EQ(ReadAll(dir.Path("log.csv")), earlier + rows);
    EXPECT_EQ(prompt.MessageTexts().size(), 1u) << "only the question before adding";
}

TEST_F(WriterTest, TextLogHoldsRowsRawTextAndFrameSentences) {
    Start("log.txt", 0);
    Ticks(2, 1);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        EXPECT_TRUE(capture->WriteRawText(store, "$PKZLS,V,2.14,*00\r\nraw\r"));
        EXPECT_EQ(store.m_strTitlePrefix, " recording ... ");
    }
    WriteFrames(TwoFramesAndACut());
    EXPECT_EQ(capture->RecordCount(), 3);
    capture->Stop();
    ExpectFile(ReadAll(dir.Path("log.txt")), "rows_and_frames.txt");
}

TEST_F(WriterTest, FrameSentencesCarryTheirOwnChecksums) {
    std::string out;
    std::basic_string<std::uint8_t> scratch;
    const auto batch = TwoFramesAndACut();
    AppendFrameSentences(out, batch, scratch);
    // The second frame holds a 0x10 source and payload byte: both come out unstuffed.
    EXPECT_EQ(out,
              "$PKZLN,01F50B,00012345,23,01E80300000000FF*3C\r"
              "$PKZLN,01FD02,00012399,10,0010023C11FAFFFF*37\r");
}

TEST_F(WriterTest, WebLogIsRebuiltEachTickAndCopiedOverTheLogPath) {
    Start("log.htm", 0);
    Ticks(1, 1);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        store.LastSentence[0] = Sentence("13.0##A4", "DEPTH###", '0');
    }
    Ticks(1, 1);
    EXPECT_EQ(store.m_strLinkStatus, " recording ... 2");
    capture->Stop();
    const std::string page = ReadAll(dir.Path("log.htm"));
    ExpectFile(page, "page.htm");
    EXPECT_EQ(ReadAll(dir.Path("WebData.htm")), page);
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

TEST_F(WriterTest, WebLogFramesBecomeThePageBody) {
    Start("frames.htm", 0);
    WriteFrames(TwoFramesAndACut());
    capture->Stop();
    ExpectFile(ReadAll(dir.Path("frames.htm")), "frames.htm");
}

TEST_F(WriterTest, EblLogHoldsTheBatchesUnchangedAndIsEmptiedAtStart) {
    WriteAll(dir.Path("log.ebl"), "old bytes");
    prompt.answers.push_back(core::Answer::Yes);  // replace what the log holds
    Start("log.ebl", 0);
    const auto batch = TwoFramesAndACut();
    WriteFrames(batch);
    WriteFrames(batch);
    capture->Stop();
    std::string want(batch.begin(), batch.end());
    EXPECT_EQ(ReadAll(dir.Path("log.ebl")), want + want);
    EXPECT_EQ(capture->RecordCount(), 2);
}

TEST_F(WriterTest, FramesInACsvLogAreNotWrittenButCounted) {
    Start("log.csv", 0);
    WriteFrames(TwoFramesAndACut());
    capture->Stop();
    EXPECT_EQ(ReadAll(dir.Path("log.csv")), "");
}

TEST_F(WriterTest, SerialAdapterRecordsFramesOnlyAtATick) {
    Start("adapter.ebl", 5);
    const std::vector<std::uint8_t> batch = {1, 2, 3};
    for (int i = 0; i < 6; ++i) {
        clock.AdvanceSeconds(1);
        std::lock_guard<std::mutex> lock(store.mutex);
        capture->FrameTick(store, batch);
    }
    capture->Stop();
    EXPECT_EQ(ReadAll(dir.Path("adapter.ebl")), std::string("\x01\x02\x03"));
}

TEST_F(WriterTest, WritersDoNothingOnceStopped) {
    Start("log.htm", 0);
    capture->Stop();
    std::lock_guard<std::mutex> lock(store.mutex);
    EXPECT_FALSE(capture->WriteCaptureRow(store, LogKind::Text));
    EXPECT_FALSE(capture->WriteAdapterFrames(store, TwoFramesAndACut()));
    EXPECT_FALSE(capture->WriteRawText(store, "x"));
}

}  // namespace
}  // namespace pelor::logs::testing
