// Log files keep what the user set on them: a log reached through a symbolic link is written
// through it (the web log too, which is replaced whole at every row), the log keeps its
// permissions, and the converted table of a text log follows the same rules.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "logs/capture.h"
#include "logs/log_conversion.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool IsLink(const std::string& path) {
    return fs::is_symlink(fs::symlink_status(path));
}

struct LogFilesTest : CaptureFixture, ::testing::Test {};

TEST_F(LogFilesTest, EveryLogKindIsRecordedThroughALinkAndKeepsItsPermissions) {
    fs::create_directory(dir.Path("logs"));
    for (const char* ext : {"txt", "csv", "htm", "ebl"}) {
        const std::string target = dir.Path(std::string("logs/trip.") + ext);
        const std::string link = dir.Path(std::string("trip.") + ext);
        WriteAll(target, "");
        ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
        ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
        capture->SetLogPath(link);
        capture->SetCaptureInterval(0);
        capture->OnRecord();
        ASSERT_TRUE(capture->Recording()) << ext;
        {
            std::lock_guard<std::mutex> lock(store.mutex);
            store.LastSentence[0] = Sentence("13.0##A4", "DEPTH###", '0');
        }
        Ticks(2, 1);
        {
            std::lock_guard<std::mutex> lock(store.mutex);
            const std::vector<std::uint8_t> frame =
                Frame(127250, 1, 1000, {0, 0, 0, 0, 0, 0, 0, 0});
            capture->WriteAdapterFrames(store, frame);
        }
        capture->Stop();
        EXPECT_TRUE(prompt.MessageTexts().empty()) << ext;
        EXPECT_TRUE(IsLink(link)) << ext;
        EXPECT_FALSE(ReadAll(target).empty()) << ext;
        EXPECT_EQ(ModeOf(target), 0640u) << ext;
    }
    // The web log's last page was copied over the linked file, and nothing was left beside it.
    EXPECT_EQ(ReadAll(dir.Path("logs/trip.htm")), ReadAll(dir.Path("WebData.htm")));
    EXPECT_FALSE(fs::exists(dir.Path("logs/trip.htm.tmp~")));
}

TEST_F(LogFilesTest, ConvertedTableIsWrittenThroughALinkAndKeepsItsPermissions) {
    const std::string log = dir.Path("trip.txt");
    WriteAll(log, std::string(600, ' ') + "\r\n" + std::string(560, '1') + "\r\n");
    fs::create_directory(dir.Path("out"));
    WriteAll(dir.Path("out/trip.csv"), "old\r\n");
    ASSERT_EQ(::chmod(dir.Path("out/trip.csv").c_str(), 0604), 0);
    ASSERT_EQ(::symlink("out/trip.csv", dir.Path("trip.csv").c_str()), 0);
    const ConversionResult r = ConvertTextLog(log);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(IsLink(dir.Path("trip.csv")));
    EXPECT_EQ(ReadAll(dir.Path("out/trip.csv")).rfind("TIME , DATE, Index, ", 0), 0u);
    EXPECT_EQ(ModeOf(dir.Path("out/trip.csv")), 0604u);
}

TEST_F(LogFilesTest, ReadOnlyConvertedTableIsRefusedAndKept) {
    const std::string log = dir.Path("trip.txt");
    WriteAll(log, std::string(600, ' ') + "\r\n");
    WriteAll(dir.Path("trip.csv"), "keep me\r\n");
    MakeReadOnly(dir.Path("trip.csv"));
    const ConversionResult r = ConvertTextLog(log);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, dir.Path("trip.csv"));  // the output path, as for any open failure
    EXPECT_EQ(r.caption, "Error");
    EXPECT_EQ(ReadAll(dir.Path("trip.csv")), "keep me\r\n");
    EXPECT_EQ(ModeOf(dir.Path("trip.csv")), 0444u);
}

}  // namespace
}  // namespace pelor::logs::testing
