#include "logs/capture_rows.h"

#include "core/format.h"
#include "core/hex.h"
#include "decode/channel_store.h"

namespace pelor::logs {
namespace {

// Character `i` of a stored sentence; past its end a space (a placeholder of our own: the
// stored sentences always have the full shape, but bad input must not read out of bounds).
char At(std::string_view s, std::size_t i) {
    return i < s.size() ? s[i] : ' ';
}

void AppendRange(std::string& out, std::string_view s, std::size_t from, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out += At(s, from + i);
}

void AppendValueColumns(std::string& out, std::string_view s) {
    AppendRange(out, s, 9, 4);
    out += ',';
    const int glyph = 15 < s.size() ? decode::GlyphCode(s[15]) : 0;
    core::AppendFormat(out, "%3d,", glyph);
}

void AppendNameColumns(std::string& out, std::string_view s, std::string_view after) {
    AppendRange(out, s, 20, 8);
    out += ',';
    out += At(s, 28);
    out += after;
}

void AppendSlot(std::string& out, std::string_view s, LogKind kind, bool first) {
    switch (kind) {
        case LogKind::CsvRows:
            if (first && s.size() <= 28) {
                out += "--------,";
            } else {
                AppendValueColumns(out, s);
            }
            return;
        case LogKind::CsvHeaderPending:
            if (first && s.size() <= 28) {
                out += "--------,";
            } else {
                AppendNameColumns(out, s, first ? "  ," : " ,");
            }
            return;
        default:
            if (!s.empty()) out.append(s.substr(0, s.size() - 1));
            out += ',';
            return;
    }
}

constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kMessageReceived = 0x93;

}  // namespace

std::string PlaceholderSentence(int entry) {
    return core::Format("$IIXDR,G, 0000000,G,NOTUSED %01X*00\r", entry & 0x0F);
}

void AppendFieldText(std::string& out, const StoredSentences& sentences, LogKind kind) {
    AppendSlot(out, sentences[0], kind, true);
    for (std::size_t i = 1; i < sentences.size(); ++i) {
        if (!sentences[i].empty()) AppendSlot(out, sentences[i], kind, false);
    }
}

std::string Stamp(const std::tm& time) {
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &time);
    return std::string(text, n);
}

std::string RecordLine(LogKind kind, const std::string& stamp, std::int32_t count,
                       std::string_view fields) {
    std::string line;
    line.reserve(fields.size() + 32);
    if (kind == LogKind::CsvHeaderPending) {
        line = "Date Time, Count,";
    } else {
        line = stamp;
        core::AppendFormat(line, ",%6.6d,", count);
    }
    line.append(fields);
    line += '\n';
    return line;
}

std::string WebRecordLine(std::string_view dSentence, std::string_view sSentence,
                          std::string_view fields) {
    std::string line;
    line.reserve(dSentence.size() + sSentence.size() + fields.size() + 3);
    line.append(dSentence);
    line += ',';
    line.append(sSentence);
    line += ',';
    line.append(fields);
    line += '\n';
    return line;
}

void AppendFrameSentences(std::string& out, std::span<const std::uint8_t> batch,
                          std::basic_string<std::uint8_t>& scratch) {
    scratch.clear();
    for (std::size_t i = 0; i < batch.size(); ++i) {
        scratch += batch[i];
        if (batch[i] == kDle && i + 1 < batch.size() && batch[i + 1] == kDle) ++i;
    }
    const std::uint8_t* b = scratch.data();
    const std::size_t n = scratch.size();
    std::size_t i = 0;
    while (i < n) {
        if (!(b[i] == kDle && i + 3 < n && b[i + 1] == kStx && b[i + 2] == kMessageReceived)) {
            ++i;
            continue;
        }
        const std::size_t length = b[i + 3];
        // A length shorter than the fixed header is no frame of ours: scan on.
        if (length < 11) {
            ++i;
            continue;
        }
        // The frame's check byte at i + L + 4 must be inside the batch.
        if (i + length + 4 >= n) break;
        const std::size_t start = out.size();
        out += "$PKZLN,";
        core::AppendHexByte(out, b[i + 7]);
        core::AppendHexByte(out, b[i + 6]);
        core::AppendHexByte(out, b[i + 5]);
        out += ',';
        core::AppendHexByte(out, b[i + 13]);
        core::AppendHexByte(out, b[i + 12]);
        core::AppendHexByte(out, b[i + 11]);
        core::AppendHexByte(out, b[i + 10]);
        out += ',';
        core::AppendHexByte(out, b[i + 9]);
        out += ',';
        for (std::size_t k = 0; k + 11 < length; ++k) core::AppendHexByte(out, b[i + 15 + k]);
        const std::uint8_t sum = core::XorChecksum(std::string_view(out).substr(start + 1));
        out += '*';
        core::AppendHexByte(out, sum);
        out += '\r';
        i += length + 5;
    }
}

}  // namespace pelor::logs
