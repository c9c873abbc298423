#include "decode/n2k_formatters.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <span>
#include <string_view>

#include "core/scaling.h"
#include "decode/context_access.h"
#include "decode/receive_text.h"
#include "decode/unit_sentences.h"

namespace pelor::decode {
namespace {

enum class Width : std::uint8_t { U8, U16, S16, S32 };

// How a raw field becomes a value text.
enum class Rule : std::uint8_t {
    Angle,              // 0.0001 rad -> whole degrees; level centred on 128
    Temperature,        // 0.01 K -> degrees F; level (K - 255) * level factor
    TemperatureDeci,    // as Temperature, field in 0.1 K
    Int,                // shown truncate(raw * show) "%4d", level raw * level
    Fixed0,             // shown raw * show "%4.0f", level raw * level
    Fixed1,             // shown raw * show "%4.1f", level raw * level
    Pressure,           // hPa -> inches of mercury; level (Pa - 90643) / 70
    StatusBit,          // bit (field code - 8): "  ON##FF" / " OFF##00"
    FuelRate,           // raw above 3760 reads 3769, then Fixed1
    CoolantPressure,    // k = truncate(raw * 0.1); shown truncate(k * show), level k
    Rudder,             // whole degrees, level d * 0.7 + 128
    RateOfTurn,         // raw / 32 000 000, level (r * 0.75) mod 256
    FluidLevel,         // percent = truncate(raw * 0.004), level percent * 2.5
    Indicator,          // 2-bit state of indicator (field code >> 1) + 1
    SourceTemperature,  // 130312: level by the temperature source in byte 2
};

constexpr int kAnyField = -1;

}  // namespace

// Which channels a message belongs to, beside the group code.
enum class N2KInstance : std::uint8_t {
    None,
    Byte0,            // source instance = payload byte 0
    Byte1Low,         // source instance = low 4 bits of byte 1
    FluidType,        // instance = low 4 bits of byte 0, field code = its high 4 bits
    SourceByte,       // instance = byte 1 (whole), field code byte (all 8 bits) = byte 2
    CourseReference,  // low 2 bits of the instance = low 2 bits of byte 1
};

// How one field of a group's message becomes a value text.
struct N2KField {
    int code = 0;  // field code, or kAnyField
    std::uint8_t offset = 0;
    Width width = Width::U8;
    Rule rule = Rule::Int;
    double show = 1.0;
    double level = 1.0;
    int reference = -1;  // 130306: wind reference (byte 5, bits 2..0) the field needs
};

namespace {

constexpr double kPsiPerPa = 0.01450377;  // raw in hPa-ish units of the engine fields
constexpr double kPsiPerKPa = 0.1450377;
constexpr double kKnotsPerCms = 0.0194384449;  // 0.01 m/s -> knots

constexpr N2KField kEngineRapid[] = {
    {0, 1, Width::U16, Rule::Int, 0.25, 0.01},
    {1, 3, Width::U16, Rule::Fixed0, kPsiPerPa, 0.092},
    {2, 5, Width::U8, Rule::Int, 1.0, 2.56},
};
constexpr N2KField kEngineDynamic[] = {
    {0, 5, Width::U16, Rule::Temperature, 1.0, 1.84},
    {1, 1, Width::U16, Rule::Fixed0, kPsiPerPa, 0.024},
    {2, 3, Width::U16, Rule::TemperatureDeci, 1.0, 1.15},
    {3, 7, Width::U16, Rule::Fixed1, 0.01, 0.106},
    {4, 9, Width::U16, Rule::FuelRate, 0.0264, 0.214},
    {6, 15, Width::U16, Rule::CoolantPressure, kPsiPerKPa, 1.0},
    {7, 17, Width::U16, Rule::Int, kPsiPerKPa, 0.2},
    {8, 20, Width::U16, Rule::StatusBit},
    {9, 20, Width::U16, Rule::StatusBit},
    {10, 20, Width::U16, Rule::StatusBit},
    {11, 20, Width::U16, Rule::StatusBit},
};
constexpr N2KField kBattery[] = {
    {0, 1, Width::S16, Rule::Fixed1, 0.01, 0.106},
    {1, 3, Width::S16, Rule::Int, 1.0, 1.0},
    {3, 3, Width::S16, Rule::Int, 1.0, 2.0},
    {2, 5, Width::U16, Rule::Temperature, 1.0, 1.84},  // 0.01 K, unsigned as every temperature
};
// Level in 0.004 %, signed: 0x7FFF is "not available".
constexpr N2KField kFluid[] = {{kAnyField, 1, Width::S16, Rule::FluidLevel}};
constexpr N2KField kTransmission[] = {
    {0, 2, Width::U16, Rule::Fixed0, kPsiPerPa, 0.01},
    {1, 4, Width::U16, Rule::TemperatureDeci, 1.0, 1.84},
};
constexpr N2KField kEnvironment[] = {
    {0, 2, Width::U16, Rule::Temperature, 1.0, 3.86},
    {2, 6, Width::U16, Rule::Pressure},
};
constexpr N2KField kMeteo[] = {
    {0, 15, Width::U16, Rule::Fixed1, kKnotsPerCms, 0.06},
    {1, 17, Width::U16, Rule::Angle},
    {2, 22, Width::U16, Rule::Pressure},
    {3, 24, Width::U16, Rule::Temperature, 1.0, 3.86},
};
constexpr N2KField kWind[] = {
    {0, 1, Width::U16, Rule::Fixed1, kKnotsPerCms, 0.06, 2},
    {1, 3, Width::U16, Rule::Angle, 1.0, 1.0, 2},
    {2, 1, Width::U16, Rule::Fixed1, kKnotsPerCms, 0.06, 0},
    {3, 3, Width::U16, Rule::Angle, 1.0, 1.0, 0},
};
constexpr N2KField kHeading[] = {
    {0, 1, Width::U16, Rule::Angle},
    {1, 3, Width::S16, Rule::Angle},  // deviation is signed: 0x7FFF is "not available"
};
constexpr N2KField kAttitude[] = {
    {0, 3, Width::S16, Rule::Angle},
    {1, 5, Width::S16, Rule::Angle},
};
constexpr N2KField kRateOfTurn[] = {{kAnyField, 1, Width::S32, Rule::RateOfTurn}};
constexpr N2KField kTemperature[] = {{kAnyField, 3, Width::U16, Rule::SourceTemperature}};
constexpr N2KField kRudder[] = {
    {0, 4, Width::S16, Rule::Rudder},
    {1, 2, Width::S16, Rule::Rudder},
};
constexpr N2KField kSwitchBank[] = {{kAnyField, 1, Width::U8, Rule::Indicator}};
constexpr N2KField kCourse[] = {
    {0, 4, Width::U16, Rule::Fixed1, kKnotsPerCms, 0.06},
    {1, 2, Width::U16, Rule::Angle},
};

template <std::size_t N>
constexpr N2KFieldList Fields(const N2KField (&fields)[N]) {
    return {fields, N};
}

using Inst = N2KInstance;

// Every PGN either form decodes, sorted by PGN. Text: payload bytes decoded and the PGN decoded
// as; binary: decoded from adapter frames; then the formatter group (code, instance test,
// fields) and the formatter.
constexpr N2KRoute kRoutes[] = {
    {65280, {7, 65280}, false, 0, Inst::None, {}, nullptr},
    {65281, {7, 65281}, false, 0, Inst::None, {}, nullptr},
    {65282, {7, 65282}, false, 0, Inst::None, {}, nullptr},
    {126992, {8, 126992}, true, 0, Inst::None, {}, FormatSystemTime},
    {127245, {8, 127245}, true, 0xD, Inst::Byte0, Fields(kRudder), FormatN2KChannels},
    {127250, {8, 127250}, true, 0x9, Inst::None, Fields(kHeading), FormatN2KChannels},
    {127251, {8, 127251}, true, 0xB, Inst::None, Fields(kRateOfTurn), FormatN2KChannels},
    {127257, {8, 127257}, true, 0xA, Inst::None, Fields(kAttitude), FormatN2KChannels},
    {127488, {8, 127488}, true, 0x1, Inst::Byte0, Fields(kEngineRapid), FormatN2KChannels},
    {127489, {26, 127489}, true, 0x2, Inst::Byte0, Fields(kEngineDynamic), FormatN2KChannels},
    {127493, {8, 127493}, true, 0x5, Inst::Byte0, Fields(kTransmission), FormatN2KChannels},
    {127497, {8, 127497}, false, 0, Inst::None, {}, nullptr},
    {127501, {8, 127501}, true, 0xE, Inst::Byte0, Fields(kSwitchBank), FormatSwitchBank},
    {127505, {8, 127505}, true, 0x4, Inst::FluidType, Fields(kFluid), FormatN2KChannels},
    {127508, {8, 127508}, true, 0x3, Inst::Byte0, Fields(kBattery), FormatN2KChannels},
    {129025, {8, 129026}, false, 0, Inst::None, {}, FormatN2KChannels},
    {129026, {8, 129026}, false, 0xF, Inst::CourseReference, Fields(kCourse), FormatN2KChannels},
    {130306, {8, 130306}, true, 0x8, Inst::None, Fields(kWind), FormatN2KChannels},
    {130311, {8, 130311}, true, 0x6, Inst::Byte1Low, Fields(kEnvironment), FormatN2KChannels},
    {130312, {8, 130312}, true, 0xC, Inst::SourceByte, Fields(kTemperature), FormatN2KChannels},
    {130323, {30, 130323}, true, 0x7, Inst::None, Fields(kMeteo), FormatN2KChannels},
    {130960, {}, true, 0, Inst::None, {}, ApplyScreenRecordMessage},
};

// Where the rows are found: a hash of the PGN picks one of kSlots slots, and a slot already
// taken passes on to the next one. Every message looks its PGN up here, so the search costs
// about one comparison whether the PGN is in the table or not.
constexpr std::size_t kSlots = 64;
constexpr std::uint8_t kEmptySlot = 0xFF;
static_assert(std::size(kRoutes) < kSlots, "a free slot ends every search");

constexpr std::size_t SlotOf(std::uint32_t pgn) {
    return (pgn * 0x9E3779B1u) >> 26;  // the top 6 bits of the product
}

constexpr std::array<std::uint8_t, kSlots> kRowSlots = [] {
    std::array<std::uint8_t, kSlots> slots{};
    slots.fill(kEmptySlot);
    for (std::size_t row = 0; row < std::size(kRoutes); ++row) {
        std::size_t s = SlotOf(kRoutes[row].pgn);
        while (slots[s] != kEmptySlot) s = (s + 1) % kSlots;
        slots[s] = static_cast<std::uint8_t>(row);
    }
    return slots;
}();

constexpr const N2KRoute* FindRow(std::uint32_t pgn) {
    for (std::size_t s = SlotOf(pgn);; s = (s + 1) % kSlots) {
        if (kRowSlots[s] == kEmptySlot) return nullptr;
        if (kRoutes[kRowSlots[s]].pgn == pgn) return &kRoutes[kRowSlots[s]];
    }
}

// The table's own rules: sorted, one row a PGN, each found by the search; each group code 0x1..0xF
// names one PGN, whose row has fields; a text form fits the text payload and is decoded as a PGN of
// the table.
constexpr bool RoutesAreSound() {
    for (std::size_t i = 1; i < std::size(kRoutes); ++i) {
        if (kRoutes[i - 1].pgn >= kRoutes[i].pgn) return false;
    }
    for (int group = 0x1; group <= 0xF; ++group) {
        int rows = 0;
        for (const N2KRoute& row : kRoutes) rows += row.group == group ? 1 : 0;
        if (rows != 1) return false;
    }
    for (const N2KRoute& row : kRoutes) {
        if (FindRow(row.pgn) != &row) return false;
        if (row.group > 0xF || (row.group != 0) != (row.fields.count != 0)) return false;
        if (row.text.bytes > kN2KLongestTextPayload) return false;
        if (row.text.bytes > 0 && FindRow(row.text.decodeAs) == nullptr) return false;
    }
    return true;
}
static_assert(RoutesAreSound(), "route table rules");

std::span<const N2KField> FieldsOf(const N2KRoute& row) {
    return {row.fields.first, row.fields.count};
}

// Value text buffer: snprintf never writes past it; UpdateChannel uses the first 8 characters.
struct Text {
    char chars[48]{};
    int size = 0;
    std::string_view view() const { return {chars, static_cast<std::size_t>(size)}; }
};

int Level(double x) {
    if (!(x > 0.0)) return 0;
    if (x >= 255.0) return 255;
    return static_cast<int>(x);
}

int Level(int x) {
    return x < 0 ? 0 : (x > 255 ? 255 : x);
}

int Clip(int written) {
    return written < 0 ? 0 : (written > 47 ? 47 : written);
}

// A value text is 4 display characters, "##" and the two level digits; a value wider than
// its 4 places would push the level out of the 8 characters that UpdateChannel takes.
constexpr int kValueTextSize = 8;

void SetOverflow(Text& t, int level) {
    t.size = Clip(std::snprintf(t.chars, sizeof t.chars, "----##%02X", level & 0xFF));
}

void SetInt(Text& t, int shown, int level) {
    t.size = Clip(std::snprintf(t.chars, sizeof t.chars, "%4d##%02X", shown, level & 0xFF));
    if (t.size > kValueTextSize) SetOverflow(t, level);
}
// One decimal that does not fit is dropped ("123.4" shows " 123"); a value that does not fit
// even so shows "----".
void SetFixed(Text& t, const char* format, double shown, int level) {
    t.size = Clip(std::snprintf(t.chars, sizeof t.chars, format, shown, level & 0xFF));
    if (t.size > kValueTextSize)
        t.size = Clip(std::snprintf(t.chars, sizeof t.chars, "%4.0f##%02X", shown, level & 0xFF));
    if (t.size > kValueTextSize) SetOverflow(t, level);
}
void SetLiteral(Text& t, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) t.chars[i] = text[i];
    t.size = static_cast<int>(text.size());
}

double ReadRaw(const N2KMessage& m, const N2KField& f) {
    switch (f.width) {
        case Width::U8:
            return m.Byte(f.offset);
        case Width::U16:
            return m.U16(f.offset);
        case Width::S16:
            return m.S16(f.offset);
        case Width::S32:
            return m.S32(f.offset);
    }
    return 0;
}

void SetAngle(Text& t, double raw) {
    const int d = static_cast<int>(raw * 0.00572957795);
    if (d > 359) return SetLiteral(t, "----##00");
    if (d < 0) return SetLiteral(t, "----##80");
    const int level =
        d > 180 ? static_cast<int>(d * 0.711 - 128 + 4) : static_cast<int>(d * 0.711 + 128 - 4);
    SetInt(t, d, level);
}

void SetTemperature(Text& t, int kelvin, double factor) {
    SetInt(t, static_cast<int>(kelvin * 1.8 - 459.67), Level((kelvin - 255) * factor));
}

// The three highest codes of a field's range are not readings: all bits set (or the highest
// positive value of a signed field) means "not available", one less "error", two less
// "reserved". Bit fields and 2-bit states carry their own meanings.
bool IsNoData(const N2KMessage& m, const N2KField& f) {
    if (f.rule == Rule::StatusBit || f.rule == Rule::Indicator) return false;
    switch (f.width) {
        case Width::U8:
            return m.Byte(f.offset) >= 0xFD;
        case Width::U16:
            return m.U16(f.offset) >= 0xFFFD;
        case Width::S16:
            return m.S16(f.offset) >= 0x7FFD;
        case Width::S32:
            return m.S32(f.offset) >= 0x7FFFFFFD;
    }
    return false;
}

// Builds the value text of one field; false when the field gives nothing for the channel
// (no such field, or a field that holds no reading).
bool BuildText(Text& t, const N2KMessage& m, const N2KField& f, int fieldCode) {
    if (IsNoData(m, f)) return false;
    const double raw = ReadRaw(m, f);
    switch (f.rule) {
        case Rule::Angle:
            SetAngle(t, raw);
            return true;
        case Rule::Temperature:
            SetTemperature(t, static_cast<int>(raw * 0.01), f.level);
            return true;
        case Rule::TemperatureDeci:
            SetTemperature(t, static_cast<int>(raw * 0.1), f.level);
            return true;
        case Rule::Int:
            SetInt(t, static_cast<int>(raw * f.show), Level(raw * f.level));
            return true;
        case Rule::Fixed0:
            SetFixed(t, "%4.0f##%02X", raw * f.show, Level(raw * f.level));
            return true;
        case Rule::Fixed1:
            SetFixed(t, "%4.1f##%02X", raw * f.show, Level(raw * f.level));
            return true;
        case Rule::Pressure: {
            const int pascal = static_cast<int>(raw) * 100;
            SetFixed(t, "%4.1f##%02X", pascal * 0.0002952299830714,
                     Level(static_cast<int>((pascal - 90643) / 70)));
            return true;
        }
        case Rule::StatusBit: {
            const bool set = ((static_cast<int>(raw) >> (fieldCode - 8)) & 1) != 0;
            SetLiteral(t, set ? "  ON##FF" : " OFF##00");
            return true;
        }
        case Rule::FuelRate: {
            const double rate = raw > 3760 ? 3769 : raw;
            SetFixed(t, "%4.1f##%02X", rate * f.show, Level(rate * f.level));
            return true;
        }
        case Rule::CoolantPressure: {
            const int k = static_cast<int>(raw * 0.1);
            SetInt(t, static_cast<int>(k * f.show), Level(k));
            return true;
        }
        case Rule::Rudder: {
            const int d = static_cast<int>(raw * 0.00572957795);
            SetInt(t, d, Level(d * 0.7 + 128));
            return true;
        }
        case Rule::RateOfTurn: {
            const int r = static_cast<int>(raw) / 32000000;
            SetInt(t, r, static_cast<int>(r * 0.75) & 0xFF);
            return true;
        }
        case Rule::FluidLevel: {
            const int percent = static_cast<int>(raw * 0.004);
            SetInt(t, percent, Level(percent * 2.5));
            return true;
        }
        case Rule::Indicator: {
            const int index = fieldCode >> 1;  // indicator (index + 1), four per byte
            const int state =
                (m.Byte(f.offset + static_cast<std::size_t>(index / 4)) >> (2 * (index % 4))) & 3;
            constexpr std::string_view kStates[] = {" OFF##00", "  ON##FF", " ERR##00", "UNDF##00"};
            SetLiteral(t, kStates[state]);
            return true;
        }
        case Rule::SourceTemperature: {
            const int source = m.Byte(2);
            const double kelvin = raw * 0.01;
            const double level = source < 0x80    ? (kelvin - 255) * 1.84
                                 : source <= 0x85 ? (kelvin - 282) * 0.77
                                                  : (kelvin - 282) * 0.34;
            SetInt(t, static_cast<int>(raw * 0.018 - 459.67), Level(level));
            return true;
        }
    }
    return false;
}

bool InstanceMatches(N2KInstance test, const N2KMessage& m, int source0, int source1) {
    const int instance = source0 & 0x0F;
    switch (test) {
        case N2KInstance::None:
            return true;
        case N2KInstance::Byte0:
            return instance == m.Byte(0);
        case N2KInstance::Byte1Low:
            return instance == (m.Byte(1) & 0x0F);
        case N2KInstance::FluidType:
            return instance == (m.Byte(0) & 0x0F) && (source1 & 0x7F) == (m.Byte(0) >> 4);
        case N2KInstance::SourceByte:
            return instance == m.Byte(1) && source1 == m.Byte(2);
        case N2KInstance::CourseReference:
            return (instance & 3) == (m.Byte(1) & 3);
    }
    return false;
}

// Integer at the start of `count` payload bytes from `from` (blanks, sign, digits).
int ReadNumber(const N2KMessage& m, std::size_t from, std::size_t count) {
    std::size_t i = from;
    const std::size_t end = from + count;
    while (i < end && m.Byte(i) == ' ') ++i;
    bool negative = false;
    if (i < end && (m.Byte(i) == '-' || m.Byte(i) == '+')) negative = m.Byte(i++) == '-';
    int value = 0;
    for (; i < end && m.Byte(i) >= '0' && m.Byte(i) <= '9'; ++i)
        value = value * 10 + (m.Byte(i) - '0');
    return negative ? -value : value;
}

}  // namespace

void FormatN2KChannels(ChannelStore& store, const ChannelContext& context,
                       const N2KMessage& message) {
    const N2KRoute* row = FindRow(message.Pgn);
    if (row == nullptr || row->group == 0) return;
    const int windReference = message.Byte(5) & 0x07;
    Text text;
    for (int c = 0; c < kChannelCount; ++c) {
        const int source0 = OptionByte(context, kN2KSourceBase + 2 * static_cast<std::size_t>(c));
        const int source1 =
            OptionByte(context, kN2KSourceBase + 2 * static_cast<std::size_t>(c) + 1);
        if ((source0 >> 4) != row->group) continue;
        if (!InstanceMatches(row->instance, message, source0, source1)) continue;
        const int fieldCode = source1 & 0x7F;
        for (const N2KField& field : FieldsOf(*row)) {
            if (field.code != kAnyField && field.code != fieldCode) continue;
            if (field.reference >= 0 && field.reference != windReference) continue;
            if (BuildText(text, message, field, fieldCode))
                UpdateChannel(store, context, c, text.view());
            break;
        }
    }
}

void FormatSwitchBank(ChannelStore& store, const ChannelContext& context,
                      const N2KMessage& message) {
    if (message.Pgn != 127501) return;
    if (context.switchBankInstance >= 0 && message.Byte(0) == context.switchBankInstance) {
        char payload[kSwitchCount];
        for (std::size_t i = 0; i < kSwitchCount; ++i) {
            const int state = (message.Byte(1 + i / 4) >> (2 * (i % 4))) & 3;
            payload[i] = state == 1 ? '1' : '0';
        }
        ApplySwitchStatus(store, context, std::string_view(payload, kSwitchCount));
        return;
    }
    FormatN2KChannels(store, context, message);
}

void FormatSystemTime(ChannelStore& store, const ChannelContext& context,
                      const N2KMessage& message) {
    if (message.Pgn != 126992) return;
    if (context.n2kTimeSource == 0 || (message.Byte(1) & 0x0F) != context.n2kTimeSource - 1) return;
    const std::uint16_t days = message.U16(2);
    const std::time_t seconds =
        days == 0xFFFF ? 0 : static_cast<std::time_t>(days) * 86400 + message.S32(4) / 10000;
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) == nullptr) return;
    store.SystemTimeText = SystemTimeCaption(utc);
}

void ApplyScreenRecordMessage(ChannelStore& store, const ChannelContext& context,
                              const N2KMessage& message) {
    if (message.Pgn != 130960) return;
    std::size_t labelLength = 0;
    char label[8];
    for (std::size_t i = 0; i < 8; ++i) label[i] = static_cast<char>(message.Byte(29 + i));
    while (labelLength < 8 && label[labelLength] != '\0') ++labelLength;
    if (context.labelStrings != nullptr) (*context.labelStrings)[0].assign(label, labelLength);
    for (std::size_t i = 0; i < 4; ++i)
        store.m_PosValueText[0][i] = static_cast<char>(message.Byte(22 + i));

    const int type = ReadNumber(message, 4, 3);
    int x = ReadNumber(message, 9, 3);
    int y = ReadNumber(message, 13, 3);
    int frame = ReadNumber(message, 18, 2);
    const int mode = type == 3 ? 6 : type == 2 ? 9 : type;
    if (mode == 6) {
        const int offset = context.frameOffsets[1];
        if (offset != 255) {
            frame -= offset;
        } else {
            frame = static_cast<int>((frame - 29) * 1.077);
            if (frame == 47)
                frame = 29;
            else if (frame == 48)
                frame = 30;
        }
    } else if (mode == 9) {
        const int offset = context.frameOffsets[0];
        frame = offset != 255 ? frame - offset : static_cast<int>((frame - 2) * 0.5555);
    }
    // Factors in thousandths, scaled as the screen records are.
    int scaleX = 0;
    int scaleY = 0;
    switch (context.displayType) {
        case 10:
        case 12:
            scaleX = 2300;
            scaleY = 2400;
            break;
        case 3:
        case 6:
        case 7:
        case 9:
        case 11:
            scaleX = 2400;
            scaleY = 1990;
            break;
        case 13:
        case 14:
            scaleX = 1700;
            scaleY = 1500;
            break;
        default:
            return;
    }
    x = core::ScaleByThousandths(x, scaleX);
    y = core::ScaleByThousandths(y, scaleY);
    store.m_PosX[0] = x;
    store.m_PosY[0] = y;
    store.m_PosMode[0] = mode;
    store.m_PosFrame[0] = frame;
}

const N2KRoute* FindN2KRoute(std::uint32_t pgn) {
    return FindRow(pgn);
}

const N2KRoute* FindTextRoute(std::uint32_t pgn) {
    const N2KRoute* row = FindN2KRoute(pgn);
    return row != nullptr && row->text.bytes > 0 ? row : nullptr;
}

const N2KRoute* FindBinaryRoute(std::uint32_t pgn) {
    const N2KRoute* row = FindN2KRoute(pgn);
    return row != nullptr && row->binary && row->formatter != nullptr ? row : nullptr;
}

}  // namespace pelor::decode
