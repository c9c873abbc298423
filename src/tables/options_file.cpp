#include "tables/options_file.h"

#include <algorithm>
#include <vector>

#include "core/format.h"
#include "tables/label_file.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

// Names of bytes 0..31, printed in a 31-character field.
constexpr std::array<const char*, 32> kGeneralNames = {"NumOfPages",
                                                       "NumNMEAPages",
                                                       "NumControlPages",
                                                       "AnalogInputs",
                                                       "NMEAInputs",
                                                       "Switch Mode",
                                                       "DisplayType",
                                                       "Contrase",
                                                       "P0Scale",
                                                       "P0Time",
                                                       "Pulse0Enable",
                                                       "P0Edge",
                                                       "P1Scale",
                                                       "P1Time",
                                                       "Pulse1Enable",
                                                       "P1Edge",
                                                       "SerialDataInMode",
                                                       "SerialDataOutMode",
                                                       "NotUsed",
                                                       "BaudRate",
                                                       "SerialCommandMode",
                                                       "SerialCommandMode",
                                                       "MasterSlave",
                                                       "NumOfKantelo",
                                                       "AlarmEnable",
                                                       "AlarmMode",
                                                       "Invert Display",
                                                       "Backlight Init",
                                                       "Scroll Button",
                                                       "Set Button",
                                                       "Pulse0 Dial Scale facor",
                                                       "Pulse1 Dial Scale facor"};

// Names of bytes 192..223 (12 characters each).
constexpr std::array<const char*, 32> kUnitNames = {
    "USB AUTODET ", "USB 1 ENABLE", "USB 2 ENABLE", "USB STATUS  ", "PORT0DISPLAY", "PORT1DISPLAY",
    "USB BAUDRATE", "DISPLAY SYNC", "RPM2 SCALE  ", "RPM2 TIME   ", "RPM2 ENABLE ", "RPM2 EDGE   ",
    "P2 DIAL SCAL", "STAT ENABLE ", "GPHReset    ", "HTTPEnable  ", "TIMER0ENABLE", "TIMER1ENABLE",
    "TIMER2ENABLE", "TIMER3ENABLE", "TIMER0 HB   ", "TIMER0 LB   ", "TIMER1 HB   ", "TIMER1 LB   ",
    "TIMER2 HB   ", "TIMER2 LB   ", "TIMER3 HB   ", "TIMER3 LB   ", "BASE TIMMER ", "Update Rate ",
    "LCD TEMP ADJ", "            "};

// Names of the PGN slots, bytes 336..367.
constexpr std::array<const char*, 32> kPgnSlotNames = {
    "127488 Engine Param, Rapid", "127489 Engine Param, Dynam", "127508 Battery Status     ",
    "127505 Fluid Level        ", "127493 Trans Param, Dynmic", "130311 Environ Params     ",
    "130323 Metrological Data  ", "130306 Wind Data          ", "127250 Vessel Heading     ",
    "127257 Attitude           ", "127251 Rate of Turn       ", "130312 Temperature        ",
    "127501 Switch Status      ", "129026 COG SOG RAPID      ", "129029 GNSS Data          ",
    "129025 Position Rapid     ", "129284 Nav Data           ", "128259 Water Speed        ",
    "128267 Water Depth        ", "128257 Distance           ", "130310 Environ Params     ",
    "127498 Engine Param, Statc", "127501 Switch Bank Status ", "127502 Switch Bank Control",
    "Unassigned PGN            ", "Unassigned PGN            ", "Unassigned PGN            ",
    "Unassigned PGN            ", "Unassigned PGN            ", "Unassigned PGN            ",
    "Unassigned PGN            ", "Init N2K Adapter if 0xFF  "};

constexpr std::array<std::uint8_t, 6> kBaudCodes = {240, 120, 60, 30, 20, 10};

// Comment of a line "name, index within the section, byte index".
std::string SectionComment(const char* format, const char* name, std::size_t index,
                           std::size_t byte) {
    return core::Format(format, name, static_cast<int>(index), static_cast<int>(byte));
}

std::string IndexedComment(const char* format, std::size_t index, std::size_t byte) {
    return core::Format(format, static_cast<int>(index), static_cast<int>(byte));
}

std::string OptionsComment(std::size_t b) {
    const int byte = static_cast<int>(b);
    if (b < 32) return core::Format("; %-31s        %02d \n", kGeneralNames[b], byte);
    if (b < 64) {
        return SectionComment("; %s                         %02d  %02d \n", "Channels  ", b - 32,
                              b);
    }
    if (b < 128) {
        return SectionComment("; %s                       %02d  %02d \n", "Alarm Values", b - 64,
                              b);
    }
    if (b < 160) {
        return SectionComment("; %s                      %02d  %02d \n", "Invert Flag  ", b - 128,
                              b);
    }
    if (b < 176) {
        return SectionComment("; %s                       %02d  %02d \n", "Alarm Mode  ", b - 160,
                              b);
    }
    if (b < 192) {
        return SectionComment("; %s                        %02d  %02d \n", "Alarm Map  ", b - 176,
                              b);
    }
    if (b < 224)
        return core::Format(";OPTIONS %s                    %02d \n", kUnitNames[b - 192], byte);
    if (b < 256) return core::Format(";OPTIONS                                 %02d \n", byte);
    if (b < 288) {
        const char* format = (b % 2 == 0) ? ";N2K PGN INDEX                       %02d  %02d \n"
                                          : ";N2K PARAMS  INDEX                   %02d  %02d \n";
        return IndexedComment(format, (b - 256) / 2, b);
    }
    if (b < 320) {
        const char* format = (b % 2 == 0) ? ";N2K CAPACITY HB                     %02d  %02d \n"
                                          : ";N2K CAPACITY LB                     %02d  %02d \n";
        return IndexedComment(format, (b - 288) / 2, b);
    }
    if (b < 336) {
        return IndexedComment(";N2K PGN ENABLE  IN/OUT              %02d  %02d \n", b - 320, b);
    }
    if (b < 368) {
        return SectionComment(";N2K PGN %s  %02d  %02d \n", kPgnSlotNames[b - 336], b - 336, b);
    }
    if (b < 432) {
        return IndexedComment(";HTTP POST ADDRESS                   %02d  %02d \n", b - 368, b);
    }
    if (b < 512) {
        return IndexedComment(";Unassigned Option                   %02d  %02d \n", b - 432, b);
    }
    if (b < 1024) {
        return IndexedComment(";Fuel Flow Calibration 0             %02d  %02d \n", b - 512, b);
    }
    return IndexedComment(";Fuel Flow Calibration 1             %02d  %02d \n", b - 1024, b);
}

}  // namespace

OptionsValues DeriveOptionsValues(const OptionsTable& o) {
    OptionsValues v;
    v.pageCount = o[0];
    v.displayType = o[6];
    v.kanteloMode = static_cast<std::uint8_t>(o[5] & 0x70);
    v.kanteloCountLow = static_cast<std::uint8_t>(o[23] & 0x0F);
    v.kanteloCountHigh = static_cast<std::uint8_t>(o[23] >> 4);
    v.serialCommandMode = o[21];
    v.ioChoice = o[197];
    v.dualDisplay = o[199] == 1;
    v.dialScale0 = o[30];
    v.dialScale1 = o[31];
    v.dialScale2 = o[204];
    v.adapterInit = o[kAdapterInitByte];
    std::copy_n(o.begin() + kChannelSection, v.channels.size(), v.channels.begin());
    std::copy_n(o.begin() + kAlarmSection, v.alarms.size(), v.alarms.begin());
    return v;
}

std::string OptionsLine(std::size_t entry, std::uint8_t value) {
    return ByteEntryLine(value, OptionsComment(entry));
}

std::size_t OptionsLineLength(int entry) {
    if (entry < 0) return std::string_view(kOptionsHeader).size();
    return OptionsLine(static_cast<std::size_t>(entry), 0).size();
}

bool WriteOptionsFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                      const OptionsTable& options) {
    TableWriter writer(prompt);
    if (!writer.Begin(directory, name, kOptionsHeader)) return false;
    for (std::size_t b = 0; b < kOptionsTableSize; ++b) {
        if (!writer.Line(OptionsLine(b, options[b]))) return false;
    }
    return writer.Finish(true);
}

bool UpdateOptionsSection(core::Prompt& prompt, const std::string& directory,
                          const std::string& name, const OptionsTable& options, std::size_t first,
                          std::size_t count) {
    count = std::min(count, first < kOptionsTableSize ? kOptionsTableSize - first : 0);
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t b = first; b < first + count; ++b) lines.push_back(OptionsLine(b, options[b]));
    return UpdateByteSection(prompt, directory, name, static_cast<int>(first), lines,
                             OptionsLineLength);
}

std::uint8_t BaudCodeFromChoice(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kBaudCodes.size())) return kBaudCodes[0];
    return kBaudCodes[static_cast<std::size_t>(choice)];
}

int BaudChoiceFromCode(std::uint8_t code) {
    const auto it = std::find(kBaudCodes.begin(), kBaudCodes.end(), code);
    return it == kBaudCodes.end() ? 0 : static_cast<int>(it - kBaudCodes.begin());
}

std::uint8_t SerialInputByte(bool usb, bool serial) {
    const int bits = (usb ? 1 : 0) | (serial ? 2 : 0);
    return static_cast<std::uint8_t>(bits == 0 ? 1 : bits);
}

std::pair<std::uint8_t, std::uint8_t> Timer2Bytes(int pulse0Enable, int pulse1Enable,
                                                  int rpm2Enable, std::uint8_t timer2Field) {
    auto any = [&](int choice) {
        return pulse0Enable == choice || pulse1Enable == choice || rpm2Enable == choice;
    };
    if (pulse0Enable == 4 || pulse1Enable == 4 || rpm2Enable == 4 || rpm2Enable == 7) {
        return {255, 255};
    }
    if (any(5) || rpm2Enable == 8) return {187, 128};
    if (any(6) || rpm2Enable == 9) return {140, 160};
    return {0, timer2Field};
}

std::uint8_t BaseTimerByte(bool updateRate2x, int rpm2Enable) {
    int bits = updateRate2x ? 0x08 : 0;
    if (rpm2Enable >= 7 && rpm2Enable <= 9) bits |= 0x04;
    if (rpm2Enable >= 4 && rpm2Enable <= 6) bits |= 0x02;
    return static_cast<std::uint8_t>(bits);
}

void SetHttpPostAddress(OptionsTable& options, const std::string& address) {
    const auto field = HttpField(address);
    std::copy(field.begin(), field.end(), options.begin() + kHttpSection);
}

}  // namespace pelor::tables
