// The capture decoder tool over checked-in captures and the external boat captures; its
// standard output must match the expected files exactly.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/prompt.h"
#include "external_data.h"
#include "file_bytes.h"
#include "tables/calibration_file.h"
#include "tables/options_file.h"
#include "tables/project_file.h"

namespace {

// Inputs and expected outputs of this folder's golden tests.
#define kData PELOR_SOURCE_DIR "/tests/decode/data"

using pelor::testing::ReadBytes;

const std::string kTool = PELOR_DECODE_PROGRAM;

// The tool is built with this test program; without it the golden tests would prove nothing.
#define REQUIRE_TOOL() \
    ASSERT_TRUE(std::filesystem::exists(kTool)) << "pelor-decode is missing: " << kTool

// Runs pelor-decode with `arguments`; standard output only.
std::string RunTool(const std::string& arguments) {
    const std::string command = kTool + " " + arguments + " 2>/dev/null";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

TEST(DecodeCaptureGolden, CheckedInCaptures) {
    REQUIRE_TOOL();
    struct Case {
        const char* legend;
        std::string arguments;
        std::string expected;
    };
    const std::string data = kData;
    const Case kCases[] = {
        {"adapter frames in one read", data + "/golden_frames.ebl", "golden_frames.expected"},
        {"adapter frames in reads of 64 bytes", "--read-size 64 " + data + "/golden_frames.ebl",
         "golden_frames_reads64.expected"},
        {"transducer and gateway sentences", data + "/golden_sentences.txt",
         "golden_sentences.expected"},
    };
    for (const auto& c : kCases) {
        const std::string want = ReadBytes(data + "/" + c.expected);
        ASSERT_FALSE(want.empty()) << c.expected;
        EXPECT_EQ(RunTool(c.arguments), want) << c.legend;
    }
}

TEST(DecodeCaptureGolden, ExternalAdapterCapture) {
    REQUIRE_TOOL();
    constexpr const char* kCapture = "derived/susteranna-first150.ngt1";
    if (!pelor::testing::HasExternalData(kCapture))
        GTEST_SKIP() << pelor::testing::ExternalDataMissing(kCapture);
    const std::string capture = pelor::testing::ExternalDataPath(kCapture);
    EXPECT_EQ(RunTool(capture), ReadBytes(std::string(kData) + "/susteranna-first150.expected"));
}

TEST(DecodeCaptureGolden, ExternalRealCaptureEndsWithItsLinkTime) {
    REQUIRE_TOOL();
    constexpr const char* kCapture = "canboat/ydnu-02-raymarine-ev1.dle";
    if (!pelor::testing::HasExternalData(kCapture))
        GTEST_SKIP() << pelor::testing::ExternalDataMissing(kCapture);
    const std::string capture = pelor::testing::ExternalDataPath(kCapture);
    const std::string out = RunTool(capture);
    // The recording ends inside a frame; the frames before it reach 15 min 42 s of bus time.
    EXPECT_NE(out.find("caption recieving.. NMEA 2000: Link Time 00:15:42; N2K Packets 15724  \n"),
              std::string::npos)
        << out.substr(out.size() > 300 ? out.size() - 300 : 0);
}

// A project made with the table writers: channel 0 shows the apparent wind speed, channel 1
// the heading through calibration table 1.
TEST(DecodeCaptureGolden, ProjectGivesMappingAndCalibration) {
    REQUIRE_TOOL();
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("pelor-decode-golden-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path before = fs::current_path();
    pelor::core::ScriptedPrompt prompt;

    pelor::tables::OptionsTable options{};
    options[256] = 0x80;  // channel 0: wind, field 0
    options[257] = 0;
    options[258] = 0x90;  // channel 1: heading, field 0
    options[259] = 0;
    options[48 + 1] = 0x80;  // channel 1 shows its calibration entry
    ASSERT_TRUE(
        pelor::tables::WriteOptionsFile(prompt, dir.string() + "/", "options.txt", options));
    pelor::tables::CalibrationRows rows;
    for (int v = 0; v < 256; ++v) {
        char index[4];
        std::snprintf(index, sizeof index, "%02X", v);
        rows[static_cast<std::size_t>(v)] = {"C" + std::to_string(v), index, ""};
    }
    ASSERT_TRUE(
        pelor::tables::WriteCalibrationFile(prompt, dir.string() + "/", "cal1.txt", "5000", rows));

    pelor::tables::Project project;
    project.directory = dir.string() + "/";
    project.projectFile = "golden.cdp";
    project.optionsFileA = project.optionsFileB = project.optionsFileC = "options.txt";
    project.calibrationFiles[1] = "cal1.txt";
    project.logFile = "log.csv";
    const bool saved = pelor::tables::SaveProject(prompt, project);
    fs::current_path(before);
    ASSERT_TRUE(saved);

    const std::string out = RunTool("--project " + (dir / "golden.cdp").string() + " " + kData +
                                    "/golden_sentences.txt");
    EXPECT_EQ(out, ReadBytes(std::string(kData) + "/golden_sentences_project.expected"));
    fs::remove_all(dir);
}

TEST(DecodeCaptureGolden, UsageErrors) {
    REQUIRE_TOOL();
    EXPECT_EQ(RunTool(""), "");
    EXPECT_EQ(RunTool("/nonexistent/capture.ebl"), "");
}

}  // namespace
