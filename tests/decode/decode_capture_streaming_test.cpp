// pelor-decode streams its capture: the output is the same for every way the capture is read,
// the text reader pass runs read by read for the link named, and a path that is no readable
// file is refused with a message and exit status 1.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "external_data.h"
#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;

#define kData PELOR_SOURCE_DIR "/tests/decode/data"
// Built with this test program (tests/decode/extra.cmake).
const std::string kTool = PELOR_DECODE_PROGRAM;
#define REQUIRE_TOOL() ASSERT_TRUE(fs::exists(kTool)) << "pelor-decode is missing: " << kTool

struct ToolRun {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

ToolRun RunTool(const std::string& arguments) {
    const fs::path errFile =
        fs::temp_directory_path() / ("pelor-decode-err-" + std::to_string(::getpid()));
    const std::string command = kTool + " " + arguments + " 2>" + errFile.string();
    ToolRun r;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return r;
}

using pelor::testing::ReadBytes;

// The lines of `out` after their "line N:" or "read N:" place, without the place.
std::vector<std::string> Values(const std::string& out) {
    std::vector<std::string> values;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(": ");
        if (line.rfind("line ", 0) == 0 || line.rfind("read ", 0) == 0) {
            values.push_back(line.substr(colon + 2));
        }
    }
    return values;
}

TEST(DecodeCaptureStreaming, FramesGiveTodaysOutputForEveryReadSize) {
    REQUIRE_TOOL();
    const std::string capture = std::string(kData) + "/golden_frames.ebl";
    const struct {
        const char* size;
        const char* expected;
    } kCases[] = {{"0", "golden_frames.expected"},
                  {"1", "golden_frames_reads1.expected"},
                  {"7", "golden_frames_reads7.expected"},
                  {"64", "golden_frames_reads64.expected"},
                  {"100", "golden_frames_reads100.expected"},
                  {"100000", "golden_frames.expected"}};
    for (const auto& c : kCases) {
        const ToolRun r = RunTool(std::string("--read-size ") + c.size + " " + capture);
        EXPECT_EQ(r.status, 0) << c.size;
        EXPECT_EQ(r.out, ReadBytes(std::string(kData) + "/" + c.expected)) << c.size;
    }
}

// A capture larger than the pieces it is read in: one read of the whole file gives what reads
// of its exact size give, and the real capture's last frames still count.
TEST(DecodeCaptureStreaming, LargeCaptureReadInPiecesDecodesAsOneRead) {
    REQUIRE_TOOL();
    constexpr const char* kCapture = "canboat/ydnu-02-raymarine-ev1.dle";
    if (!pelor::testing::HasExternalData(kCapture))
        GTEST_SKIP() << pelor::testing::ExternalDataMissing(kCapture);
    const std::string path = pelor::testing::ExternalDataPath(kCapture);
    const ToolRun whole = RunTool(path);
    ASSERT_EQ(whole.status, 0);
    EXPECT_EQ(whole.out.find("read 2:"), std::string::npos);
    const ToolRun sized =
        RunTool("--read-size " + std::to_string(fs::file_size(path)) + " " + path);
    EXPECT_EQ(sized.out, whole.out);
    EXPECT_NE(whole.out.find("packets 15724\n"), std::string::npos);
}

// The places ("read N") of the value lines, in order.
std::vector<int> ReadNumbers(const std::string& out) {
    std::vector<int> reads;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("read ", 0) == 0) reads.push_back(std::stoi(line.substr(5)));
    }
    return reads;
}

TEST(DecodeCaptureStreaming, TextRunsTheReaderPassOfTheNamedLinkReadByRead) {
    REQUIRE_TOOL();
    const std::string capture = std::string(kData) + "/golden_sentences.txt";
    const std::vector<std::string> alone = Values(RunTool(capture).out);
    ASSERT_FALSE(alone.empty());
    const std::set<std::string> aloneSet(alone.begin(), alone.end());
    const int size = static_cast<int>(fs::file_size(capture));
    for (const char* link : {"", "serial", "usb"}) {
        // One byte a read: the pass keeps what a read cuts, so every sentence a line gives
        // alone comes through, each with the read that completed it. (The pass may show a
        // sentence again on later passes, as the dashboard does.)
        const ToolRun bytes = RunTool(std::string("--text ") + link + " --read-size 1 " + capture);
        EXPECT_EQ(bytes.status, 0) << link;
        const std::vector<std::string> passed = Values(bytes.out);
        const std::set<std::string> passedSet(passed.begin(), passed.end());
        EXPECT_TRUE(
            std::includes(passedSet.begin(), passedSet.end(), aloneSet.begin(), aloneSet.end()))
            << link << "\n"
            << bytes.out;
        const std::vector<int> reads = ReadNumbers(bytes.out);
        ASSERT_FALSE(reads.empty()) << link;
        EXPECT_TRUE(std::is_sorted(reads.begin(), reads.end())) << link;
        EXPECT_GT(reads.front(), 40) << link << ": no sentence is complete in the first reads";
        EXPECT_LE(reads.back(), size) << link;

        // One read of the whole capture: one pass.
        const ToolRun whole = RunTool(std::string("--text ") + link + " --read-size " +
                                      std::to_string(size) + " " + capture);
        EXPECT_EQ(whole.status, 0) << link;
        const std::vector<int> one = ReadNumbers(whole.out);
        EXPECT_FALSE(one.empty()) << link;
        EXPECT_EQ(std::count(one.begin(), one.end(), 1), static_cast<long>(one.size())) << link;
    }
    // The TCP link waits for 48 characters after a gateway sentence's start, so a sentence
    // at the very end may stay in the received text: it shows no value the lines alone do
    // not give, and at most as many.
    const ToolRun tcp = RunTool("--text tcp " + capture);
    EXPECT_EQ(tcp.status, 0);
    const std::vector<std::string> overTcp = Values(tcp.out);
    EXPECT_LE(overTcp.size(), alone.size());
    const std::set<std::string> tcpSet(overTcp.begin(), overTcp.end());
    EXPECT_TRUE(std::includes(aloneSet.begin(), aloneSet.end(), tcpSet.begin(), tcpSet.end()))
        << tcp.out;
    EXPECT_NE(tcp.out.find("read 1:"), std::string::npos);
}

TEST(DecodeCaptureStreaming, PathsThatAreNoReadableFileExitWithAMessage) {
    REQUIRE_TOOL();
    const fs::path dir =
        fs::temp_directory_path() / ("pelor-decode-paths-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "file.ebl") << "x";
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.string(), "is a directory"},
        {(dir / "missing.ebl").string(), "No such file"},
        {(dir / "file.ebl" / "inside.ebl").string(), "Not a directory"},
    };
    if (::geteuid() != 0) {  // the administrator reads any file
        std::ofstream(dir / "locked.ebl") << "x";
        fs::permissions(dir / "locked.ebl", fs::perms::none);
        cases.emplace_back((dir / "locked.ebl").string(), "Permission denied");
    }
    for (const auto& [path, why] : cases) {
        for (const char* mode : {"", "--text ", "--binary "}) {
            const ToolRun r = RunTool(mode + path);
            EXPECT_EQ(r.status, 1) << mode << path;
            EXPECT_EQ(r.out, "") << mode << path;
            EXPECT_NE(r.err.find("pelor-decode: cannot read " + path), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        }
    }
    fs::remove_all(dir);
}

}  // namespace
