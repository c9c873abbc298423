#pragma once
// The options table file ("[TABLE][7800][1][512]"): 1536 byte entries, the unit's options
// (0..31, 192..255), channels (32..63), alarms (64..191), NMEA 2000 tags (256..367), the HTTP
// post address (368..431), unassigned options (432..511) and two fuel flow calibrations
// (512..1023, 1024..1535). The file has 1537 lines although its header names 512 entries.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "core/prompt.h"
#include "tables/table_types.h"

namespace pelor::tables {

inline constexpr const char* kOptionsHeader = "[TABLE][7800][1][512]\n";
inline constexpr std::size_t kChannelSection = 32;  // 32 bytes
inline constexpr std::size_t kAlarmSection = 64;    // 128 bytes
inline constexpr std::size_t kN2kSection = 256;     // 112 bytes
inline constexpr std::size_t kHttpSection = 368;    // 64 bytes
inline constexpr std::size_t kAdapterInitByte = 367;

// What the main window takes from the options table after each load.
struct OptionsValues {
    int pageCount = 0;                        // byte 0
    int displayType = 0;                      // byte 6
    std::uint8_t kanteloMode = 0;             // byte 5 & 0x70
    std::uint8_t kanteloCountLow = 0;         // byte 23, low nibble
    std::uint8_t kanteloCountHigh = 0;        // byte 23, high nibble
    std::uint8_t serialCommandMode = 0;       // byte 21
    std::uint8_t ioChoice = 0;                // byte 197
    bool dualDisplay = false;                 // byte 199 == 1
    std::uint8_t dialScale0 = 0;              // byte 30
    std::uint8_t dialScale1 = 0;              // byte 31
    std::uint8_t dialScale2 = 0;              // byte 204
    std::uint8_t adapterInit = 0;             // byte 367 (0xFF: initialise the NMEA 2000 adapter)
    std::array<std::uint8_t, 32> channels{};  // bytes 32..63
    std::array<std::uint8_t, 128> alarms{};   // bytes 64..191
};

OptionsValues DeriveOptionsValues(const OptionsTable& options);

// Line `entry` of the options file (0..1535) holding `value`, with its "\n".
std::string OptionsLine(std::size_t entry, std::uint8_t value);
// Length of line `entry` (-1: the header), "\n" included; the same for every value.
std::size_t OptionsLineLength(int entry);

// Writes the whole table to directory + name, then "File Saved".
bool WriteOptionsFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                      const OptionsTable& options);

// Rewrites entries first .. first + count - 1 of an options file written by WriteOptionsFile
// in place, from `options` (the CHANNELS, ALARMS and NMEA 2000 sections).
bool UpdateOptionsSection(core::Prompt& prompt, const std::string& directory,
                          const std::string& name, const OptionsTable& options, std::size_t first,
                          std::size_t count);

// Serial baud rate: choice 0..5 ("4800" .. "115200") <-> code 1152000 / rate.
std::uint8_t BaudCodeFromChoice(int choice);
int BaudChoiceFromCode(std::uint8_t code);  // unknown codes give choice 0
// Byte 16: bit 0 USB, bit 1 serial; 1 when both are clear.
std::uint8_t SerialInputByte(bool usb, bool serial);
// Bytes 216 and 217 from the pulse enable choices of bytes 10, 14 and 202 and the timer 2
// field.
std::pair<std::uint8_t, std::uint8_t> Timer2Bytes(int pulse0Enable, int pulse1Enable,
                                                  int rpm2Enable, std::uint8_t timer2Field);
// Byte 220: bit 3 for the 2X update rate, bit 2 for a "PulseBase" choice (7..9) of byte 202,
// bit 1 for a "TimeBase" choice (4..6).
std::uint8_t BaseTimerByte(bool updateRate2x, int rpm2Enable);
// Bytes 368..431 from the HTTP post address.
void SetHttpPostAddress(OptionsTable& options, const std::string& address);

}  // namespace pelor::tables
