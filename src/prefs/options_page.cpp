#include "prefs/options_page.h"

#include <algorithm>

#include "core/format.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/table_file.h"

namespace pelor::prefs {
namespace {

using F = OptionsField;
using K = FieldKind;
using R = BitRule;

std::vector<std::string> PulseEdges(char n, char other) {
    const std::string p(1, n);
    const std::string o(1, other);
    return {"Pulse" + p + "/1",           "Pulse" + p + "/10",
            "Pulse" + p + "/100",         "-",
            "(P" + p + "-P" + o + ")/1",  "(P" + p + "-P" + o + ")/10",
            "(P" + p + "-P" + o + "/100", "-",
            "P" + p + " Totalizer",       "-",
            "P" + p + " Fuel Flow",       "(P" + p + "-P" + o + ") Fuel Flow"};
}

const std::vector<std::string> kPulseEnable = {"Disabled", "Enabled 1X", "Enabled 2X",
                                               "Enabled 4X"};
const std::vector<std::string> kBauds = {"4800", "9600", "19200", "38400", "57600", "115200"};
const std::vector<std::string> kClockSources = {"GPS",     "GLONASS", "VHF",     "Cesium",
                                                "Rabidum", "Crystal", "Koralind"};

std::vector<std::string> WithFirst(const char* first, const std::vector<std::string>& rest) {
    std::vector<std::string> out{first};
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

std::vector<OptionsFieldRow> BuildRows() {
    std::vector<OptionsFieldRow> s;
    auto number = [&](F id, OptionsBits at, const char* group, const char* caption, int min,
                      int max, const char* tip = "") {
        s.push_back({id, group, caption, K::Number, min, max, {}, {}, tip, at});
    };
    auto check = [&](F id, OptionsBits at, const char* group, const char* caption,
                     const char* tip = "") {
        s.push_back({id, group, caption, K::Check, 0, 1, {}, {}, tip, at});
    };
    auto choice = [&](F id, OptionsBits at, const char* group, const char* caption,
                      std::vector<std::string> choices) {
        const int max = static_cast<int>(choices.size()) - 1;
        s.push_back({id, group, caption, K::Choice, 0, max, std::move(choices), {}, "", at});
    };
    auto radio = [&](F id, OptionsBits at, const char* group, const char* caption,
                     std::vector<std::string> choices, std::vector<int> values) {
        const int max = *std::max_element(values.begin(), values.end());
        s.push_back(
            {id, group, caption, K::Radio, 0, max, std::move(choices), std::move(values), "", at});
    };

    const char* display = "Display";
    number(F::Pages, {.byte = 0}, display, "Pages", 0, 16, "Number of display pages");
    number(F::ControlPages, {.byte = 2}, display, "Control Pages", 0, 255);
    number(F::AnalogInputs, {.byte = 3}, display, "Analog Inputs", 0, 255);
    number(F::NmeaInputs, {.byte = 4}, display, "NMEA Inputs", 0, 255);
    number(F::Contrast, {.byte = 7}, display, "Contrast", 0, 255, "LCD contrast");
    number(F::DisplayScale, {}, display, "Display Scale", 1, 100,
           "Size of the dashboard's gauge area in percent");
    check(F::InvertDisplay, {.byte = 26, .rule = R::Flag}, display, "Invert Display");
    number(F::BacklightAdjust, {.byte = 27, .width = 7}, display, "Backlight adjust", 0, 127);
    check(F::BacklightOnAtStart, {.byte = 27, .bit = 7, .width = 1, .rule = R::Flag}, display,
          "Backlight On at Start");
    check(F::DemoMode, {.byte = 5, .bit = 7, .width = 1, .rule = R::Flag}, display, "Demo Mode");

    radio(F::DisplayType, {.byte = 6, .rule = R::UpTo, .limit = 14}, "Unit", "Display Type",
          {"Morbel-A", "Morbel-B", "Morbel-D", "RemoteP", "Morbel-C RD", "T050L", "RemoteL",
           "T050P", "Morbel-A RD", "T100L", "T100P", "T200L", "T200P", "T300L", "T400L"},
          {1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 12, 13, 14});

    const char* kantelo = "Kantelo";
    choice(F::KanteloMode, {.byte = 5, .bit = 4, .width = 3, .rule = R::AtMost, .limit = 4},
           kantelo, "Kantelo Mode",
           {"Kantelo Disabled", "Indicator Mode", "Indicator Display Bar",
            "Kantelo Remote (serial)", "Kantelo Module (direct)"});
    number(F::KanteloCountLow, {.byte = 23, .width = 4}, kantelo, "Kantelo Count 1", 0, 15);
    number(F::KanteloCountHigh, {.byte = 23, .bit = 4, .width = 4}, kantelo, "Kantelo Count 2", 0,
           15);

    const char* p0 = "Pulse 0";
    number(F::P0Scale, {.byte = 8}, p0, "P0 Scale", 0, 255);
    number(F::P0Time, {.byte = 9}, p0, "P0 Time", 0, 255);
    choice(F::Pulse0Enable, {.byte = 10, .rule = R::UpTo, .limit = 3}, p0, "Pulse 0", kPulseEnable);
    choice(F::P0Edge, {.byte = 11, .rule = R::UpTo, .limit = 11}, p0, "P0 Display",
           PulseEdges('0', '2'));
    number(F::P0DialScale, {.byte = 30}, p0, "P0 Dial Scale", 0, 255);
    const char* p1 = "Pulse 1";
    number(F::P1Scale, {.byte = 12}, p1, "P1 Scale", 0, 255);
    number(F::P1Time, {.byte = 13}, p1, "P1 Time", 0, 255);
    choice(F::Pulse1Enable, {.byte = 14, .rule = R::UpTo, .limit = 3}, p1, "Pulse 1", kPulseEnable);
    choice(F::P1Edge, {.byte = 15, .rule = R::UpTo, .limit = 11}, p1, "P1 Display",
           PulseEdges('1', '2'));
    number(F::P1DialScale, {.byte = 31}, p1, "P1 Dial Scale", 0, 255);
    const char* p2 = "Pulse 2";
    number(F::P2Scale, {.byte = 200}, p2, "P2 Scale", 0, 255);
    number(F::P2Time, {.byte = 201}, p2, "P2 Time", 0, 255);
    choice(F::Pulse2Enable, {.byte = 202, .rule = R::UpTo, .limit = 9}, p2, "Pulse 2",
           {"Disabled", "Enabled 1X", "Enabled 2X", "Enabled 4X", "TimeBase 0.455", "TimeBase 0.33",
            "TimeBase 0.25", "PulseBase 0.455", "PulseBase 0.33", "PulseBase 0.25"});
    choice(F::P2Edge, {.byte = 203, .rule = R::UpTo, .limit = 12}, p2, "P2 Display",
           {"Pulse2/1", "Pulse2/10", "Pulse2/100", "-", "(P2-P1)/1", "(P2-P1)/10", "(P2-P1/100",
            "-", "P2 Totalizer", "(P0-P1) Totalizer", "(P1-P2) Totalizer", "(P1-P0) SYNC",
            "(P1-P2) Fuel Total"});
    number(F::P2DialScale, {.byte = 204}, p2, "P2 Dial Scale", 0, 255);

    const char* serial = "Serial";
    check(F::SerialInUsb, {.byte = 16, .width = 1, .rule = R::Flag}, serial, "USB");
    check(F::SerialInSerial, {.byte = 16, .bit = 1, .width = 1, .rule = R::Flag}, serial, "Serial");
    number(F::SerialOutMode, {.byte = 17}, serial, "Serial Out Mode", 0, 255);
    choice(F::BaudRate, {.byte = 19, .rule = R::Coded}, serial, "Baud Rate", kBauds);
    number(F::SerialCommandMode, {.byte = 20}, serial, "Command Mode", 0, 255);
    check(F::Cluster, {.byte = 21, .bit = 7, .width = 1, .rule = R::Flag}, serial, "Cluster");
    radio(F::MasterSlave, {.byte = 22, .rule = R::UpTo, .limit = 1}, serial, "Master / Slave",
          {"Master", "Slave"}, {0, 1});

    const char* alarms = "Alarms";
    radio(F::AlarmEnable, {.byte = 24, .width = 1, .rule = R::Flag}, alarms, "Alarms",
          {"Enable", "Disable"}, {1, 0});
    check(F::PelorAlarm, {.byte = 24, .bit = 7, .width = 1, .rule = R::Flag}, alarms,
          "Pelor Alarm");
    radio(F::AlarmActiveLow, {.byte = 25, .rule = R::UpTo, .limit = 1}, alarms, "Alarm Output",
          {"Active High", "Active Low"}, {0, 1});

    const char* ports = "Ports";
    choice(
        F::Usb1Mode, {.byte = 193, .rule = R::UpTo, .limit = 10}, ports, "USB 1",
        {"Disabled", "NMEA 0183", "NMEA 2000", "NMEA Status", "Kantelo Command", "T100 Lanscape",
         "T100 Portrait", "T200 Landscape", "T200 Portrait", "T300 Landscape", "T400 Landscape"});
    choice(F::Usb2Mode, {.byte = 194, .bit = 1, .width = 2}, ports, "USB 2",
           {"LOG TXT", "LOG CSV", "NMEA Status", "Kantelo Command"});
    check(F::LogAppend, {.byte = 194, .bit = 4, .width = 1, .rule = R::Cleared}, ports, "Append");
    check(F::LogBuffer, {.byte = 194, .bit = 3, .width = 1, .rule = R::Flag}, ports, "Buffer",
          "Offered when USB 1 is not \"NMEA Status\"");
    check(F::LogPowerUp, {.byte = 194, .width = 1, .rule = R::Flag}, ports, "PowerUp");
    check(F::LogFlag4, {.byte = 194, .bit = 5, .width = 1, .rule = R::Flag}, ports, "Log Flag 4");
    choice(
        F::Port0Display, {.byte = 196, .rule = R::UpTo, .limit = 9}, ports, "Port 0",
        {"Disabled", "NMEA 0183", "NMEA 2000", "Kantelo Command", "T100 Lanscape", "T100 Portrait",
         "T200 Landscape", "T200 Portrait", "T300 Landscape", "T400 Landscape"});
    choice(F::PortInput, {.byte = 197, .width = 3}, ports, "INPUT",
           WithFirst("Local", kClockSources));
    choice(F::PortOutput, {.byte = 197, .bit = 4, .width = 3}, ports, "OUTPUT",
           WithFirst("Disabled", kClockSources));
    choice(F::UsbBaud, {.byte = 198, .rule = R::UpTo, .limit = 5}, ports, "USB Baud Rate", kBauds);
    check(F::SyncDisplays, {.byte = 199, .rule = R::UpTo, .limit = 1}, ports,
          "Sync Displays on both ports");

    const char* status = "Status";
    check(F::VersionStatusMsg, {.byte = 205, .bit = 1, .width = 1, .rule = R::Cleared}, status,
          "Version Status Msg");
    check(F::ClockStatusMsg, {.byte = 205, .bit = 2, .width = 1, .rule = R::Cleared}, status,
          "Clock Status Msg");
    check(F::TachHoursMsg, {.byte = 205, .bit = 3, .width = 1, .rule = R::Cleared}, status,
          "Tach Hours Msg");
    check(F::SwitchStatusMsg, {.byte = 205, .bit = 4, .width = 1, .rule = R::Cleared}, status,
          "Switch Status Msg");
    check(F::ResetGph, {.byte = 206, .rule = R::Flag}, status, "Reset GPH Totalizer");
    check(F::TempSensor, {.byte = 222, .rule = R::Coded}, status, "Enable Temp Sensor");
    check(F::TempAdjust, {.byte = 222, .rule = R::Coded}, status, "Temperature Adjust");
    check(F::HttpEnable, {.byte = 207, .rule = R::Flag}, status, "Enable HTTP Output");
    const char* timers = "Timers";
    check(F::Timer0Enable, {.byte = 208, .rule = R::Flag}, timers, "Timer 0 Enable");
    check(F::Timer1Enable, {.byte = 209, .rule = R::Flag}, timers, "Timer 1 Enable");
    check(F::Timer2Enable, {.byte = 210, .rule = R::Flag}, timers, "Timer 2 Enable");
    check(F::Timer3Enable, {.byte = 211, .rule = R::Flag}, timers, "Timer 3 Enable");
    number(F::Timer0, {.byte = 213}, timers, "Timer 0", 0, 255);
    number(F::Timer1, {.byte = 215}, timers, "Timer 1", 0, 255);
    number(F::Timer2, {.byte = 217}, timers, "Timer 2", 0, 255,
           "Replaced by the time base when a pulse input uses one");
    number(F::Timer3, {.byte = 218, .width = 16}, timers, "Timer 3", 0, 65535);
    radio(F::UpdateRate2x, {.byte = 220, .bit = 3, .width = 1, .rule = R::Flag}, timers,
          "Update Rate", {"1X", "2X"}, {0, 1});
    number(F::Option227, {.byte = 227}, timers, "Option 227", 0, 255);
    return s;
}

int ReadBits(const OptionsBits& at, const OptionsTable& o) {
    const auto b = static_cast<std::size_t>(at.byte);
    const int raw =
        at.width == 16 ? o[b] * 256 + o[b + 1] : (o[b] >> at.bit) & ((1 << at.width) - 1);
    switch (at.rule) {
        case R::Flag:
            return raw != 0 ? 1 : 0;
        case R::Cleared:
            return raw == 0 ? 1 : 0;
        case R::UpTo:
            return raw <= at.limit ? raw : 0;
        case R::AtMost:
            return std::min(raw, at.limit);
        case R::Value:
        case R::Coded:
            break;
    }
    return raw;
}

void WriteBits(const OptionsBits& at, int value, OptionsTable& o) {
    const auto b = static_cast<std::size_t>(at.byte);
    if (at.width == 16) {
        o[b] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        o[b + 1] = static_cast<std::uint8_t>(value & 0xFF);
        return;
    }
    const int bits = at.rule == R::Flag      ? (value != 0 ? 1 : 0)
                     : at.rule == R::Cleared ? (value == 0 ? 1 : 0)
                                             : value;
    const int mask = ((1 << at.width) - 1) << at.bit;
    o[b] = static_cast<std::uint8_t>((o[b] & ~mask) | ((bits << at.bit) & mask));
}

}  // namespace

const std::vector<OptionsFieldRow>& OptionsFieldRows() {
    static const std::vector<OptionsFieldRow> rows = BuildRows();
    return rows;
}

const OptionsFieldRow& FieldRowOf(OptionsField id) {
    const auto& rows = OptionsFieldRows();
    return *std::find_if(rows.begin(), rows.end(),
                         [id](const OptionsFieldRow& s) { return s.id == id; });
}

namespace {
std::size_t ByteOf(OptionsField id) {
    return static_cast<std::size_t>(FieldRowOf(id).bits.byte);
}
}  // namespace

void SetOptionsFields(OptionsPage& page, const OptionsTable& o) {
    auto& p = page;
    for (const auto& row : OptionsFieldRows()) {
        if (row.bits.byte >= 0 && row.bits.rule != R::Coded) p[row.id] = ReadBits(row.bits, o);
    }
    p[F::BaudRate] = BaudChoiceFromCode(o[ByteOf(F::BaudRate)]);
    // The log flags count only while USB 2 logs (LOG TXT, LOG CSV).
    if (p[F::Usb2Mode] > 1) {
        p[F::LogAppend] = 1;
        p[F::LogBuffer] = p[F::LogPowerUp] = p[F::LogFlag4] = 0;
    }
    // Byte 222: 255 sensor off, 64 on with adjustment, 0 on.
    const std::uint8_t temp = o[ByteOf(F::TempSensor)];
    p[F::TempSensor] = temp != 255;
    p[F::TempAdjust] = temp == 64;
    // The display scale is not in the table: it stays as it was loaded.
    const int scale = p.asLoaded[static_cast<std::size_t>(F::DisplayScale)];
    p.asLoaded = p.fields;
    p.asLoaded[static_cast<std::size_t>(F::DisplayScale)] = scale;
}

OptionsPage OptionsPageFromTable(const OptionsTable& table, int displayScale,
                                 const std::string& httpPostAddress) {
    OptionsPage page;
    page.table = table;
    SetOptionsFields(page, table);
    page[F::DisplayScale] = displayScale;
    page.asLoaded = page.fields;
    page.httpPostAddress = httpPostAddress.substr(0, kHttpAddressMax);
    return page;
}

OptionsTable BuildOptionsTable(const OptionsPage& p, const OptionsTable& sections) {
    OptionsTable o = p.table;
    std::fill(o.begin(), o.begin() + 224, 0);
    std::copy(sections.begin() + kChannelSection, sections.begin() + 192,
              o.begin() + kChannelSection);
    for (const auto& row : OptionsFieldRows()) {
        if (row.bits.byte >= 0 && row.bits.rule != R::Coded) WriteBits(row.bits, p[row.id], o);
    }
    o[16] = SerialInputByte(p[F::SerialInUsb] != 0, p[F::SerialInSerial] != 0);
    o[ByteOf(F::BaudRate)] = BaudCodeFromChoice(p[F::BaudRate]);
    o[28] = 4;
    o[29] = 2;
    // The log flags are written only while USB 2 logs, Buffer only while USB 1 is not
    // "NMEA Status".
    constexpr std::uint8_t kLogFlags = 0x39;
    constexpr std::uint8_t kBufferFlag = 0x08;
    if (p[F::Usb2Mode] > 1) {
        o[194] &= static_cast<std::uint8_t>(~kLogFlags);
    } else if (p[F::Usb1Mode] == 3) {
        o[194] &= static_cast<std::uint8_t>(~kBufferFlag);
    }
    // Timer 2 gives way to a pulse input's time base; byte 220 follows the update rate and
    // pulse input 2.
    const auto [hb, lb] = Timer2Bytes(p[F::Pulse0Enable], p[F::Pulse1Enable], p[F::Pulse2Enable],
                                      static_cast<std::uint8_t>(p[F::Timer2] & 0xFF));
    o[216] = hb;
    o[217] = lb;
    o[220] = BaseTimerByte(p[F::UpdateRate2x] != 0, p[F::Pulse2Enable]);
    o[ByteOf(F::TempSensor)] = p[F::TempSensor] == 0 ? 255 : (p[F::TempAdjust] != 0 ? 64 : 0);
    SetHttpPostAddress(o, p.httpPostAddress);
    return o;
}

std::string CheckOptionsPage(const OptionsPage& page) {
    for (const auto& option : OptionsFieldRows()) {
        const int v = page[option.id];
        if (v == page.asLoaded[static_cast<std::size_t>(option.id)]) continue;
        if (option.kind == K::Radio) {
            if (v == 0 && option.id == F::DisplayType) continue;  // no button chosen
            if (std::find(option.values.begin(), option.values.end(), v) == option.values.end()) {
                return core::Format("%s: choose one of the buttons", option.caption);
            }
        } else if (v < option.min || v > option.max) {
            return core::Format("%s must be %d to %d", option.caption, option.min, option.max);
        }
    }
    if (page.httpPostAddress.size() > kHttpAddressMax) {
        return "The HTTP post address must be at most 61 characters";
    }
    return {};
}

int EffectiveDisplayScale(int field) {
    return field >= 1 && field <= 100 ? field : 100;
}

bool OpenOptionsPage(core::Prompt& prompt, const std::string& directory, const std::string& name,
                     OptionsPage& page) {
    OptionsTable bytes = page.table;
    if (!ReadByteEntries(prompt, directory + name, 0, 256, std::span(bytes).first(256))) {
        prompt.Message("Error loading Options file", "Error");
        return false;
    }
    SetOptionsFields(page, bytes);
    std::copy(bytes.begin(), bytes.begin() + 256, page.table.begin());
    return true;
}

std::string SaveOptionsPage(core::Prompt& prompt, const std::string& directory,
                            const std::string& name, const OptionsPage& page,
                            const OptionsTable& sections) {
    if (const std::string bad = CheckOptionsPage(page); !bad.empty()) {
        prompt.Message(bad, "Error");
        return {};
    }
    core::FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "txt";
    request.initialName = directory + name;
    request.filter = "Text Files (*.txt)|*.txt||";
    request.overwritePrompt = true;
    const auto chosen = prompt.ChooseFile(request);
    if (!chosen) return {};
    if (const std::string outside = OutsideProjectFolder(*chosen, directory); !outside.empty()) {
        prompt.Message(outside, "Error");
        return {};
    }
    std::string bare = BareFileName(*chosen);
    if (!WriteOptionsFile(prompt, directory, bare, BuildOptionsTable(page, sections))) return {};
    return bare;
}

}  // namespace pelor::prefs
