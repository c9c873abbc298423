// The flash file reader and the file list's rows, without a unit: what each kind of file turns
// into on the wire, the address rule by model, and the files that are refused.
#include <gtest/gtest.h>

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

// Page numbers are taken modulo 256 and the record address wraps to the chosen text's value.
TEST(FlashFile, TableRecordsAndEraseRange) {
    std::string text = "[TABLE][7800][1][512]\r\n";
    for (int i = 0; i < 33; ++i) text += "db %" + std::string(i % 2 ? "1f" : "A5") + "; c\r\n";
    const FlashFileResult r = ParseFlashText(text, "");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.plan.eraseCommand, "  *3C3D\r");
    // 33 bytes: two whole records; the lower-case digit reads as 0 ("1f" -> 0x10).
    ASSERT_EQ(r.plan.records.size(), 2u);
    EXPECT_EQ(r.plan.byteCount, 32);
    EXPECT_EQ(r.plan.records[0].wire.size(), 45u);
    EXPECT_EQ(r.plan.records[0].wire.substr(0, 13), ":10780000A510");
    EXPECT_EQ(r.plan.records[1].wire.substr(0, 9), ":10781000");
    EXPECT_EQ(std::string(r.plan.records[1].addressText.data(), 4), "7810");

    // The list's address text wins over the header's; the header's width and count still
    // give the range (8 x 256 = 2048 bytes: four pages on).
    const FlashFileResult cal =
        ParseFlashText("[TABLE][0000][8][256]\r\ndb '  12.5 0' x\r\ndb 'ABCDEFGH'\r\n", "0800");
    ASSERT_TRUE(cal.ok);
    EXPECT_EQ(cal.plan.eraseCommand, "  *0408\r");
    EXPECT_EQ(cal.plan.records[0].wire.substr(0, 9), ":10080000");
    // High addresses: pages wrap modulo 256.
    EXPECT_EQ(ParseFlashText("[TABLE][FE00][8][32768]\r\n", "").plan.eraseCommand, "  *7F7F\r");
    EXPECT_EQ(EraseRangeCommand(300, 2, true), "  *2C02\r\n");
    EXPECT_EQ(AddressFromText("6g00"), 0x6000);
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
    };
    for (const auto& c : cases) {
        const FlashFileResult r = ParseFlashText(c.text, "");
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
    }
    EXPECT_EQ(ReadFlashFile("/nonexistent/flash.txt", "").message, kOpenFailed);
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
