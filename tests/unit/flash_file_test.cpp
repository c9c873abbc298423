// The flash file reader and the file list's rows, without a unit: what each kind of file turns
// into on the wire, the address rule by model, and the files that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "unit/flash_file.h"
#include "unit/flash_file_list.h"

namespace {

using namespace pelor::unit;

TEST(FlashFile, KindsByFirstLine) {
    const struct {
        const char* line;
        FlashFileKind want;
    } cases[] = {
        {"[TABLE][6800][8][128]\n", FlashFileKind::Table},
        {"xx[TABLE]yy\n", FlashFileKind::Table},
        {"[INTELHEX]0102\n", FlashFileKind::IntelHex},
        {"[KZLFLASH]\n", FlashFileKind::Image8},
        {"[KZLZ16FLASH]\n", FlashFileKind::Image16},
        {"[table]\n", FlashFileKind::Unknown},
        {"", FlashFileKind::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(FlashKindOf(c.line), c.want) << c.line;
}

std::string ByteTable(const char* header, int lines) {
    std::string text = std::string(header) + "\r\n";
    for (int i = 0; i < lines; ++i) text += "db %A5; c\r\n";
    return text;
}

std::string TextTable(const char* header, int lines, const char* entry = "  12.5 0") {
    std::string text = std::string(header) + "\r\n";
    for (int i = 0; i < lines; ++i) text += std::string("db '") + entry + "' x\r\n";
    return text;
}

TEST(FlashFile, TableRecordsAreSixteenBytesAtTheAddress) {
    const FlashFileResult r = ParseFlashText(ByteTable("[TABLE][7800][1][512]", 33), "");
    ASSERT_TRUE(r.ok) << r.message;
    // 33 bytes: two whole records; the last byte makes no record and is not counted.
    ASSERT_EQ(r.plan.records.size(), 2u);
    EXPECT_EQ(r.plan.byteCount, 32);
    EXPECT_EQ(r.plan.records[0].wire.size(), 45u);
    EXPECT_EQ(r.plan.records[0].wire.substr(0, 13), ":10780000A5A5");
    EXPECT_EQ(r.plan.records[1].wire.substr(0, 9), ":10781000");
    EXPECT_EQ(std::string(r.plan.records[1].addressText.data(), 4), "7810");

    // The list's address text wins over the header's.
    const FlashFileResult cal =
        ParseFlashText("[TABLE][0000][8][256]\r\ndb '  12.5 0' x\r\ndb ' -0.25FF'\r\n", "0800");
    ASSERT_TRUE(cal.ok) << cal.message;
    EXPECT_EQ(cal.plan.records[0].wire.substr(0, 9), ":10080000");
    EXPECT_EQ(EraseRangeCommand(300, 2, true), "  *2C02\r\n");
    EXPECT_EQ(AddressFromText("6g00"), 0x6000);
}

// The erase range is the 512-byte pages the records write, whatever the header's count says:
// the options and page files carry more lines than their count, and a calibration table's
// count reaches one page into the next table.
TEST(FlashFile, EraseRangeIsThePagesTheRecordsWrite) {
    const struct {
        std::string text;
        const char* address;
        const char* erase;
        const char* legend;
    } cases[] = {
        {ByteTable("[TABLE][7800][1][512]", 1536), "", "  *3C3E\r", "options, 1536 lines"},
        {ByteTable("[TABLE][7000][1][512]", 1616), "", "  *383B\r", "pages, 1616 lines"},
        {TextTable("[TABLE][8000][8][256]", 256), "0800", "  *0407\r", "calibration 0"},
        {TextTable("[TABLE][D800][8][256]", 256), "6000", "  *3033\r", "calibration 11"},
        {TextTable("[TABLE][6800][8][128]", 88, "ENG TEMP"), "", "  *3435\r", "88 labels"},
        {ByteTable("[TABLE][7800][1][512]", 33), "", "  *3C3C\r", "two records"},
        {ByteTable("[TABLE][69F0][1][32]", 32), "", "  *3435\r", "across a page boundary"},
        {ByteTable("[TABLE][FFF0][1][16]", 16), "", "  *7F7F\r", "last record of the flash"},
    };
    for (const auto& c : cases) {
        const FlashFileResult r = ParseFlashText(c.text, c.address);
        ASSERT_TRUE(r.ok) << c.legend << ": " << r.message;
        EXPECT_EQ(r.plan.eraseCommand, c.erase) << c.legend;
    }
}

TEST(FlashFile, ShortTextLinesArePaddedWithBlanks) {
    const FlashFileResult r =
        ParseFlashText("[TABLE][6800][8][2]\r\ndb 'AB\r\ndb 'CDEFGHIJ'\r\n", "");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.plan.records.size(), 1u);
    EXPECT_EQ(std::string(r.plan.records[0].data.begin(), r.plan.records[0].data.end()),
              "AB      CDEFGHIJ");
}

TEST(FlashFile, ImageRecordsSkipOtherTypesAndTheSixteenBitExtensionSticks) {
    const FlashFileResult r = ParseFlashText(
        "[KZLZ16FLASH]\r\n:020000001122CB\r\n"
        ":020000040001F9\r\n:02000000334487\r\n"
        ":020000040000FA\r\n:020010005566\r\n",
        "");
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.plan.records.size(), 3u);
    EXPECT_EQ(r.plan.records[0].extension, 0);
    EXPECT_EQ(r.plan.records[1].extension, 1);
    EXPECT_EQ(r.plan.records[2].extension, 1);  // never reset
    EXPECT_EQ(r.plan.records[2].address, 0x0010);
    EXPECT_EQ(r.plan.byteCount, 6);
}

TEST(FlashFile, RefusedFilesSayWhy) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", kReadFailed},
        {"[NOTHING]\r\n", kInvalidType},
        {"[INTELHEX]0101\r\n:0100000001FF\r\n", "Error in file format : checksum error in line 2"},
        {"[INTELHEX]0101\r\nhello\r\n", "Error in file format : not an Intel HEX record in line 2"},
        {"[INTELHEX]0101\r\n:0A000000\r\n",
         "Error in file format : not an Intel HEX record in line 2"},
        {"[INTELHEX]0101\r\n:00000005FB\r\n",
         "Error in file format : record type 05 in line 2 can not be flashed"},
        {"[KZLFLASH]\r\n:02FFFF000102FD\r\n", kTooLarge},
        {"[TABLE][6800][8][1]\r\n\r\n", kDbFormat},
        {"[INTELHEX]5656\r\n:0471FE000102030483\r\n",
         "Error in file format : line 2 writes outside the pages 56 to 56 that the file erases"},
        {"[INTELHEX]5657\r\n:046FFC000102030487\r\n",
         "Error in file format : line 2 writes outside the pages 56 to 57 that the file erases"},
        // A table sends whole records only: without one it would erase a page for nothing.
        {"[TABLE][FE00][8][32768]\r\n", kNoTableData},
        {"[TABLE][7800][1][512]\r\ndb %01;\r\n", kNoTableData},
    };
    for (const auto& c : cases) {
        const FlashFileResult r = ParseFlashText(c.text, "");
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
    }
    EXPECT_EQ(ReadFlashFile("/nonexistent/flash.txt", "").message, kOpenFailed);
}

// A table is checked whole before anything is built from it: every byte entry gives two
// hexadecimal digits as the writers write them, and a calibration table (width 8, count 256)
// holds a number in every value and index field. Labels may hold any text.
TEST(FlashFile, TablesWithoutNumbersAreRefusedWhole) {
    // `line` inserted as line `at` + 1 of the file (the header is line 1).
    const auto withLine = [](const std::string& table, int at, const std::string& line) {
        std::string text = table;
        std::size_t pos = 0;
        for (int i = 0; i < at; ++i) pos = text.find('\n', pos) + 1;
        return text.insert(pos, line + "\r\n");
    };
    const std::string cal = TextTable("[TABLE][0800][8][256]", 255);
    const std::string options = ByteTable("[TABLE][7800][1][512]", 31);
    const struct {
        std::string text;
        std::string message;  // "" when accepted
    } cases[] = {
        {withLine(cal, 5, "db '   abcZZ' Engine temp"),
         "Error in file format : the value '   abc' in line 6 is not a number"},
        {withLine(cal, 1, "db '  12.5ZZ' x"),
         "Error in file format : the index 'ZZ' in line 2 is not a hexadecimal number"},
        {withLine(cal, 1, "db ' 1.2.3 0' x"),
         "Error in file format : the value ' 1.2.3' in line 2 is not a number"},
        {withLine(cal, 1, "db '  1 2 0' x"),
         "Error in file format : the value '  1 2 ' in line 2 is not a number"},
        {withLine(cal, 1, "db '    -.A0' x"),
         "Error in file format : the value '    -.' in line 2 is not a number"},
        {withLine(cal, 256, "db '  12.5 G' x"),
         "Error in file format : the index ' G' in line 257 is not a hexadecimal number"},
        {withLine(options, 3, "db %G1; x"),
         "Error in file format : 'db %G1; x' in line 4 does not give a byte as two "
         "hexadecimal digits (0-9, A-F)"},
        {withLine(options, 3, "db %1f; x"),
         "Error in file format : 'db %1f; x' in line 4 does not give a byte as two "
         "hexadecimal digits (0-9, A-F)"},
        {withLine(options, 1, "db %5"),
         "Error in file format : 'db %5' in line 2 does not give a byte as two "
         "hexadecimal digits (0-9, A-F)"},
        {withLine(cal, 1, "db '  -0.5 a' x"),
         "Error in file format : the index ' a' in line 2 is not a hexadecimal number"},
        // Accepted: signs, blanks, the no-reading mark, an empty entry; labels of any text.
        {withLine(cal, 1, "db '  -0.5 A' x"), ""},
        {withLine(cal, 1, "db '  ----FF' x"), ""},
        {withLine(cal, 1, "db '+100.0 F' x"), ""},
        {withLine(cal, 1, "db '        ' x"), ""},
        {TextTable("[TABLE][6800][8][128]", 2, "abcZZ!'#"), ""},
    };
    for (const auto& c : cases) {
        const FlashFileResult r = ParseFlashText(c.text, "");
        EXPECT_EQ(r.ok, c.message.empty()) << c.message;
        EXPECT_EQ(r.message, c.message);
        if (!c.message.empty()) {
            EXPECT_TRUE(r.plan.records.empty()) << c.message;
        }
    }
}

// Every table the example projects ship passes the checks, with the pages its lines fill.
TEST(FlashFile, ExampleTablesAreAcceptedWhole) {
    int tables = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(PELOR_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        if (content.find("[TABLE]") >= content.find('\n')) continue;
        const FlashFileResult r = ReadFlashFile(entry.path().string(), "");
        ASSERT_TRUE(r.ok) << entry.path() << ": " << r.message;
        const auto lines = std::count(content.begin(), content.end(), '\n') - 1;
        const auto width = content.find("][8][") != std::string::npos ? 8 : 1;
        EXPECT_EQ(r.plan.byteCount, lines * width / 16 * 16) << entry.path();
        ++tables;
    }
    EXPECT_GE(tables, 2 * 15);
}

TEST(FlashFileList, AddressesByModelAndLabels) {
    std::array<std::string, kFlashRowCount> paths;
    paths[3] = "/p/cal0.txt";
    std::array<std::string, 12> names;
    names[0] = "Coolant";
    const auto known = FlashListRows(9, paths, names);
    EXPECT_EQ(known[0].label, "Display Labels File");
    EXPECT_EQ(known[0].address, "6800");
    EXPECT_EQ(known[1].caption, "FLASH1");
    EXPECT_EQ(known[2].address, "7800");
    EXPECT_EQ(known[3].label, "Cal Table 0  - Coolant ");
    EXPECT_EQ(known[3].path, "/p/cal0.txt");
    EXPECT_EQ(known[3].address, "0800");
    EXPECT_EQ(known[13].label, "Cal Table 10  -  ");
    EXPECT_EQ(known[14].caption, "FLASH14");
    EXPECT_EQ(known[14].address, "6000");
    for (const int model : {-1, 15, 200}) {
        const auto other = FlashListRows(model, paths, names);
        for (int r = 0; r < kFlashRowCount - 1; ++r) EXPECT_EQ(other[r].address, "") << model;
        EXPECT_EQ(other[14].address, "D800") << model;
    }
}

}  // namespace
