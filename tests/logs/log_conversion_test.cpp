// TXT log to CSV: fixed positions, header, rows, short lines, and the file-level errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/text_file.h"
#include "logs/log_conversion.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

// A TXT row as the capture writer makes it: stamp, count and sixteen sentences.
std::string Row(const std::string& stamp, const std::string& count,
                const std::vector<std::string>& sentences) {
    std::string row = stamp + "," + count + ",";
    for (const auto& s : sentences) row += s.substr(0, s.size() - 1) + ",";
    return row;
}

std::vector<std::string> Sixteen(const std::string& value0, const std::string& name0) {
    std::vector<std::string> s;
    s.push_back(Sentence(value0, name0, '0'));
    for (int i = 1; i < 16; ++i) {
        s.push_back("$IIXDR,G, 0000000,G,NOTUSED " + std::string(1, "0123456789ABCDEF"[i]) +
                    "*00\r");
    }
    return s;
}

TEST(LogConversionTest, RowsFromFixedPositions) {
    struct Case {
        std::string line;
        std::string wantStart;
        const char* legend;
    } const kCases[] = {
        {Row("20261204194900", "000012", Sixteen("12.5##1F", "DEPTH###")),
         " 12/04/26,19:49:00,000012,12.5  ,031, 00000,000,", "stamp, count, level 1F"},
        {Row("20261204194900", "000012", Sixteen("12.5##1f", "DEPTH###")),
         " 12/04/26,19:49:00,000012,12.5  ,016,", "lower-case level digit counts as 0"},
        {Row("20261204194900", "##0012", Sixteen("#7.2##A0", "DEPTH###")),
         " 12/04/26,19:49:00,0012, 7.2  ,160,", "'#' dropped from the count, blank in values"},
        {"2026", "   /  /26,  :  :  ,      ,      ,000,", "short line reads blanks"},
        {"", "   /  /  ,  :  :  ,      ,      ,000,", "empty line"},
    };
    for (const auto& c : kCases) {
        std::string out;
        AppendConvertedRow(out, c.line + "\n");
        EXPECT_EQ(out.rfind(c.wantStart, 0), 0u) << c.legend << "\n" << out;
        EXPECT_EQ(out.substr(out.size() - 3), ",,\n") << c.legend;
        // date, time, index, then 16 value/level pairs, each followed by a comma
        EXPECT_EQ(std::count(out.begin(), out.end(), ','), 3 + 32 + 1) << c.legend;
    }
}

TEST(LogConversionTest, HeaderHasSixteenNameIdPairsAndEndsWithTwoCommas) {
    std::string out;
    AppendConvertedHeader(out, Row("20261204194900", "000001", Sixteen("12.5##1F", "DEPTH###")));
    EXPECT_EQ(out.rfind("TIME , DATE, Index, DEPTH,0,NOTUSED ,1,", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 3), ",,\n");
    out.clear();
    AppendConvertedHeader(out, "short");
    EXPECT_EQ(
        out, "TIME , DATE, Index, " + [] {
            std::string s;
            for (int i = 0; i < 16; ++i) s += "        , ,";
            return s;
        }() + ",\n");
}

TEST(LogConversionTest, FileConversionWritesCrLfCsvBesideTheLog) {
    TempDir dir;
    const std::string log = dir.Path("trip.txt");
    const std::string header = Row("20261204194859", "000000", Sixteen("12.4##1E", "DEPTH###"));
    const std::string row = Row("20261204194900", "000012", Sixteen("12.5##1F", "DEPTH###"));
    WriteAll(log, header + "\r\n" + row + "\r\n");
    core::ScriptedPrompt prompt;
    EXPECT_TRUE(ConvertTextLog(log, prompt));
    EXPECT_EQ(prompt.shown.at(0).text, "File Converted");
    EXPECT_EQ(prompt.shown.at(0).caption, "Status");
    std::string want;
    AppendConvertedHeader(want, header);
    AppendConvertedRow(want, row);
    std::string crlf;
    for (const char c : want) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadAll(dir.Path("trip.csv")), crlf);
}

TEST(LogConversionTest, FileErrorsGiveTheirMessages) {
    TempDir dir;
    WriteAll(dir.Path("empty.txt"), "");
    WriteAll(dir.Path("same.csv"), "keep me\r\n");
    struct Case {
        std::string input;
        std::string message;
        const char* legend;
    } const kCases[] = {
        {dir.Path("missing.txt"), dir.Path("missing.txt"), "input missing: its path"},
        {dir.Path("empty.txt"), "Error Reading from file", "no first line"},
        {dir.Path("same.csv"), dir.Path("same.csv"), "output would replace the input"},
    };
    for (const auto& c : kCases) {
        const ConversionResult r = ConvertTextLog(c.input);
        EXPECT_FALSE(r.ok) << c.legend;
        EXPECT_EQ(r.message, c.message) << c.legend;
        EXPECT_EQ(r.caption, "Error") << c.legend;
    }
    EXPECT_EQ(ReadAll(dir.Path("same.csv")), "keep me\r\n");
}

// The conversion cuts its input into lines itself, in large blocks. Whatever the line ends
// and lengths, its table must be the one a line read with a 600-byte buffer gives, byte for
// byte: lines of 599 and more characters come in pieces, "\r\n" counts as one character, a
// lone "\r" stays, and the cuts between blocks of the input fall anywhere.
TEST(LogConversionTest, TableIsTheOneALineReadGivesForAnyLineEnds) {
    TempDir dir;
    std::mt19937 random(11);
    const std::string good = Row("20261204194900", "000012", Sixteen("12.5##1F", "DEPTH###"));
    std::string log = good + "\r\n";
    const char* ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r", ""};
    while (log.size() < 3u * 1024 * 1024) {
        std::string line = good.substr(0, random() % (good.size() + 1));
        switch (random() % 6) {
            case 0:
                line = good + good;  // two pieces and a rest
                break;
            case 1:
                line = std::string(597 + random() % 5, '7');  // around the 599 limit
                break;
            case 2:
                std::transform(line.begin(), line.end(), line.begin(),
                               [](char c) { return c == '#' ? 'f' : c; });
                break;
            default:
                break;
        }
        log += line + ends[random() % 6];
    }
    log += std::string(600, 'x') + "\r";  // the end: a long last line and a lone "\r"
    WriteAll(dir.Path("odd.txt"), log);

    // The table a line read gives (the conversion's rule, written out the slow way).
    core::TextFile in;
    ASSERT_TRUE(in.Open(dir.Path("odd.txt"), core::TextFile::Mode::Read));
    std::string want;
    std::string line;
    ASSERT_TRUE(in.ReadLine(line, kConversionLineBuffer));
    AppendConvertedHeader(want, line);
    while (in.ReadLine(line, kConversionLineBuffer)) AppendConvertedRow(want, line);
    std::string crlf;
    for (const char c : want) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    const ConversionResult r = ConvertTextLog(dir.Path("odd.txt"));
    ASSERT_TRUE(r.ok) << r.message;
    const std::string got = ReadAll(dir.Path("odd.csv"));
    ASSERT_EQ(got.size(), crlf.size());
    EXPECT_TRUE(got == crlf);
}

// A log with no line at all leaves an existing table as it was.
TEST(LogConversionTest, EmptyLogKeepsTheOldTable) {
    TempDir dir;
    WriteAll(dir.Path("empty.txt"), "");
    WriteAll(dir.Path("empty.csv"), "old table\r\n");
    const ConversionResult r = ConvertTextLog(dir.Path("empty.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Error Reading from file");
    EXPECT_EQ(ReadAll(dir.Path("empty.csv")), "old table\r\n");
}

TEST(LogConversionTest, ChooserCancelConvertsNothing) {
    core::ScriptedPrompt prompt;
    EXPECT_FALSE(ChooseAndConvertTextLog("Pelor_Log.txt", prompt));
    ASSERT_EQ(prompt.FileDialogCount(), 1u);
    EXPECT_EQ(prompt.shown[0].dialog.filter, "Text Files (*.txt)|*.txt||");
    EXPECT_EQ(prompt.shown[0].dialog.initialName, "Pelor_Log.txt");
}

}  // namespace
}  // namespace pelor::logs::testing
