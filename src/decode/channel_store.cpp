#include "decode/channel_store.h"

#include <cstddef>

#include "core/hex.h"
#include "core/view.h"
#include "decode/context_access.h"

namespace pelor::decode {
namespace {

constexpr std::size_t kSentenceValueStart = 9;  // value field of a stored transducer sentence
constexpr std::size_t kSentenceNameStart = 20;  // name field (8 label characters)

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading decimal integer of `text` (white space, optional sign, digits), clamped to 0..255.
int CalibrationIndex(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 255) value = 256;  // saturate; only the clamp below matters
    }
    if (negative) return 0;
    return value > 255 ? 255 : value;
}

WorkText BuildWorkText(const ChannelContext& context, int channel, std::string_view value) {
    WorkText work{};
    if ((OptionByte(context, kChannelOutputBase + static_cast<std::size_t>(channel)) & 0x80) != 0) {
        if (channel >= static_cast<int>(tables::kCalibrationTableCount)) {
            work.fill('-');
            return work;
        }
        const std::size_t entry = static_cast<std::size_t>(CalibrationIndex(value)) * 8;
        for (std::size_t i = 0; i < 8; ++i) {
            work[i] =
                context.calibration == nullptr
                    ? '\0'
                    : static_cast<char>(
                          (*context.calibration)[static_cast<std::size_t>(channel)][entry + i]);
        }
        return work;
    }
    work[6] = 'F';
    work[7] = 'F';
    const std::size_t n = value.size() < 8 ? value.size() : 8;
    for (std::size_t i = 0; i < n; ++i) work[i] = value[i];
    for (std::size_t i = n; i < 6; ++i) work[i] = ' ';
    return work;
}

int RawLevel(const WorkText& work) {
    return core::HexPairValue(work[6], work[7]);
}

struct ModeRule {
    int count;  // characters refreshed
    int style;  // GaugeStyle record whose frame count scales the level; -1: frame 0; -2: B/128
};

// Display modes 0..15; count 0 means the mode leaves the channel's display untouched.
constexpr ModeRule kModeRules[16] = {
    {0, -1},  // 0 NONE
    {4, -1},  // 1 DATA
    {6, 0},   // 2 HISTOGRAM
    {0, -1},  // 3 unassigned
    {4, 3},   // 4 BARGRAPH
    {4, -2},  // 5 INDICATOR
    {4, 1},   // 6 DIAL
    {0, -1},  // 7 unassigned
    {6, 8},   // 8 LARGE DIAL
    {6, 0},   // 9 LARGE RAMP
    {4, -1},  // 10 LARGE TEXT
    {4, 2},   // 11 BAR TEXT
    {4, -1},  // 12 SMALL TEXT
    {4, 4},   // 13 HUGE TEXT
    {0, -1},  // 14
    {0, -1},  // 15
};

std::uint8_t PageByte(const PageBytes* table, int page, int channel) {
    if (table == nullptr || page < 0 || page >= 16) return 0;
    return (*table)[static_cast<std::size_t>(page)][static_cast<std::size_t>(channel)];
}

std::int32_t GridValue(const Grid* grid, int cell) {
    if (grid == nullptr || cell < 0 || cell >= kGridSize) return 0;
    return (*grid)[static_cast<std::size_t>(cell)];
}

}  // namespace

int GlyphCode(char c) {
    if (c >= '0' && c <= '9') return c - '0' + 1;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 14;
    if (c >= 'a' && c <= 'z') return c - 'a' + 40;
    if (c == '#' || c == '-') return 13;
    if (c == '.') return 11;
    return 0;
}

void RefreshGlyphs(ChannelStore& store, const ChannelContext& context, int channel, int count,
                   const WorkText& work) {
    const auto c = static_cast<std::size_t>(channel);
    for (int i = 0; i < 8; ++i) {
        const char label = LabelTableChar(context, channel, i);
        if (label != '#') store.LabelGlyphs[c][static_cast<std::size_t>(i)] = GlyphCode(label);
    }
    std::string& sentence = store.LastSentence[c];
    for (std::size_t i = 0; i < 8; ++i) {
        if (kSentenceNameStart + i < sentence.size()) {
            sentence[kSentenceNameStart + i] =
                LabelTableChar(context, channel, static_cast<int>(i));
        }
        if (kSentenceValueStart + i < sentence.size()) sentence[kSentenceValueStart + i] = work[i];
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(count) && i < 8; ++i) {
        if (work[i] == '#') {
            store.m_PosValueText[c][i] = ' ';
            store.TextGlyphs[c][i] = 0;
        } else {
            store.m_PosValueText[c][i] = work[i];
            store.TextGlyphs[c][i] = GlyphCode(work[i]);
        }
    }
}

void UpdateChannel(ChannelStore& store, const ChannelContext& context, int channel,
                   std::string_view value) {
    if (channel < 0 || channel >= kChannelCount) return;
    const auto c = static_cast<std::size_t>(channel);
    ++store.UpdateCount[c];
    if (context.labelStrings != nullptr) {
        store.m_PosLabel[c] = (*context.labelStrings)[c];
    } else {
        store.m_PosLabel[c].clear();
    }

    WorkText work = BuildWorkText(context, channel, value);
    const int level = RawLevel(work);
    if (context.valueApplied)
        context.valueApplied(channel, value, std::string_view(work.data(), work.size()));

    const int mode = PageByte(context.labelMode, context.currentPage, channel) & 0x0F;
    const ModeRule rule = kModeRules[mode];
    const int cell = PageByte(context.labelCell, context.currentPage, channel);
    const bool shown = !context.modeHidden[static_cast<std::size_t>(mode)] &&
                       (cell >= kGridSize || !context.cellMissing[static_cast<std::size_t>(cell)]);
    if (rule.count != 0 && !shown) {
        store.m_PosMode[c] = 0;
    } else if (rule.count != 0) {
        store.m_PosX[c] = GridValue(context.gridX, cell);
        store.m_PosY[c] = GridValue(context.gridY, cell);
        RefreshGlyphs(store, context, channel, rule.count, work);
        store.m_PosMode[c] = mode;
        if (rule.style >= 0) {
            store.m_PosFrame[c] =
                level * context.frameCounts[static_cast<std::size_t>(rule.style)] / 256;
        } else if (rule.style == -2) {
            store.m_PosFrame[c] = level / 128;
        } else {
            store.m_PosFrame[c] = 0;
        }
    }

    const bool alarmsEnabled = (OptionByte(context, kAlarmEnableByte) & 0x80) != 0;
    const int alarmLevel = OptionByte(context, kAlarmLevelBase + c);
    if (!alarmsEnabled || alarmLevel < 1) return;
    const int low = OptionByte(context, kAlarmLowBase + 2 * c);
    const int high = OptionByte(context, kAlarmHighBase + 2 * c);
    const bool inverted = OptionByte(context, kAlarmInvertedBase + 2 * c) == 1;
    const bool inAlarm =
        inverted ? (level > 255 - low || level < 255 - high) : (level < low || level > high);
    if (!inAlarm) return;
    if (store.AlarmBlink[c] == 1) {
        for (std::size_t i = 0; i < 4; ++i) work[i] = ' ';
        RefreshGlyphs(store, context, channel, 6, work);
        store.AlarmBlink[c] = 0;
    } else {
        store.AlarmBlink[c] = 1;
    }
    if (alarmLevel >= 2 && context.view != nullptr) context.view->Beep();
}

void ResetPositions(ChannelStore& store, core::View* view) {
    store.m_PosMode.fill(0);
    store.m_PosFrame.fill(0);
    store.m_PosX.fill(0);
    store.m_PosY.fill(0);
    store.m_bRedrawAll = 1;
    if (view != nullptr) view->RequestRepaint();
}

}  // namespace pelor::decode
