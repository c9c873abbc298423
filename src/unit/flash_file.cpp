#include "unit/flash_file.h"

#include <algorithm>
#include <functional>

#include "core/format.h"
#include "core/hex.h"
#include "core/text_file.h"
#include "tables/calibration_file.h"

namespace pelor::unit {

namespace {

// Table lines are read with an 80-byte buffer; record lines of the other kinds may be longer
// (a record of 255 bytes is 521 characters).
constexpr std::size_t kRecordLineBuffer = 600;
constexpr std::size_t kTableRecordBytes = 16;
constexpr std::uint32_t kAddressSpace = 0x10000;
// The unit erases its flash in pages of this many bytes.
constexpr std::uint32_t kPageBytes = 512;

using LineReader = std::function<bool(std::string& line, std::size_t bufferSize)>;

FlashFileResult Fail(std::string message) {
    FlashFileResult r;
    r.message = std::move(message);
    return r;
}

int AnyCaseHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int HexPair(std::string_view s, std::size_t at) {
    if (at + 2 > s.size()) return -1;
    const int hi = AnyCaseHex(s[at]);
    const int lo = AnyCaseHex(s[at + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// A decimal field as the header gives it: digits up to the first other character.
int DecimalAt(std::string_view s, std::size_t at) {
    int v = 0;
    for (std::size_t i = at; i < s.size() && s[i] >= '0' && s[i] <= '9' && v < 1000000; ++i)
        v = v * 10 + (s[i] - '0');
    return v;
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// :LLAAAATT<data>CC as a checked record. `needChecksum` false also accepts a line without the
// checksum (image files written by hand).
struct HexLine {
    int count = 0;
    std::uint16_t address = 0;
    int type = 0;
    std::vector<std::uint8_t> data;
};

std::string CheckHexLine(std::string_view text, int lineNumber, bool needChecksum, HexLine& out) {
    const auto format = [&] {
        return core::Format("Error in file format : not an Intel HEX record in line %d",
                            lineNumber);
    };
    if (text.empty() || text[0] != ':') return format();
    const int count = HexPair(text, 1);
    const int hi = HexPair(text, 3);
    const int lo = HexPair(text, 5);
    const int type = HexPair(text, 7);
    if (count < 0 || hi < 0 || lo < 0 || type < 0) return format();
    const std::size_t dataEnd = 9 + 2 * static_cast<std::size_t>(count);
    const bool withChecksum = text.size() == dataEnd + 2;
    if (!withChecksum && (needChecksum || text.size() != dataEnd)) return format();
    out.count = count;
    out.address = static_cast<std::uint16_t>(hi * 256 + lo);
    out.type = type;
    out.data.clear();
    unsigned sum = static_cast<unsigned>(count + hi + lo + type);
    for (int i = 0; i < count; ++i) {
        const int b = HexPair(text, 9 + 2 * static_cast<std::size_t>(i));
        if (b < 0) return format();
        out.data.push_back(static_cast<std::uint8_t>(b));
        sum += static_cast<unsigned>(b);
    }
    if (withChecksum) {
        const int check = HexPair(text, dataEnd);
        if (check < 0 || ((sum + static_cast<unsigned>(check)) & 0xFF) != 0)
            return core::Format("Error in file format : checksum error in line %d", lineNumber);
    }
    return {};
}

std::array<char, 4> AddressChars(std::uint16_t address) {
    std::string text;
    text.reserve(4);
    core::AppendHexByte(text, static_cast<std::uint8_t>(address >> 8));
    core::AppendHexByte(text, static_cast<std::uint8_t>(address & 0xFF));
    return {text[0], text[1], text[2], text[3]};
}

// The characters of a line as a message shows them: without its line end.
std::string Shown(std::string_view s) {
    return std::string(WithoutLineEnd(s));
}

// [TABLE][AAAA][W][C] then "db '" and "db %" lines, sent as 16-byte data records. The whole
// file is checked before anything is built: a byte entry must carry two hexadecimal digits as
// the table writers write them, and a calibration table ("[8][256]") must hold numbers in its
// value and index fields. The erase range is the pages the records write, no more and no
// less: the header's count need not match the lines the file carries (the options and page
// files carry more), and a page erased but not rewritten would lose a neighbouring table.
FlashFileResult ReadTable(const LineReader& read, std::string_view header,
                          std::string_view addressText) {
    const std::string_view text =
        addressText.empty() ? (header.size() > 8 ? header.substr(8, 4) : std::string_view())
                            : addressText;
    const std::uint16_t start = AddressFromText(text);
    int width = 0;
    int count = 0;
    if (const std::size_t w = header.find("][", 8); w != std::string_view::npos) {
        width = DecimalAt(header, w + 2);
        if (const std::size_t c = header.find("][", w + 2); c != std::string_view::npos)
            count = DecimalAt(header, c + 2);
    }
    const bool calibration = width == 8 && count == 256;
    FlashFileResult r;
    r.plan.kind = FlashFileKind::Table;

    // A text line gives `width` characters (blank where the line ends early).
    const std::size_t textWidth = static_cast<std::size_t>(std::clamp(width, 0, 75));
    std::array<std::uint8_t, kTableRecordBytes> pending{};
    std::size_t filled = 0;
    std::uint32_t address = start;
    std::string line;
    std::string entry;
    const auto add = [&](std::uint8_t byte) -> bool {
        pending[filled++] = byte;
        if (filled < kTableRecordBytes) return true;
        filled = 0;
        if (address + kTableRecordBytes > kAddressSpace) return false;
        FlashRecord rec;
        rec.address = static_cast<std::uint16_t>(address);
        rec.addressText = AddressChars(rec.address);
        rec.wire = TableDataRecord(rec.address, pending.data());
        rec.data.assign(pending.begin(), pending.end());
        r.plan.records.push_back(std::move(rec));
        r.plan.byteCount += static_cast<int>(kTableRecordBytes);
        address += kTableRecordBytes;
        return true;
    };
    for (int number = 2; read(line, core::kTableLineBuffer); ++number) {
        const std::string_view l = line;
        if (l.starts_with("db '")) {
            entry.clear();
            for (std::size_t i = 0; i < textWidth; ++i) {
                const std::size_t at = 4 + i;
                entry += at < l.size() && l[at] != '\n' ? l[at] : ' ';
            }
            if (calibration && !tables::IsCalibrationValue(std::string_view(entry).substr(0, 6)))
                return Fail(
                    core::Format("Error in file format : the value '%s' in line %d is not a number",
                                 entry.substr(0, 6).c_str(), number));
            if (calibration && !tables::IsCalibrationIndex(std::string_view(entry).substr(6, 2)))
                return Fail(core::Format(
                    "Error in file format : the index '%s' in line %d is not a hexadecimal number",
                    entry.substr(6, 2).c_str(), number));
            for (const char c : entry)
                if (!add(static_cast<std::uint8_t>(c))) return Fail(kTooLarge);
        } else if (l.starts_with("db %")) {
            if (l.size() < 6 || !core::IsUpperHexDigit(l[4]) || !core::IsUpperHexDigit(l[5]))
                return Fail(
                    core::Format("Error in file format : '%s' in line %d does not give "
                                 "a byte as two hexadecimal digits (0-9, A-F)",
                                 Shown(l).c_str(), number));
            if (!add(static_cast<std::uint8_t>(core::HexPairValue(l[4], l[5]))))
                return Fail(kTooLarge);
        } else {
            return Fail(kDbFormat);
        }
    }
    if (r.plan.records.empty()) return Fail(kNoTableData);
    const int firstPage = start / kPageBytes;
    const int lastPage = static_cast<int>((address - 1) / kPageBytes);
    r.plan.eraseCommand = EraseRangeCommand(firstPage, lastPage, false);
    r.ok = true;
    return r;
}

// [INTELHEX]FFLL then Intel HEX records sent line by line; FF and LL are the first and last
// page to erase, as two decimal digits each.
FlashFileResult ReadIntelHex(const LineReader& read, std::string_view header) {
    FlashFileResult r;
    r.plan.kind = FlashFileKind::IntelHex;
    const auto digit = [&](std::size_t at) {
        return at < header.size() && header[at] >= '0' && header[at] <= '9' ? header[at] - '0' : 0;
    };
    const int firstPage = digit(10) * 10 + digit(11);
    const int lastPage = digit(12) * 10 + digit(13);
    r.plan.eraseCommand = EraseRangeCommand(firstPage, lastPage, true);
    std::string line;
    HexLine hex;
    for (int number = 2; read(line, kRecordLineBuffer); ++number) {
        const std::string_view text = WithoutLineEnd(line);
        if (text.empty()) continue;
        if (std::string error = CheckHexLine(text, number, true, hex); !error.empty())
            return Fail(error);
        // The file's own end record ends the data; it is not sent, nor is anything after it:
        // the unit leaves programming mode at an end record without answering, and the
        // programmer sends its own end record once every data record is written.
        if (hex.type == 1) break;
        if (hex.type != 0)
            return Fail(core::Format(
                "Error in file format : record type %02X in line %d can not be flashed", hex.type,
                number));
        const std::uint32_t end = hex.address + static_cast<std::uint32_t>(hex.count);
        if (end > kAddressSpace) return Fail(kTooLarge);
        // Flash takes a write only where it was erased: a record outside the pages the header
        // erases would be written over old data.
        if (hex.count > 0 && (hex.address / kPageBytes < static_cast<std::uint32_t>(firstPage) ||
                              (end - 1) / kPageBytes > static_cast<std::uint32_t>(lastPage)))
            return Fail(
                core::Format("Error in file format : line %d writes outside the pages "
                             "%02d to %02d that the file erases",
                             number, firstPage, lastPage));
        FlashRecord rec;
        rec.address = hex.address;
        rec.addressText = {text[3], text[4], text[5], text[6]};
        rec.wire = std::string(text) + "\r";
        rec.data = hex.data;
        r.plan.byteCount += hex.count;
        r.plan.records.push_back(std::move(rec));
    }
    r.ok = true;
    return r;
}

// [KZLFLASH] / [KZLZ16FLASH] then records in the Intel HEX layout; only data records are
// written. In the 16-bit image an extended address record (type 04) moves the rest to the
// upper 64 KB.
FlashFileResult ReadImage(const LineReader& read, FlashFileKind kind) {
    FlashFileResult r;
    r.plan.kind = kind;
    std::uint8_t extension = 0;
    std::string line;
    HexLine hex;
    for (int number = 2; read(line, kRecordLineBuffer); ++number) {
        const std::string_view text = WithoutLineEnd(line);
        if (text.empty()) continue;
        if (std::string error = CheckHexLine(text, number, false, hex); !error.empty())
            return Fail(error);
        if (kind == FlashFileKind::Image16 && text[8] == '4') extension = 1;
        if (hex.type == 1) break;
        if (hex.type != 0) continue;
        if (hex.address + static_cast<std::uint32_t>(hex.count) > kAddressSpace)
            return Fail(kTooLarge);
        FlashRecord rec;
        rec.address = hex.address;
        rec.extension = extension;
        rec.addressText = {text[3], text[4], text[5], text[6]};
        rec.data = hex.data;
        r.plan.byteCount += hex.count;
        r.plan.records.push_back(std::move(rec));
    }
    r.ok = true;
    return r;
}

FlashFileResult ReadAll(const LineReader& read, std::string_view addressText) {
    std::string first;
    if (!read(first, core::kTableLineBuffer)) return Fail(kReadFailed);
    switch (FlashKindOf(first)) {
        case FlashFileKind::Table:
            return ReadTable(read, first, addressText);
        case FlashFileKind::IntelHex:
            return ReadIntelHex(read, first);
        case FlashFileKind::Image8:
            return ReadImage(read, FlashFileKind::Image8);
        case FlashFileKind::Image16:
            return ReadImage(read, FlashFileKind::Image16);
        case FlashFileKind::Unknown:
            break;
    }
    return Fail(kInvalidType);
}

}  // namespace

FlashFileKind FlashKindOf(std::string_view firstLine) {
    if (firstLine.find("[TABLE]") != std::string_view::npos) return FlashFileKind::Table;
    if (firstLine.find("[INTELHEX]") != std::string_view::npos) return FlashFileKind::IntelHex;
    if (firstLine.find("[KZLFLASH]") != std::string_view::npos) return FlashFileKind::Image8;
    if (firstLine.find("[KZLZ16FLASH]") != std::string_view::npos) return FlashFileKind::Image16;
    return FlashFileKind::Unknown;
}

std::uint16_t AddressFromText(std::string_view text) {
    return static_cast<std::uint16_t>(core::FixedHexValue(text, 4));
}

std::string EraseRangeCommand(int firstPage, int lastPage, bool lineFeed) {
    return core::Format("  *%02X%02X\r%s", firstPage & 0xFF, lastPage & 0xFF, lineFeed ? "\n" : "");
}

std::uint8_t IntelHexChecksum(const std::uint8_t* bytes, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF);
}

std::string TableDataRecord(std::uint16_t address, const std::uint8_t* data16) {
    std::array<std::uint8_t, 20> bytes{};
    bytes[0] = 0x10;
    bytes[1] = static_cast<std::uint8_t>(address >> 8);
    bytes[2] = static_cast<std::uint8_t>(address & 0xFF);
    bytes[3] = 0x00;
    // A table of 64 KB is 4096 of these: the digits are written directly, without a format
    // call per byte.
    std::string out;
    out.reserve(45);
    out += ':';
    for (std::size_t i = 0; i < 4; ++i) core::AppendHexByte(out, bytes[i]);
    for (std::size_t i = 0; i < 16; ++i) {
        bytes[4 + i] = data16[i];
        core::AppendHexByte(out, data16[i]);
    }
    core::AppendHexByte(out, IntelHexChecksum(bytes.data(), bytes.size()));
    out += "\r\n";
    return out;
}

FlashFileResult ReadFlashFile(const std::string& path, std::string_view addressText) {
    core::TextFile file;
    if (path.empty() || !file.Open(path, core::TextFile::Mode::Read)) return Fail(kOpenFailed);
    bool failed = false;
    FlashFileResult r = ReadAll(
        [&](std::string& line, std::size_t size) {
            if (file.ReadLine(line, size)) return true;
            failed = failed || file.HasError();
            return false;
        },
        addressText);
    if (r.ok && failed) r = Fail(kReadFailed);
    file.Close();
    return r;
}

FlashFileResult ParseFlashText(std::string_view content, std::string_view addressText) {
    std::size_t at = 0;
    return ReadAll(
        [&](std::string& line, std::size_t size) {
            line.clear();
            // Text mode: "\r\n" reads as "\n"; a line ends after its "\n" or at size - 1.
            while (at < content.size() && line.size() + 1 < size) {
                char c = content[at];
                if (c == '\r' && at + 1 < content.size() && content[at + 1] == '\n') {
                    ++at;
                    c = '\n';
                }
                line.push_back(c);
                ++at;
                if (c == '\n') break;
            }
            return !line.empty();
        },
        addressText);
}

}  // namespace pelor::unit
