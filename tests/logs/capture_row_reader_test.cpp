// CSV capture rows read back into the channels: header layouts, the default layout, the
// rebuilt level, chunks that start or end inside a line, and what the writer wrote.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "decode/owned_context.h"
#include "logs/capture_row_reader.h"
#include "logs/capture_rows.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

struct RowReaderTest : ::testing::Test {
    RowReaderTest() {
        owned.context.valueApplied = [this](int channel, std::string_view value, std::string_view) {
            applied.emplace_back(channel, std::string(value));
        };
    }
    int Feed(std::string_view chunk, bool atStart = true) {
        return reader.Feed(chunk, atStart, owned.store, owned.context);
    }
    decode::OwnedChannelContext owned;
    CaptureRowReader reader;
    std::vector<std::pair<int, std::string>> applied;
};

TEST_F(RowReaderTest, HeaderLayoutsPlaceEachPairOnItsChannel) {
    struct Case {
        const char* legend;
        std::string header;
        std::string row;
        std::vector<std::pair<int, std::string>> want;
    };
    const Case kCases[] = {
        {"pairs in channel order",
         "Date Time, Count,RPM     ,0  ,BOOST   ,1 ,",
         "20261210133104,000001,2259,  9,  28, 19,",
         {{0, "2259##80"}, {1, "  28##F0"}}},
        {"entry 0 as one column, placeholders skipped",
         "Date Time, Count,--------,NOTUSED ,1 ,DEPTH   ,9 ,NOTUSED ,A ,",
         "20261210133104,000001,--------, 000,  1,43.0, 15, 000,  1,",
         {{9, "43.0##B0"}}},
        {"channels out of order and a level that is not a hex digit",
         "Date Time, Count,WIND KT ,A  ,RUDDER  ,F ,",
         "20261210133104,000002, 8.0,  0,  23, 13,",
         {{10, " 8.0##00"}, {15, "  23##00"}}},
        {"a short value field is padded, a long one cut",
         "Date Time, Count,A       ,0  ,B       ,1 ,",
         "20261210133104,000003,7,  2,123456, 14,",
         {{0, "7   ##10"}, {1, "1234##A0"}}},
        // A log recorded in several runs has one header; entry 0 may have had another shape
        // in a later run, and the row itself says which.
        {"entry 0 a pair in a row under a one-column header",
         "Date Time, Count,--------,DEPTH   ,9 ,",
         "20261210133104,000001,12.5, 14,43.0, 15,",
         {{0, "12.5##A0"}, {9, "43.0##B0"}}},
        {"entry 0 one column in a row under a pair header",
         "Date Time, Count,DEPTH###,0  ,WTEMP###,3 ,",
         "20261210133104,000001,--------,-3.2,  2,",
         {{3, "-3.2##10"}}},
    };
    for (const auto& c : kCases) {
        applied.clear();
        reader.Reset();
        ASSERT_EQ(Feed(c.header + "\n" + c.row + "\n"), static_cast<int>(c.want.size()))
            << c.legend;
        EXPECT_EQ(applied, c.want) << c.legend;
    }
}

TEST_F(RowReaderTest, WithoutAHeaderRowsUseTheDefaultLayout) {
    EXPECT_EQ(
        reader.ApplyRow("20261210133104,000001,  12,  2,  34,  3,", owned.store, owned.context), 2);
    EXPECT_EQ(
        reader.ApplyRow("20261210133104,000001,--------,  34,  3,", owned.store, owned.context), 1);
    EXPECT_EQ(applied, (std::vector<std::pair<int, std::string>>{
                           {0, "  12##10"}, {1, "  34##20"}, {1, "  34##20"}}));
    for (const char* junk : {"", ",,,,", "Date Time", "garbage,000001,1,2,", "2026,x,1,2,",
                             "$IIXDR,G,  12##10,U,RPM     0*71"}) {
        EXPECT_EQ(reader.ApplyRow(junk, owned.store, owned.context), 0) << junk;
    }
}

TEST_F(RowReaderTest, ChunksApplyTheFirstWholeRowOnly) {
    const std::string header = "Date Time, Count,RPM     ,0  ,\n";
    const std::string row1 = "20261210133104,000001,1111,  2,\n";
    const std::string row2 = "20261210133105,000002,2222,  3,\n";
    const std::string file = header + row1 + row2;

    // From the start: the header, then the first row.
    EXPECT_EQ(Feed(file), 1);
    // From inside the first row: its rest is skipped, the second row applies.
    EXPECT_EQ(Feed(std::string_view(file).substr(header.size() + 5), false), 1);
    // A row cut by the end of the chunk is not applied.
    EXPECT_EQ(Feed(std::string_view(file).substr(header.size() + row1.size() + 3, 10), false), 0);
    EXPECT_EQ(Feed(std::string_view(row2).substr(0, row2.size() - 1)), 0);
    EXPECT_EQ(applied,
              (std::vector<std::pair<int, std::string>>{{0, "1111##10"}, {0, "2222##20"}}));
    // Lines ending in "\r\n" (a file not read in text mode) read the same.
    applied.clear();
    EXPECT_EQ(Feed("Date Time, Count,RPM     ,3  ,\r\n20261210133104,000001,3333,  4,\r\n"), 1);
    EXPECT_EQ(applied, (std::vector<std::pair<int, std::string>>{{3, "3333##30"}}));
}

TEST_F(RowReaderTest, RowsTheWriterWroteComeBackAsTheShownValues) {
    StoredSentences sentences;
    sentences[0] = Sentence("12.5##A0", "DEPTH   ", '0');
    for (int i = 1; i < 16; ++i) sentences[static_cast<std::size_t>(i)] = PlaceholderSentence(i);
    sentences[3] = Sentence("-3.2##1F", "WTEMP   ", '3');
    sentences[12] = Sentence(" 850##C4", "RPM     ", 'C');
    std::string header;
    std::string row;
    AppendFieldText(header, sentences, LogKind::CsvHeaderPending);
    AppendFieldText(row, sentences, LogKind::CsvRows);
    const std::string file = RecordLine(LogKind::CsvHeaderPending, "", 0, header) +
                             RecordLine(LogKind::CsvRows, "20261204194900", 1, row);

    for (auto& m : owned.labelMode[0]) m = 1;  // every channel shown as text
    ASSERT_EQ(Feed(file), 3) << file;
    EXPECT_EQ(applied, (std::vector<std::pair<int, std::string>>{
                           {0, "12.5##A0"}, {3, "-3.2##10"}, {12, " 850##C0"}}));
    EXPECT_EQ(std::string(owned.store.m_PosValueText[3].data(), 4), "-3.2");
    EXPECT_EQ(owned.store.m_PosMode[12], 1);
}

}  // namespace
}  // namespace pelor::logs::testing
