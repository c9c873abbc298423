#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using pelor::core::TextFile;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("pelor_core_" + name)).string();
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> ReadAllLines(const std::string& path, std::size_t buffer) {
    TextFile f;
    EXPECT_TRUE(f.Open(path, TextFile::Mode::Read));
    std::vector<std::string> lines;
    std::string line;
    while (f.ReadLine(line, buffer)) lines.push_back(line);
    return lines;
}

TEST(TextFile, WritesLineFeedsAsCrLfAndLeavesLoneCarriageReturns) {
    const std::string path = TempPath("write.txt");
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Write));
    ASSERT_TRUE(f.Write("[TABLE][6800][8][128]\n"));
    ASSERT_TRUE(f.Write("a\rb\n\n"));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadBytes(path), "[TABLE][6800][8][128]\r\na\rb\r\n\r\n");
}

TEST(TextFile, ReadsCrLfAsLineFeedAndSplitsLongLinesAtTheBuffer) {
    const std::string path = TempPath("read.txt");
    const std::string longLine(100, 'x');
    WriteBytes(path, "first\r\nlone\rcr\r\n" + longLine + "\r\nlast-no-end");
    struct Case {
        std::size_t buffer;
        std::vector<std::string> want;
        const char* legend;
    };
    const Case cases[] = {
        {80,
         {"first\n", "lone\rcr\n", std::string(79, 'x'), std::string(21, 'x') + "\n",
          "last-no-end"},
         "table buffer: 79 characters, the rest as the next line"},
        {255, {"first\n", "lone\rcr\n", longLine + "\n", "last-no-end"}, "project buffer"},
        {4, {"fir", "st\n", "lon", "e\rc", "r\n"}, "tiny buffer"},
    };
    for (const auto& c : cases) {
        auto got = ReadAllLines(path, c.buffer);
        if (c.buffer == 4) got.resize(5);
        EXPECT_EQ(got, c.want) << c.legend;
    }
}

TEST(TextFile, ReadsFilesWithoutCarriageReturns) {
    const std::string path = TempPath("lf.txt");
    WriteBytes(path, "a\nb\n");
    EXPECT_EQ(ReadAllLines(path, 80), (std::vector<std::string>{"a\n", "b\n"}));
}

TEST(TextFile, ReplaceKeepsTheOldFileUntilACleanClose) {
    const std::string path = TempPath("replace.txt");
    WriteBytes(path, "old\r\n");
    {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::Mode::Replace));
        ASSERT_TRUE(f.Write("new\n"));
        EXPECT_EQ(ReadBytes(path), "old\r\n") << "target untouched while writing";
        f.Abandon();
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n") << "abandoned replacement leaves the old file";
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));
    {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::Mode::Replace));
        ASSERT_TRUE(f.Write("new\n"));
        // Destroyed without Close: an unfinished replacement is not kept either.
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::Mode::Replace));
    ASSERT_TRUE(f.Write("new\n"));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(TextFile, WriteErrorsAreReportedByCloseOnAFullDevice) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
    TextFile f;
    ASSERT_TRUE(f.Open("/dev/full", TextFile::Mode::Write));
    ASSERT_TRUE(f.SetBuffer(100));
    for (int i = 0; i < 20; ++i) f.Write("0123456789\n");
    EXPECT_TRUE(f.HasError());
    EXPECT_FALSE(f.Close());
}

TEST(TextFile, ReadWriteOverlaysLinesInPlace) {
    const std::string path = TempPath("rw.txt");
    WriteBytes(path, "head\r\nAAAA\r\nBBBB\r\nCCCC\r\n");
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::Mode::ReadWrite));
    std::string line;
    ASSERT_TRUE(f.ReadLine(line, 80));
    ASSERT_TRUE(f.ReadLine(line, 80));
    ASSERT_TRUE(f.SeekCurrent());
    ASSERT_TRUE(f.Write("XXXX\n"));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadBytes(path), "head\r\nAAAA\r\nXXXX\r\nCCCC\r\n");
}

TEST(TextFile, OpeningAMissingFileFails) {
    TextFile f;
    EXPECT_FALSE(f.Open(TempPath("does/not/exist.txt"), TextFile::Mode::Read));
    EXPECT_FALSE(f.Open(TempPath("no-dir/x.txt"), TextFile::Mode::Replace));
    EXPECT_FALSE(f.IsOpen());
}

}  // namespace
