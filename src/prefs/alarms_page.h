#pragma once
// The ALARMS page: per display a low and a high threshold (raw readings; 0 and 255 mean off),
// an invert flag (displays 0..11), an alarm action and a relay map value. It edits options
// bytes 64..191:
//   64 + 2d, 65 + 2d   low, high threshold of display d      96..127  written 0
//   128 + 2k, 129 + 2k invert flag of display k, complement   152..159 written 0
//   160 + d            action (choice 0..11)                 176 + d  relay map of display d
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/prompt.h"
#include "tables/options_section.h"
#include "tables/table_types.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

inline constexpr int kAlarmDisplays = 16;
inline constexpr int kInvertDisplays = 12;  // the analog inputs
inline constexpr int kPulseDisplayFirst = 13;

struct AlarmDisplay {
    int low = 0;
    int high = 0;
    bool invert = false;
    int action = 0;  // index into AlarmActions()
    int relayMap = 0;
};

struct AlarmsPage {
    std::array<AlarmDisplay, kAlarmDisplays> displays{};
};

// Scale and time of one pulse input.
struct PulseInput {
    int scale = 0;
    int time = 0;
};
// Pulse inputs of displays 13, 14 and 15: pulse input 2, 1 and 0 (the order of the pulse
// labels), taken from options bytes 200/201, 12/13 and 8/9.
using PulseInputs = std::array<PulseInput, 3>;
PulseInputs PulseInputsFromOptions(const OptionsTable& options);

using AlarmBytes = std::array<std::uint8_t, 128>;

const std::vector<std::string>& AlarmActions();

AlarmsPage AlarmsFromBytes(std::span<const std::uint8_t, 128> bytes);
AlarmBytes BytesFromAlarms(const AlarmsPage& page);

// The text shown beside a threshold field: " < OFF" / " > OFF" for 0, 255 and display 12;
// the sign, a blank and the first four characters of the calibration value for displays
// 0..11; the sign and the pulse rate "%5.0f" for displays 13..15. The invert flag swaps the
// signs of displays 0..11.
std::string ThresholdText(const AlarmsPage& page, int display, bool high,
                          const CalibrationTables& calibration, const PulseInputs& pulses);

// "" when every field is in range, else the message naming the first bad one.
std::string CheckAlarmsPage(const AlarmsPage& page);

// Bytes 64..191 as a section of the options file.
extern const OptionsSectionRow<AlarmsPage> kAlarmsSection;

// OPEN: bytes 64..191 of directory + optionsFile ("Error loading Alarms file" when it cannot).
bool OpenAlarmsPage(core::Prompt& prompt, const std::string& directory,
                    const std::string& optionsFile, AlarmsPage& page);

// PREFSAVE: rewrites lines 64..191 of the options file in place, then "File Saved".
bool SaveAlarmsPage(core::Prompt& prompt, const std::string& directory,
                    const std::string& optionsFile, const AlarmsPage& page);

}  // namespace pelor::prefs
