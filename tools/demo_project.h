#pragma once
// The demo project: a twin-sensor motor boat on a T100L display, written entirely by the
// project's own table writers so that it always matches what the application reads.
#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "core/format.h"
#include "core/prompt.h"
#include "display/display_modes.h"
#include "tables/calibration_file.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/page_file.h"
#include "tables/project_file.h"
#include "tables/project_tables.h"

namespace pelor::tools {

inline constexpr int kDemoDisplayType = 9;  // T100L: an 800 x 700 window
inline constexpr int kDemoPageCount = 4;

struct DemoSensor {
    const char* label;
    long low100;   // value at raw 0, in hundredths
    long high100;  // value at raw 255, in hundredths
    int decimals;  // 0, 1 or 2
    const char* comment;
};

// Analog inputs 0..11, one calibration table each.
inline constexpr std::array<DemoSensor, 12> kDemoSensors = {{
    {"ENG TEMP", 0, 15000, 1, "Engine temp deg C"},
    {"OIL PRES", 0, 10000, 1, "Oil pressure PSI"},
    {"FUEL", 0, 10000, 0, "Fuel tank percent"},
    {"WATER", 0, 10000, 0, "Fresh water percent"},
    {"BATT V", 800, 1600, 2, "Start battery volts"},
    {"BOOST", 0, 3000, 1, "Boost pressure PSI"},
    {"TRANS T", 0, 15000, 1, "Gear oil temp deg C"},
    {"EXH TEMP", 0, 80000, 0, "Exhaust gas temp deg C"},
    {"FUEL PRS", 0, 1000, 2, "Fuel pressure bar"},
    {"COOL PRS", 0, 250, 2, "Coolant pressure bar"},
    {"SEA TEMP", -500, 4000, 1, "Sea water temp deg C"},
    {"HOUSE V", 800, 1600, 2, "House battery volts"},
}};

// The value text of raw reading r, computed in integers so every machine writes the same.
inline std::string DemoValueText(const DemoSensor& s, int raw) {
    const long v = s.low100 + (s.high100 - s.low100) * raw / 255;
    const long whole = (v < 0 ? -v : v) / 100;
    const long frac = (v < 0 ? -v : v) % 100;
    const char* sign = v < 0 ? "-" : "";
    if (s.decimals == 0) return core::Format("%s%ld", sign, whole);
    if (s.decimals == 1) return core::Format("%s%ld.%ld", sign, whole, frac / 10);
    return core::Format("%s%ld.%02ld", sign, whole, frac);
}

// Raw reading whose value is closest above `value100` (hundredths).
inline std::uint8_t DemoRawFor(const DemoSensor& s, long value100) {
    for (int raw = 0; raw < 256; ++raw) {
        if (s.low100 + (s.high100 - s.low100) * raw / 255 >= value100) {
            return static_cast<std::uint8_t>(raw);
        }
    }
    return 255;
}

struct DemoGauge {
    std::uint8_t page, label, mode, cell;
};

// Four pages over grid C (columns at x 0, 160, 220, 320, 420, 470; rows at y 0, 80, 120, 180,
// 260, 350, 420), placed so that on every display model's grid no two gauges overlap and
// none leaves the gauge area: nothing wider than 592 pixels with its offset (the portrait
// models' width), no two wide gauges side by side, and the types that cannot show a mode or
// lack a cell simply leave that gauge out. The bar graph (760 wide) and huge text (600 wide)
// fit no portrait model, so the demo does not use them.
inline constexpr DemoGauge kDemoGauges[] = {
    // Page 0: engine
    {0, 15, display::kModeLargeRamp, 0},
    {0, 5, display::kModeLargeDial, 3},
    {0, 0, display::kModeDial, 24},
    {0, 1, display::kModeDial, 25},
    {0, 2, display::kModeDial, 28},
    {0, 4, display::kModeData, 36},
    {0, 7, display::kModeSmallText, 40},
    // Page 1: tanks and batteries
    {1, 2, display::kModeBarText, 0},
    {1, 11, display::kModeDial, 4},
    {1, 3, display::kModeBarText, 18},
    {1, 0, display::kModeIndicator, 22},
    {1, 1, display::kModeIndicator, 28},
    {1, 4, display::kModeLargeText, 30},
    {1, 9, display::kModeIndicator, 34},
    // Page 2: navigation
    {2, 13, display::kModeLargeDial, 0},
    {2, 14, display::kModeDial, 4},
    {2, 12, display::kModeHistogram, 24},
    {2, 10, display::kModeData, 36},
    // Page 3: everything as text
    {3, 0, display::kModeSmallText, 0},
    {3, 1, display::kModeSmallText, 2},
    {3, 6, display::kModeSmallText, 4},
    {3, 7, display::kModeSmallText, 12},
    {3, 8, display::kModeSmallText, 14},
    {3, 9, display::kModeSmallText, 16},
    {3, 14, display::kModeData, 24},
    {3, 15, display::kModeData, 36},
};

inline constexpr const char* kDemoKanteloLabels[12] = {"NAV LTS", "ANCHOR", "BILGE", "HORN",
                                                       "WIPER",   "BLOWER", "CABIN", "DECK LTS",
                                                       "FW PUMP", "SPOT",   "FAN",   "INVERTER"};
// Symbol codes: "T:" toggles 0..63, "M:" momentary 64..127.
inline constexpr std::uint8_t kDemoSymbols[12] = {7, 11, 1,  64 + 4, 64 + 9, 13,
                                                  5, 10, 18, 3,      19,     0};

inline tables::Project DemoProjectNames(const std::string& directory) {
    tables::Project p;
    p.directory = directory;
    p.projectFile = "Demo.cdp";
    p.labelsFile = "DemoLabels.txt";
    p.pageFile = "DemoPages.txt";
    p.optionsFileA = p.optionsFileB = p.optionsFileC = "DemoOptions.txt";
    p.logFile = "DemoLog.csv";
    for (std::size_t i = 0; i < p.calibrationFiles.size(); ++i) {
        p.calibrationFiles[i] = core::Format("DemoCal%02d.txt", static_cast<int>(i));
    }
    p.webBitmapPath = tables::kNoWebBitmap;
    return p;
}

inline tables::OptionsTable DemoOptions() {
    tables::OptionsTable o{};
    o[0] = kDemoPageCount;
    o[3] = 12;    // analog inputs
    o[5] = 0x40;  // "Kantelo Module (direct)": the switch buttons drive the module's outputs
    o[6] = kDemoDisplayType;
    o[7] = 40;  // contrast
    o[8] = 1;   // pulse 0 scale and time
    o[9] = 60;
    o[10] = 1;  // pulse 0 enabled 1X
    o[16] = tables::SerialInputByte(true, true);
    o[19] = tables::BaudCodeFromChoice(1);  // 9600
    o[23] = 0x01;       // switch bank instance 0 (high nibble), system time from source 0 (low)
    o[24] = 1;          // alarms enabled
    o[27] = 0x80 | 64;  // backlight on at start, half
    o[28] = 4;
    o[29] = 2;
    o[30] = 10;
    o[31] = 10;
    for (std::uint8_t d = 0; d < 16; ++d) {
        o[tables::kChannelSection + d] = d < 12 ? d : static_cast<std::uint8_t>(0x80 | (d - 12));
        o[tables::kChannelSection + 16 + d] = d;  // output enabled, same index
    }
    // Alarms: engine temperature high at 95 C (beep), oil pressure low at 10 PSI (flash).
    o[64 + 1] = DemoRawFor(kDemoSensors[0], 9500);
    o[64 + 2] = DemoRawFor(kDemoSensors[1], 1000);
    for (std::size_t k = 0; k < 12; ++k) o[129 + 2 * k] = 1;  // not inverted
    o[160] = 2;
    o[161] = 1;
    o[198] = 5;    // USB 115200
    o[222] = 255;  // LCD temperature sensor off
    const auto [hb, lb] = tables::Timer2Bytes(o[10], o[14], o[202], 0);
    o[216] = hb;
    o[217] = lb;
    o[220] = tables::BaseTimerByte(false, o[202]);
    // NMEA 2000: row 0 engine RPM (PGN 127488), row 2 fuel level (PGN 127505), 400 litres.
    o[256] = 0x10;
    o[260] = 0x40;
    o[292] = 400 >> 8;
    o[293] = 400 & 0xFF;
    o[320] = 0x80;
    o[322] = 0x80;
    o[336] = 1;
    o[339] = 1;
    tables::SetHttpPostAddress(o, "127.0.0.1/pelor");
    // Fuel flow calibration 0: a straight line.
    for (std::size_t i = 0; i < 512; ++i) o[512 + i] = static_cast<std::uint8_t>(i / 2);
    return o;
}

// The switch rows, clock and web address that both demo projects write with their labels.
inline void SetDemoLabelSettings(tables::LabelSettings& s) {
    for (std::size_t i = 0; i < 12; ++i) {
        s.KanteloLabels[i] = kDemoKanteloLabels[i];
        s.symbolCodes[i] = kDemoSymbols[i];
    }
    s.time.hour = 12;
    s.time.day = 1;
    s.time.month = 1;
    s.time.year = 26;
    s.httpPostAddress = "127.0.0.1/pelor";
}

// Writes each gauge's mode and cell into the page table.
template <std::size_t N>
inline void PlaceDemoGauges(tables::PageTable& pages, const DemoGauge (&gauges)[N]) {
    for (const auto& g : gauges) {
        tables::LabelMode(pages, g.page, g.label) = g.mode;
        tables::LabelCell(pages, g.page, g.label) = g.cell;
    }
}

// Writes the whole demo project into `directory` (ending in "/"). Returns success; every
// failure has been reported through `prompt`.
inline bool MakeDemoProject(core::Prompt& prompt, const std::string& directory) {
    tables::Project project = DemoProjectNames(directory);
    auto t = std::make_unique<tables::ProjectTables>();

    for (std::size_t i = 0; i < kDemoSensors.size(); ++i) {
        const auto& s = kDemoSensors[i];
        tables::CalibrationRows rows;
        for (int raw = 0; raw < 256; ++raw) {
            rows[static_cast<std::size_t>(raw)] = {DemoValueText(s, raw), core::Format("%02X", raw),
                                                   s.comment};
        }
        const std::string address = core::Format("%04X", 0x8000 + 0x800 * static_cast<int>(i));
        if (!tables::WriteCalibrationFile(prompt, directory, project.calibrationFiles[i], address,
                                          rows)) {
            return false;
        }
    }

    for (std::size_t i = 0; i < kDemoSensors.size(); ++i) {
        tables::SetLabelEntry(t->labels, i, kDemoSensors[i].label);
    }
    tables::SetLabelEntry(t->labels, 12, "DEPTH");
    tables::SetLabelEntry(t->labels, 13, "SPEED");
    tables::SetLabelEntry(t->labels, 14, "STBD RPM");
    tables::SetLabelEntry(t->labels, 15, "RPM");
    for (std::size_t e = 28; e < 32; ++e) tables::SetLabelEntry(t->labels, e, "        ");
    auto& s = t->labelSettings;
    SetDemoLabelSettings(s);
    s.switchPowerOn[2] = true;  // the bilge pump is on from power-up
    if (!tables::WriteLabelFile(prompt, directory, project.labelsFile, t->labels, s)) return false;

    PlaceDemoGauges(t->pages, kDemoGauges);
    t->pages[tables::kNmeaRow + 0] = 0x40;  // $SDDBT depth
    t->pages[tables::kNmeaRow + 1] = 0x50;  // $SDMTW water temperature
    if (!tables::WritePageFile(prompt, directory, project.pageFile, t->pages, kDemoDisplayType,
                               false)) {
        return false;
    }

    if (!tables::WriteOptionsFile(prompt, directory, project.optionsFileC, DemoOptions())) {
        return false;
    }
    return tables::SaveProject(prompt, project);
}

}  // namespace pelor::tools
