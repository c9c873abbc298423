#include "logs/capture_row_reader.h"

#include "core/hex.h"

namespace pelor::logs {
namespace {

constexpr std::string_view kHeaderStart = "Date Time, Count,";
constexpr std::string_view kSingleColumn = "--------";
constexpr std::string_view kPlaceholderName = "NOTUSED";

// Splits `text` at commas, one field per call.
class Fields {
public:
    explicit Fields(std::string_view text) : text_(text) {}
    bool Next(std::string_view& field) {
        if (done_) return false;
        const std::size_t comma = text_.find(',', pos_);
        if (comma == std::string_view::npos) {
            field = text_.substr(pos_);
            done_ = true;
            return !field.empty();
        }
        field = text_.substr(pos_, comma - pos_);
        pos_ = comma + 1;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The "%3d" glyph code of a level digit back to the digit; '0' when it is not one.
char LevelDigit(std::string_view code) {
    int value = 0;
    bool any = false;
    for (const char c : code) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') return '0';
        value = value * 10 + (c - '0');
        any = true;
        if (value > 99) return '0';
    }
    if (!any) return '0';
    if (value >= 1 && value <= 10) return static_cast<char>('0' + value - 1);
    if (value >= 14 && value <= 19) return static_cast<char>('A' + value - 14);
    return '0';
}

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

}  // namespace

void CaptureRowReader::Reset() {
    groups_.fill(0);
    groupCount_ = 0;
    hasHeader_ = false;
}

bool CaptureRowReader::TakeHeader(std::string_view line) {
    if (line.substr(0, kHeaderStart.size()) != kHeaderStart) return false;
    Fields fields(line.substr(kHeaderStart.size()));
    std::array<int, 16> groups{};
    int count = 0;
    std::string_view name;
    while (count < 16 && fields.Next(name)) {
        if (name.empty()) break;
        if (name == kSingleColumn) {
            groups[static_cast<std::size_t>(count++)] = kSingle;
            continue;
        }
        std::string_view id;
        if (!fields.Next(id)) break;
        const std::size_t at = id.find_first_not_of(' ');
        const char digit = at == std::string_view::npos ? '\0' : id[at];
        const bool hex = core::IsUpperHexDigit(digit);
        const bool placeholder = name.substr(0, kPlaceholderName.size()) == kPlaceholderName;
        groups[static_cast<std::size_t>(count++)] =
            !hex || placeholder ? kSkip : core::HexDigitValue(digit);
    }
    groups_ = groups;
    groupCount_ = count;
    hasHeader_ = true;
    return true;
}

int CaptureRowReader::ApplyRow(std::string_view row, decode::ChannelStore& store,
                               const decode::ChannelContext& context) const {
    Fields fields(row);
    std::string_view stamp;
    std::string_view count;
    if (!fields.Next(stamp) || !AllDigits(stamp) || !fields.Next(count) || !AllDigits(count))
        return 0;

    int applied = 0;
    std::string_view value;
    for (int g = 0; g < 16 && fields.Next(value); ++g) {
        if (value.empty()) break;
        int channel = 0;
        if (hasHeader_) {
            if (g >= groupCount_) break;
            channel = groups_[static_cast<std::size_t>(g)];
            // Entry 0 is one column or a pair as the row has it: a log recorded in several
            // runs holds one header, written when entry 0 may have had the other shape.
            if (g == 0 && (channel == kSingle) != (value == kSingleColumn)) {
                channel = value == kSingleColumn ? kSingle : 0;
            }
        } else {
            // The default layout: entry 0 (a pair, or its single column), then 1..15.
            channel = g == 0 && value == kSingleColumn ? kSingle : g;
        }
        if (channel == kSingle) continue;
        std::string_view code;
        if (!fields.Next(code)) break;
        if (channel == kSkip) continue;
        // Shown text (4), "##" (keep), level: the high digit from its glyph code, low digit 0.
        char text[8] = {' ', ' ', ' ', ' ', '#', '#', LevelDigit(code), '0'};
        for (std::size_t i = 0; i < 4 && i < value.size(); ++i) text[i] = value[i];
        decode::UpdateChannel(store, context, channel, std::string_view(text, sizeof text));
        ++applied;
    }
    return applied;
}

int CaptureRowReader::Feed(std::string_view chunk, bool atFileStart, decode::ChannelStore& store,
                           const decode::ChannelContext& context) {
    std::size_t pos = 0;
    if (!atFileStart) {
        // The chunk starts inside a line: its rest is not a whole record.
        const std::size_t end = chunk.find('\n');
        if (end == std::string_view::npos) return 0;
        pos = end + 1;
    }
    while (pos < chunk.size()) {
        const std::size_t end = chunk.find('\n', pos);
        if (end == std::string_view::npos) return 0;  // cut by the end of the chunk
        const std::string_view line = TrimLineEnd(chunk.substr(pos, end - pos));
        pos = end + 1;
        if (TakeHeader(line)) continue;
        const int applied = ApplyRow(line, store, context);
        if (applied > 0) return applied;
    }
    return 0;
}

}  // namespace pelor::logs
