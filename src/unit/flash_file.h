#pragma once
// Flash files, read and checked whole before anything goes to the unit: table files (sent as
// Intel HEX data records), Intel HEX files (sent line by line), and the two controllers' flash
// images (written through the on-chip debugger). A file that fails any check sends nothing.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::unit {

enum class FlashFileKind { Table, IntelHex, Image8, Image16, Unknown };

// The kind named by a file's first line: it contains "[TABLE]", "[INTELHEX]", "[KZLFLASH]" or
// "[KZLZ16FLASH]".
FlashFileKind FlashKindOf(std::string_view firstLine);

// One record to send.
struct FlashRecord {
    // Table and Intel HEX files: the characters that go on the line.
    std::string wire;
    // The four address characters (reply check and progress title).
    std::array<char, 4> addressText{};
    std::uint16_t address = 0;
    std::uint8_t extension = 0;  // 16-bit image: 0 or 1 (the upper 64 KB)
    std::vector<std::uint8_t> data;
};

struct FlashPlan {
    FlashFileKind kind = FlashFileKind::Unknown;
    // Table and Intel HEX files: "  *" first page, last page (two hex digits each), then "\r"
    // (table) or "\r\n" (Intel HEX). A table erases the pages its records write; an Intel HEX
    // file the pages its header names, which must hold every record.
    std::string eraseCommand;
    std::vector<FlashRecord> records;
    int byteCount = 0;  // data bytes the records carry (what "Loaded Flash" reports)
};

struct FlashFileResult {
    bool ok = false;
    std::string message;  // what to show when not ok (caption "Error")
    FlashPlan plan;
};

// The table record address: four characters read as upper-case hex digits (anything else 0).
std::uint16_t AddressFromText(std::string_view text);

// "  *" + first page + last page + "\r" (and "\n" when `lineFeed`), pages as %02X.
std::string EraseRangeCommand(int firstPage, int lastPage, bool lineFeed);

// ":10AAAA00" + 32 hex data characters + checksum + "\r\n" (45 characters).
std::string TableDataRecord(std::uint16_t address, const std::uint8_t* data16);

// The Intel HEX checksum over the record's bytes: two's complement of their sum, mod 256.
std::uint8_t IntelHexChecksum(const std::uint8_t* bytes, std::size_t count);

// Reads `path` and builds what is to be sent. `addressText` is the table address chosen in the
// file list ("" takes the table header's). Failures carry the message to show.
FlashFileResult ReadFlashFile(const std::string& path, std::string_view addressText);

// The same over a file's content as text-mode lines give it (for tests and the fuzz target).
FlashFileResult ParseFlashText(std::string_view content, std::string_view addressText);

// Messages of a file that cannot be sent.
inline constexpr const char* kOpenFailed = "Could not Open Flash File";
inline constexpr const char* kReadFailed = "Error Reading from file";
inline constexpr const char* kInvalidType = "Invalid File Type";
inline constexpr const char* kDbFormat = "Error in file format : line must start with db ' or db %";
inline constexpr const char* kTooLarge = "Error in file format : file too large for FLASH memory";
inline constexpr const char* kNoTableData =
    "Error in file format : the table holds no complete record of 16 bytes";

}  // namespace pelor::unit
