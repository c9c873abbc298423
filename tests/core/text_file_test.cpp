#include "core/text_file.h"
#include "file_bytes.h"

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

using pelor::testing::ReadBytes;

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

// Lines of a read-only file and of memory are cut from a block read ahead; a file opened for
// reading and writing reads through the stream one character at a time. All three must cut
// every line alike, with "\r\n" pairs, lone "\r" and buffer-length cuts falling on the edges
// of the read-ahead block, and a block read after some lines must go on where they ended.
TEST(TextFile, ReadAheadCutsLinesLikeTheCharacterStream) {
    std::string bytes;
    unsigned seed = 7;
    const char alphabet[] = {'a', 'b', '\r', '\n', 'x', '\r', 'y', 'z', '\n', 'q'};
    for (int i = 0; i < 70000; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes += alphabet[(seed >> 16) % sizeof alphabet];
        if ((seed >> 8) % 97 == 0) bytes += std::string((seed >> 4) % 300, 'L');
    }
    // "\r\n" astride the first block edge, and a lone "\r" at the end of the file.
    bytes[4095] = '\r';
    bytes[4096] = '\n';
    bytes += '\r';
    const std::string path = TempPath("ahead.txt");
    WriteBytes(path, bytes);

    for (const std::size_t buffer : {2u, 5u, 80u, 256u, 2001u}) {
        TextFile ahead;
        TextFile stream;
        TextFile memory;
        ASSERT_TRUE(ahead.Open(path, TextFile::Mode::Read));
        ASSERT_TRUE(stream.Open(path, TextFile::Mode::ReadWrite));
        ASSERT_TRUE(memory.OpenMemory(bytes));
        std::string a, b, m;
        for (int n = 0;; ++n) {
            const bool gotA = ahead.ReadLine(a, buffer);
            const bool gotB = stream.ReadLine(b, buffer);
            const bool gotM = memory.ReadLine(m, buffer);
            ASSERT_EQ(gotA, gotB) << "buffer " << buffer << " line " << n;
            ASSERT_EQ(gotM, gotB) << "buffer " << buffer << " line " << n;
            ASSERT_EQ(a, b) << "buffer " << buffer << " line " << n;
            ASSERT_EQ(m, b) << "buffer " << buffer << " line " << n;
            if (!gotB) break;
            if (n == 3000) {
                // A block read takes the bytes after the last line, as they are on disk.
                char blockA[20000];
                char blockB[20000];
                char blockM[20000];
                const std::size_t na = ahead.ReadBlock(blockA, sizeof blockA);
                ASSERT_EQ(na, stream.ReadBlock(blockB, sizeof blockB));
                ASSERT_EQ(na, memory.ReadBlock(blockM, sizeof blockM));
                ASSERT_EQ(std::string(blockA, na), std::string(blockB, na));
                ASSERT_EQ(std::string(blockM, na), std::string(blockB, na));
            }
        }
        EXPECT_TRUE(ahead.AtEnd());
        EXPECT_TRUE(memory.AtEnd());
        EXPECT_FALSE(ahead.HasError());
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
