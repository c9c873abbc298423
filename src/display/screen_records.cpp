#include "display/screen_records.h"

#include <string>

#include "core/scaling.h"
#include "decode/text_framer.h"
#include "display/layout.h"

namespace pelor::display {

namespace {

constexpr std::size_t kShortText = 32;      // texts up to this length wait for more
constexpr std::size_t kRecordMinimum = 36;  // characters from the 'm' on that a record needs
constexpr int kSlotCount = decode::kChannelCount;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number in `field` as atoi reads it (leading blanks, sign, digits); a field that the
// end of the text cut short ends the number there.
int FieldNumber(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    int value = 0;
    while (i < field.size() && IsDigit(field[i])) value = value * 10 + (field[i++] - '0');
    return negative ? -value : value;
}

// The next record start: an "m0" when there is one, else an "m1".
std::size_t FindMarker(const decode::TextFramer& framer, std::size_t from) {
    const std::size_t p = framer.Find("m0", from);
    return p != decode::kNoPosition ? p : framer.Find("m1", from);
}

}  // namespace

ScreenRecordRules MakeScreenRecordRules(int displayType, const GaugeStyles& styles) {
    ScreenRecordRules rules;
    rules.displayType = displayType;
    for (int i = 0; i < kStyleCount; ++i) rules.frameOffsets[i] = styles[i].frameOffset;
    return rules;
}

int CorrectFrame(int mode, int frame, int frameOffset) {
    if (mode == kModeLargeText || mode == kModeData || mode == kModeIndicator) return 0;
    if (frameOffset != kBuiltInFrameCorrection) return frame - frameOffset;
    switch (mode) {
        case kModeDial:
            if (frame == 47) return 0;
            if (frame == 48) return 1;
            return frame - 29;
        case kModeLargeDial:
            return static_cast<int>((frame - 2) * 0.5555);
        case kModeLargeRamp:
            return static_cast<int>((frame - 2) * 0.833333);
        case kModeBargraph:
            if (frame >= 49 && frame <= 51) frame += 6;  // 49, 50, 51 -> 55, 56, 57
            return static_cast<int>((frame - 55) * 0.52381);
        case kModeBarText:
            if (frame >= 52 && frame <= 54) frame += 24;  // 52, 53, 54 -> 76, 77, 78
            return static_cast<int>((frame - 76) * 0.52381);
        default:
            return frame;
    }
}

std::size_t ParseScreenRecords(std::string_view text, decode::ChannelStore& store,
                               const ScreenRecordRules& rules) {
    const decode::TextFramer framer(text);
    if (text.size() <= kShortText) {
        decode::KeepTail(store.ReceiveText, text, 0);
        return store.ReceiveText.size();
    }
    const DisplayTypeInfo& type = DisplayTypeFor(rules.displayType);
    int slot = 0;
    std::size_t tailStart = 0;  // the whole text when no record starts
    std::size_t pos = 0;
    while (true) {
        const std::size_t p = FindMarker(framer, pos);
        if (p == decode::kNoPosition) break;
        if (!framer.Arrived(p, kRecordMinimum)) {
            tailStart = p;  // an incomplete record: keep it for the next pass
            break;
        }
        if (framer.At(p + 4) != ' ' || framer.At(p + 5) != '"') {
            pos = p + 2;
            continue;
        }
        // The six quotes of the three fields; the first is at p + 5.
        std::array<std::size_t, 6> quote{};
        quote[0] = p + 5;
        bool complete = true;
        for (int q = 1; q < 6; ++q) {
            quote[q] = framer.Find("\"", quote[q - 1] + 1);
            if (quote[q] == decode::kNoPosition) {
                complete = false;
                break;
            }
        }
        if (!complete) {
            tailStart = p;
            break;
        }
        slot = (slot + 1) % kSlotCount;
        const auto s = static_cast<std::size_t>(slot);

        // Label: up to 8 characters after the fifth quote, ending at the sixth.
        const std::size_t labelLength = std::min<std::size_t>(8, quote[5] - quote[4] - 1);
        store.m_PosLabel[s].assign(framer.Field(quote[4] + 1, labelLength));
        // Value: the 4 characters after the third quote.
        for (std::size_t i = 0; i < 4; ++i)
            store.m_PosValueText[s][i] = framer.At(quote[2] + 1 + i);

        const int code = FieldNumber(framer.Field(p + 1, 3));
        const int x = FieldNumber(framer.Field(p + 6, 3));
        const int y = FieldNumber(framer.Field(p + 10, 3));
        int frame = 0;
        if (framer.At(p + 17) == ' ') {
            frame = FieldNumber(framer.Field(p + 15, 2));
        } else if (IsDigit(framer.At(p + 17))) {
            frame = FieldNumber(framer.Field(p + 16, 2));
        }
        const int mode = ModeForGaugeTypeCode(code);
        const int style = StyleIndexForMode(mode);
        const int offset = style >= 0 ? rules.frameOffsets[style] : 0;
        frame = style >= 0 ? CorrectFrame(mode, frame, offset) : 0;

        tailStart = quote[5] + 1;
        ++store.UpdateCount[s];
        if (type.recordScaleX != 0) {
            store.m_PosMode[s] = mode;
            store.m_PosFrame[s] = frame;
            store.m_PosX[s] = core::ScaleByThousandths(x, type.recordScaleX);
            store.m_PosY[s] = core::ScaleByThousandths(y, type.recordScaleY);
        }
        if (p + kShortText > text.size()) break;
        pos = quote[5] + 2;
        if (pos >= text.size()) break;
    }
    decode::KeepTail(store.ReceiveText, text, tailStart);
    return store.ReceiveText.size();
}

}  // namespace pelor::display
