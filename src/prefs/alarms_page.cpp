#include "prefs/alarms_page.h"

#include "core/format.h"
#include "tables/calibration_file.h"
#include "tables/options_file.h"

namespace pelor::prefs {
namespace {

constexpr std::size_t kLowHigh = 0;     // 64 - 64
constexpr std::size_t kInvert = 64;     // 128 - 64
constexpr std::size_t kAction = 96;     // 160 - 64
constexpr std::size_t kRelayMap = 112;  // 176 - 64
constexpr int kThresholdOff = 255;

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

PulseInputs PulseInputsFromOptions(const OptionsTable& o) {
    return {PulseInput{o[200], o[201]}, PulseInput{o[12], o[13]}, PulseInput{o[8], o[9]}};
}

const std::vector<std::string>& AlarmActions() {
    static const std::vector<std::string> actions = {
        "Disable",         "Flash",           "Beep",
        "Relay ON",        "Relay OFF",       "Relay Latch ON",
        "Relay Latch OFF", "Relay Latch L/H", "Relay Latch H/L",
        "Beep P0 > 0",     "Beep P1 > 0",     "Beep P2 > 0"};
    return actions;
}

AlarmsPage AlarmsFromBytes(std::span<const std::uint8_t, 128> b) {
    AlarmsPage page;
    for (std::size_t d = 0; d < kAlarmDisplays; ++d) {
        auto& a = page.displays[d];
        a.low = b[kLowHigh + 2 * d];
        a.high = b[kLowHigh + 2 * d + 1];
        a.invert = d < kInvertDisplays && b[kInvert + 2 * d] != 0;
        const int action = b[kAction + d];
        a.action = action < static_cast<int>(AlarmActions().size()) ? action : 0;
        a.relayMap = b[kRelayMap + d];
    }
    return page;
}

AlarmBytes BytesFromAlarms(const AlarmsPage& page) {
    AlarmBytes b{};
    for (std::size_t d = 0; d < kAlarmDisplays; ++d) {
        const auto& a = page.displays[d];
        b[kLowHigh + 2 * d] = static_cast<std::uint8_t>(a.low);
        b[kLowHigh + 2 * d + 1] = static_cast<std::uint8_t>(a.high);
        if (d < kInvertDisplays) {
            b[kInvert + 2 * d] = a.invert ? 1 : 0;
            b[kInvert + 2 * d + 1] = a.invert ? 0 : 1;
        }
        b[kAction + d] = static_cast<std::uint8_t>(a.action);
        b[kRelayMap + d] = static_cast<std::uint8_t>(a.relayMap);
    }
    return b;
}

std::string ThresholdText(const AlarmsPage& page, int display, bool high,
                          const CalibrationTables& calibration, const PulseInputs& pulses) {
    if (display < 0 || display >= kAlarmDisplays) return {};
    const AlarmDisplay& a = page.displays[static_cast<std::size_t>(display)];
    const int t = high ? a.high : a.low;
    bool greater = high;
    if (display < kInvertDisplays && a.invert) greater = !greater;
    const char sign = greater ? '>' : '<';
    if (t <= 0 || t >= kThresholdOff || display == kInvertDisplays) {
        return core::Format(" %c OFF", sign);
    }
    if (display < kInvertDisplays) {
        const std::string value = CalibrationText(calibration, display, t);
        return core::Format("%c %.4s", sign, value.c_str());
    }
    const PulseInput& p = pulses[static_cast<std::size_t>(display - kPulseDisplayFirst)];
    // A pulse input without a time has no rate to show.
    if (p.time == 0) return core::Format("%c   ---", sign);
    const double rate = static_cast<double>(t) * p.scale * 80.0 / p.time;
    return core::Format("%c %5.0f", sign, rate);
}

std::string CheckAlarmsPage(const AlarmsPage& page) {
    for (int d = 0; d < kAlarmDisplays; ++d) {
        const auto& a = page.displays[static_cast<std::size_t>(d)];
        if (!InRange(a.low, 0, 255) || !InRange(a.high, 0, 255)) {
            return core::Format("Display %d: thresholds must be 0 to 255", d);
        }
        if (!InRange(a.action, 0, static_cast<int>(AlarmActions().size()) - 1)) {
            return core::Format("Display %d: unknown alarm mode", d);
        }
        if (!InRange(a.relayMap, 0, 255)) {
            return core::Format("Display %d: the relay map must be 0 to 255", d);
        }
    }
    return {};
}

const OptionsSectionRow<AlarmsPage> kAlarmsSection =
    ByteArraySection<AlarmsPage, kAlarmSection, 128, AlarmsFromBytes, BytesFromAlarms>(
        "Error loading Alarms file", CheckAlarmsPage);

bool OpenAlarmsPage(core::Prompt& prompt, const std::string& directory,
                    const std::string& optionsFile, AlarmsPage& page) {
    return OpenOptionsSection(prompt, directory, optionsFile, kAlarmsSection, page);
}

bool SaveAlarmsPage(core::Prompt& prompt, const std::string& directory,
                    const std::string& optionsFile, const AlarmsPage& page) {
    return SaveOptionsSection(prompt, directory, optionsFile, kAlarmsSection, page);
}

}  // namespace pelor::prefs
