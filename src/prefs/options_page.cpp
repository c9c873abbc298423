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
    auto number = [&](F id, const char* group, const char* caption, int min, int max,
                      const char* tip = "") {
        s.push_back({id, group, caption, K::Number, min, max, {}, {}, tip});
    };
    auto check = [&](F id, const char* group, const char* caption, const char* tip = "") {
        s.push_back({id, group, caption, K::Check, 0, 1, {}, {}, tip});
    };
    auto choice = [&](F id, const char* group, const char* caption,
                      std::vector<std::string> choices) {
        const int max = static_cast<int>(choices.size()) - 1;
        s.push_back({id, group, caption, K::Choice, 0, max, std::move(choices), {}, ""});
    };
    auto radio = [&](F id, const char* group, const char* caption, std::vector<std::string> choices,
                     std::vector<int> values) {
        const int max = *std::max_element(values.begin(), values.end());
        s.push_back(
            {id, group, caption, K::Radio, 0, max, std::move(choices), std::move(values), ""});
    };

    const char* display = "Display";
    number(F::Pages, display, "Pages", 0, 16, "Number of display pages");
    number(F::ControlPages, display, "Control Pages", 0, 255);
    number(F::AnalogInputs, display, "Analog Inputs", 0, 255);
    number(F::NmeaInputs, display, "NMEA Inputs", 0, 255);
    number(F::Contrast, display, "Contrast", 0, 255, "LCD contrast");
    number(F::DisplayScale, display, "Display Scale", 1, 100,
           "Size of the dashboard's gauge area in percent");
    check(F::InvertDisplay, display, "Invert Display");
    number(F::BacklightAdjust, display, "Backlight adjust", 0, 127);
    check(F::BacklightOnAtStart, display, "Backlight On at Start");
    check(F::DemoMode, display, "Demo Mode");

    radio(F::DisplayType, "Unit", "Display Type",
          {"Morbel-A", "Morbel-B", "Morbel-D", "RemoteP", "Morbel-C RD", "T050L", "RemoteL",
           "T050P", "Morbel-A RD", "T100L", "T100P", "T200L", "T200P", "T300L", "T400L"},
          {1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 12, 13, 14});

    const char* kantelo = "Kantelo";
    choice(F::KanteloMode, kantelo, "Kantelo Mode",
           {"Kantelo Disabled", "Indicator Mode", "Indicator Display Bar",
            "Kantelo Remote (serial)", "Kantelo Module (direct)"});
    number(F::KanteloCountLow, kantelo, "Kantelo Count 1", 0, 15);
    number(F::KanteloCountHigh, kantelo, "Kantelo Count 2", 0, 15);

    const char* p0 = "Pulse 0";
    number(F::P0Scale, p0, "P0 Scale", 0, 255);
    number(F::P0Time, p0, "P0 Time", 0, 255);
    choice(F::Pulse0Enable, p0, "Pulse 0", kPulseEnable);
    choice(F::P0Edge, p0, "P0 Display", PulseEdges('0', '2'));
    number(F::P0DialScale, p0, "P0 Dial Scale", 0, 255);
    const char* p1 = "Pulse 1";
    number(F::P1Scale, p1, "P1 Scale", 0, 255);
    number(F::P1Time, p1, "P1 Time", 0, 255);
    choice(F::Pulse1Enable, p1, "Pulse 1", kPulseEnable);
    choice(F::P1Edge, p1, "P1 Display", PulseEdges('1', '2'));
    number(F::P1DialScale, p1, "P1 Dial Scale", 0, 255);
    const char* p2 = "Pulse 2";
    number(F::P2Scale, p2, "P2 Scale", 0, 255);
    number(F::P2Time, p2, "P2 Time", 0, 255);
    choice(F::Pulse2Enable, p2, "Pulse 2",
           {"Disabled", "Enabled 1X", "Enabled 2X", "Enabled 4X", "TimeBase 0.455", "TimeBase 0.33",
            "TimeBase 0.25", "PulseBase 0.455", "PulseBase 0.33", "PulseBase 0.25"});
    choice(F::P2Edge, p2, "P2 Display",
           {"Pulse2/1", "Pulse2/10", "Pulse2/100", "-", "(P2-P1)/1", "(P2-P1)/10", "(P2-P1/100",
            "-", "P2 Totalizer", "(P0-P1) Totalizer", "(P1-P2) Totalizer", "(P1-P0) SYNC",
            "(P1-P2) Fuel Total"});
    number(F::P2DialScale, p2, "P2 Dial Scale", 0, 255);

    const char* serial = "Serial";
    check(F::SerialInUsb, serial, "USB");
    check(F::SerialInSerial, serial, "Serial");
    number(F::SerialOutMode, serial, "Serial Out Mode", 0, 255);
    choice(F::BaudRate, serial, "Baud Rate", kBauds);
    number(F::SerialCommandMode, serial, "Command Mode", 0, 255);
    check(F::Cluster, serial, "Cluster");
    radio(F::MasterSlave, serial, "Master / Slave", {"Master", "Slave"}, {0, 1});

    const char* alarms = "Alarms";
    radio(F::AlarmEnable, alarms, "Alarms", {"Enable", "Disable"}, {1, 0});
    check(F::PelorAlarm, alarms, "Pelor Alarm");
    radio(F::AlarmActiveLow, alarms, "Alarm Output", {"Active High", "Active Low"}, {0, 1});

    const char* ports = "Ports";
    choice(
        F::Usb1Mode, ports, "USB 1",
        {"Disabled", "NMEA 0183", "NMEA 2000", "NMEA Status", "Kantelo Command", "T100 Lanscape",
         "T100 Portrait", "T200 Landscape", "T200 Portrait", "T300 Landscape", "T400 Landscape"});
    choice(F::Usb2Mode, ports, "USB 2", {"LOG TXT", "LOG CSV", "NMEA Status", "Kantelo Command"});
    check(F::LogAppend, ports, "Append");
    check(F::LogBuffer, ports, "Buffer", "Offered when USB 1 is not \"NMEA Status\"");
    check(F::LogPowerUp, ports, "PowerUp");
    check(F::LogFlag4, ports, "Log Flag 4");
    choice(
        F::Port0Display, ports, "Port 0",
        {"Disabled", "NMEA 0183", "NMEA 2000", "Kantelo Command", "T100 Lanscape", "T100 Portrait",
         "T200 Landscape", "T200 Portrait", "T300 Landscape", "T400 Landscape"});
    choice(F::PortInput, ports, "INPUT", WithFirst("Local", kClockSources));
    choice(F::PortOutput, ports, "OUTPUT", WithFirst("Disabled", kClockSources));
    choice(F::UsbBaud, ports, "USB Baud Rate", kBauds);
    check(F::SyncDisplays, ports, "Sync Displays on both ports");

    const char* status = "Status";
    check(F::VersionStatusMsg, status, "Version Status Msg");
    check(F::ClockStatusMsg, status, "Clock Status Msg");
    check(F::TachHoursMsg, status, "Tach Hours Msg");
    check(F::SwitchStatusMsg, status, "Switch Status Msg");
    check(F::ResetGph, status, "Reset GPH Totalizer");
    check(F::TempSensor, status, "Enable Temp Sensor");
    check(F::TempAdjust, status, "Temperature Adjust");
    check(F::HttpEnable, status, "Enable HTTP Output");
    const char* timers = "Timers";
    check(F::Timer0Enable, timers, "Timer 0 Enable");
    check(F::Timer1Enable, timers, "Timer 1 Enable");
    check(F::Timer2Enable, timers, "Timer 2 Enable");
    check(F::Timer3Enable, timers, "Timer 3 Enable");
    number(F::Timer0, timers, "Timer 0", 0, 255);
    number(F::Timer1, timers, "Timer 1", 0, 255);
    number(F::Timer2, timers, "Timer 2", 0, 255,
           "Replaced by the time base when a pulse input uses one");
    number(F::Timer3, timers, "Timer 3", 0, 65535);
    radio(F::UpdateRate2x, timers, "Update Rate", {"1X", "2X"}, {0, 1});
    number(F::Option227, timers, "Option 227", 0, 255);
    return s;
}

bool Bit(std::uint8_t byte, int bit) {
    return ((byte >> bit) & 1) != 0;
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

void SetOptionsFields(OptionsPage& page, const OptionsTable& o) {
    auto& p = page;
    p[F::Pages] = o[0];
    p[F::ControlPages] = o[2];
    p[F::AnalogInputs] = o[3];
    p[F::NmeaInputs] = o[4];
    p[F::KanteloMode] = std::min((o[5] >> 4) & 7, 4);
    p[F::DemoMode] = Bit(o[5], 7);
    p[F::DisplayType] = o[6] <= 14 ? o[6] : 0;
    p[F::Contrast] = o[7];
    p[F::P0Scale] = o[8];
    p[F::P0Time] = o[9];
    p[F::Pulse0Enable] = o[10] <= 3 ? o[10] : 0;
    p[F::P0Edge] = o[11] <= 11 ? o[11] : 0;
    p[F::P1Scale] = o[12];
    p[F::P1Time] = o[13];
    p[F::Pulse1Enable] = o[14] <= 3 ? o[14] : 0;
    p[F::P1Edge] = o[15] <= 11 ? o[15] : 0;
    p[F::SerialInUsb] = Bit(o[16], 0);
    p[F::SerialInSerial] = Bit(o[16], 1);
    p[F::SerialOutMode] = o[17];
    p[F::BaudRate] = BaudChoiceFromCode(o[19]);
    p[F::SerialCommandMode] = o[20];
    p[F::Cluster] = Bit(o[21], 7);
    p[F::MasterSlave] = o[22] == 1 ? 1 : 0;
    p[F::KanteloCountLow] = o[23] & 0x0F;
    p[F::KanteloCountHigh] = o[23] >> 4;
    p[F::AlarmEnable] = Bit(o[24], 0);
    p[F::PelorAlarm] = Bit(o[24], 7);
    p[F::AlarmActiveLow] = o[25] == 1 ? 1 : 0;
    p[F::InvertDisplay] = o[26] != 0;
    p[F::BacklightAdjust] = o[27] & 0x7F;
    p[F::BacklightOnAtStart] = Bit(o[27], 7);
    p[F::P0DialScale] = o[30];
    p[F::P1DialScale] = o[31];

    p[F::Usb1Mode] = o[193] <= 10 ? o[193] : 0;
    p[F::Usb2Mode] = (o[194] >> 1) & 3;
    const bool log = p[F::Usb2Mode] <= 1;
    p[F::LogAppend] = log ? !Bit(o[194], 4) : 1;
    p[F::LogBuffer] = log && Bit(o[194], 3);
    p[F::LogPowerUp] = log && Bit(o[194], 0);
    p[F::LogFlag4] = log && Bit(o[194], 5);
    p[F::Port0Display] = o[196] <= 9 ? o[196] : 0;
    p[F::PortInput] = o[197] & 0x07;
    p[F::PortOutput] = (o[197] >> 4) & 0x07;
    p[F::UsbBaud] = o[198] <= 5 ? o[198] : 0;
    p[F::SyncDisplays] = o[199] == 1;
    p[F::P2Scale] = o[200];
    p[F::P2Time] = o[201];
    p[F::Pulse2Enable] = o[202] <= 9 ? o[202] : 0;
    p[F::P2Edge] = o[203] <= 12 ? o[203] : 0;
    p[F::P2DialScale] = o[204];
    // Byte 205 holds a set bit for each status message that is switched off.
    p[F::VersionStatusMsg] = !Bit(o[205], 1);
    p[F::ClockStatusMsg] = !Bit(o[205], 2);
    p[F::TachHoursMsg] = !Bit(o[205], 3);
    p[F::SwitchStatusMsg] = !Bit(o[205], 4);
    p[F::ResetGph] = o[206] != 0;
    p[F::HttpEnable] = o[207] != 0;
    p[F::Timer0Enable] = o[208] != 0;
    p[F::Timer1Enable] = o[209] != 0;
    p[F::Timer2Enable] = o[210] != 0;
    p[F::Timer3Enable] = o[211] != 0;
    p[F::Timer0] = o[213];
    p[F::Timer1] = o[215];
    p[F::Timer2] = o[217];
    p[F::Timer3] = o[218] * 256 + o[219];
    p[F::UpdateRate2x] = Bit(o[220], 3);
    // Byte 222: 255 sensor off, 64 on with adjustment, 0 on.
    p[F::TempSensor] = o[222] != 255;
    p[F::TempAdjust] = o[222] == 64;
    p[F::Option227] = o[227];
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
    auto byte = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    auto flag = [](int v, int bit) { return v != 0 ? (1 << bit) : 0; };

    o[0] = byte(p[F::Pages]);
    o[2] = byte(p[F::ControlPages]);
    o[3] = byte(p[F::AnalogInputs]);
    o[4] = byte(p[F::NmeaInputs]);
    o[5] = byte(((p[F::KanteloMode] & 7) << 4) | flag(p[F::DemoMode], 7));
    o[6] = byte(p[F::DisplayType]);
    o[7] = byte(p[F::Contrast]);
    o[8] = byte(p[F::P0Scale]);
    o[9] = byte(p[F::P0Time]);
    o[10] = byte(p[F::Pulse0Enable]);
    o[11] = byte(p[F::P0Edge]);
    o[12] = byte(p[F::P1Scale]);
    o[13] = byte(p[F::P1Time]);
    o[14] = byte(p[F::Pulse1Enable]);
    o[15] = byte(p[F::P1Edge]);
    o[16] = SerialInputByte(p[F::SerialInUsb] != 0, p[F::SerialInSerial] != 0);
    o[17] = byte(p[F::SerialOutMode]);
    o[19] = BaudCodeFromChoice(p[F::BaudRate]);
    o[20] = byte(p[F::SerialCommandMode]);
    o[21] = byte(flag(p[F::Cluster], 7));
    o[22] = byte(p[F::MasterSlave]);
    o[23] = byte((p[F::KanteloCountLow] & 0x0F) | ((p[F::KanteloCountHigh] & 0x0F) << 4));
    o[24] = byte(flag(p[F::AlarmEnable], 0) | flag(p[F::PelorAlarm], 7));
    o[25] = byte(p[F::AlarmActiveLow]);
    o[26] = byte(p[F::InvertDisplay] != 0 ? 1 : 0);
    o[27] = byte((p[F::BacklightAdjust] & 0x7F) | flag(p[F::BacklightOnAtStart], 7));
    o[28] = 4;
    o[29] = 2;
    o[30] = byte(p[F::P0DialScale]);
    o[31] = byte(p[F::P1DialScale]);

    o[193] = byte(p[F::Usb1Mode]);
    int usb2 = 2 * p[F::Usb2Mode];
    if (p[F::Usb2Mode] <= 1) {
        usb2 |= flag(p[F::LogAppend] == 0, 4) | flag(p[F::LogPowerUp], 0) | flag(p[F::LogFlag4], 5);
        if (p[F::Usb1Mode] != 3) usb2 |= flag(p[F::LogBuffer], 3);
    }
    o[194] = byte(usb2);
    o[196] = byte(p[F::Port0Display]);
    o[197] = byte((p[F::PortInput] & 0x0F) | ((p[F::PortOutput] & 0x0F) << 4));
    o[198] = byte(p[F::UsbBaud]);
    o[199] = byte(p[F::SyncDisplays] != 0 ? 1 : 0);
    o[200] = byte(p[F::P2Scale]);
    o[201] = byte(p[F::P2Time]);
    o[202] = byte(p[F::Pulse2Enable]);
    o[203] = byte(p[F::P2Edge]);
    o[204] = byte(p[F::P2DialScale]);
    o[205] = byte(flag(p[F::VersionStatusMsg] == 0, 1) | flag(p[F::ClockStatusMsg] == 0, 2) |
                  flag(p[F::TachHoursMsg] == 0, 3) | flag(p[F::SwitchStatusMsg] == 0, 4));
    o[206] = byte(p[F::ResetGph] != 0 ? 1 : 0);
    o[207] = byte(p[F::HttpEnable] != 0 ? 1 : 0);
    o[208] = byte(p[F::Timer0Enable] != 0 ? 1 : 0);
    o[209] = byte(p[F::Timer1Enable] != 0 ? 1 : 0);
    o[210] = byte(p[F::Timer2Enable] != 0 ? 1 : 0);
    o[211] = byte(p[F::Timer3Enable] != 0 ? 1 : 0);
    o[213] = byte(p[F::Timer0]);
    o[215] = byte(p[F::Timer1]);
    const auto [hb, lb] =
        Timer2Bytes(p[F::Pulse0Enable], p[F::Pulse1Enable], p[F::Pulse2Enable], byte(p[F::Timer2]));
    o[216] = hb;
    o[217] = lb;
    o[218] = byte(p[F::Timer3] >> 8);
    o[219] = byte(p[F::Timer3]);
    o[220] = BaseTimerByte(p[F::UpdateRate2x] != 0, p[F::Pulse2Enable]);
    o[222] = p[F::TempSensor] == 0 ? 255 : (p[F::TempAdjust] != 0 ? 64 : 0);
    o[227] = byte(p[F::Option227]);
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
