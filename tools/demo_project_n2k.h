#pragma once
// The NMEA 2000 demo project: the same boat on a T100L display, its sixteen channels taken
// from the NMEA 2000 network (engine, battery, tanks, heading, wind, attitude, sea
// temperature) instead of the unit's analog inputs. Written by the project's own table
// writers, like the first demo; against the simulator's frames every gauge of its pages moves.
#include <array>
#include <memory>
#include <string>

#include "demo_project.h"

namespace pelor::tools {

inline constexpr int kN2kDemoPageCount = 4;

// Group codes of the NMEA 2000 sources (high nibble of the channel's first tag byte).
enum N2kGroup : std::uint8_t {
    kEngineRapid = 0x1,    // 127488
    kEngineDynamic = 0x2,  // 127489
    kBattery = 0x3,        // 127508
    kFluidLevel = 0x4,     // 127505
    kEnvironment = 0x6,    // 130311
    kWind = 0x8,           // 130306
    kHeading = 0x9,        // 127250
    kAttitude = 0xA,       // 127257
};

struct N2kDemoChannel {
    const char* label;  // up to 8 characters
    std::uint8_t group;
    std::uint8_t instance;
    std::uint8_t field;  // parameter index (for fluid levels: the fluid type)
};

inline constexpr std::array<N2kDemoChannel, 16> kN2kDemoChannels = {{
    {"RPM", kEngineRapid, 0, 0},         // engine speed
    {"ENG TEMP", kEngineDynamic, 0, 0},  // deg F
    {"OIL PRES", kEngineDynamic, 0, 1},  // PSI
    {"BOOST", kEngineRapid, 0, 1},       // PSI
    {"ALT V", kEngineDynamic, 0, 3},     // alternator volts
    {"FUEL GPH", kEngineDynamic, 0, 4},  // fuel rate, US gallons an hour
    {"BATT V", kBattery, 0, 0},
    {"BATT A", kBattery, 0, 1},
    {"FUEL %", kFluidLevel, 0, 0},   // fluid type 0: fuel
    {"WATER %", kFluidLevel, 0, 1},  // fluid type 1: fresh water
    {"HEADING", kHeading, 0, 0},
    {"AWS KT", kWind, 0, 0},  // apparent wind speed
    {"AWA", kWind, 0, 1},     // apparent wind angle
    {"PITCH", kAttitude, 0, 0},
    {"ROLL", kAttitude, 0, 1},
    {"SEA F", kEnvironment, 0, 0},  // water temperature, deg F
}};

// Four pages over grid C, in the cells and modes the first demo uses, so that every page
// fits every display model's gauge area as the first demo's do (no bar graph, no huge text).
inline constexpr DemoGauge kN2kDemoGauges[] = {
    // Page 0: engine
    {0, 0, display::kModeLargeRamp, 0},
    {0, 1, display::kModeLargeDial, 3},
    {0, 2, display::kModeDial, 24},
    {0, 3, display::kModeDial, 25},
    {0, 8, display::kModeDial, 28},
    {0, 4, display::kModeData, 36},
    {0, 5, display::kModeSmallText, 40},
    // Page 1: tanks and battery
    {1, 8, display::kModeBarText, 0},
    {1, 7, display::kModeDial, 4},
    {1, 9, display::kModeBarText, 18},
    {1, 6, display::kModeLargeText, 30},
    // Page 2: heading, wind and attitude
    {2, 10, display::kModeLargeDial, 0},
    {2, 12, display::kModeDial, 4},
    {2, 11, display::kModeHistogram, 24},
    {2, 13, display::kModeSmallText, 28},
    {2, 14, display::kModeSmallText, 34},
    {2, 15, display::kModeData, 36},
    // Page 3: everything as text
    {3, 0, display::kModeSmallText, 0},
    {3, 1, display::kModeSmallText, 2},
    {3, 6, display::kModeSmallText, 4},
    {3, 8, display::kModeSmallText, 12},
    {3, 10, display::kModeSmallText, 14},
    {3, 11, display::kModeSmallText, 16},
    {3, 7, display::kModeData, 24},
    {3, 15, display::kModeData, 36},
};

inline tables::Project N2kDemoProjectNames(const std::string& directory) {
    tables::Project p;
    p.directory = directory;
    p.projectFile = "DemoN2K.cdp";
    p.labelsFile = "N2KLabels.txt";
    p.pageFile = "N2KPages.txt";
    p.optionsFileA = p.optionsFileB = p.optionsFileC = "N2KOptions.txt";
    p.logFile = "N2KLog.ebl";  // frames are recorded as the adapter delivers them
    for (std::size_t i = 0; i < p.calibrationFiles.size(); ++i) {
        p.calibrationFiles[i] = core::Format("N2KCal%02d.txt", static_cast<int>(i));
    }
    p.webBitmapPath = tables::kNoWebBitmap;
    return p;
}

inline tables::OptionsTable N2kDemoOptions() {
    tables::OptionsTable o{};
    o[0] = kN2kDemoPageCount;
    o[6] = kDemoDisplayType;
    o[7] = 40;  // contrast
    o[16] = tables::SerialInputByte(true, true);
    o[19] = tables::BaudCodeFromChoice(1);  // 9600
    o[27] = 0x80 | 64;                      // backlight on at start, half
    for (std::uint8_t d = 0; d < 16; ++d) {
        o[tables::kChannelSection + d] = static_cast<std::uint8_t>(0x80 | d);  // NMEA input
        o[tables::kChannelSection + 16 + d] = d;  // output enabled, the value as received
    }
    for (std::size_t k = 0; k < 12; ++k) o[129 + 2 * k] = 1;  // not inverted
    o[198] = 5;                                               // USB 115200
    o[222] = 255;                                             // LCD temperature sensor off
    for (std::size_t k = 0; k < kN2kDemoChannels.size(); ++k) {
        const N2kDemoChannel& c = kN2kDemoChannels[k];
        o[256 + 2 * k] = static_cast<std::uint8_t>(c.group << 4 | c.instance);
        o[257 + 2 * k] = c.field;
        o[320 + k] = 0x80;  // row enabled, source 0
    }
    o[288 + 2 * 8] = 400 >> 8;  // capacity of row 8: fuel tank 400 litres
    o[289 + 2 * 8] = 400 & 0xFF;
    o[288 + 2 * 9] = 200 >> 8;  // row 9: water tank 200 litres
    o[289 + 2 * 9] = 200 & 0xFF;
    // The PGN slots the unit listens to: engine, battery, fluid level, environment, wind,
    // heading and attitude.
    for (std::size_t slot : {0, 1, 2, 3, 5, 7, 8, 9}) o[336 + slot] = 1;
    tables::SetHttpPostAddress(o, "127.0.0.1/pelor");
    return o;
}

// Writes the NMEA 2000 demo project into `directory` (ending in "/"). Returns success; every
// failure has been reported through `prompt`.
inline bool MakeN2kDemoProject(core::Prompt& prompt, const std::string& directory) {
    tables::Project project = N2kDemoProjectNames(directory);
    auto t = std::make_unique<tables::ProjectTables>();

    // The analog inputs are not used; their tables show the raw reading.
    for (std::size_t i = 0; i < project.calibrationFiles.size(); ++i) {
        tables::CalibrationRows rows;
        for (int raw = 0; raw < 256; ++raw) {
            rows[static_cast<std::size_t>(raw)] = {core::Format("%d", raw),
                                                   core::Format("%02X", raw), "Raw reading"};
        }
        const std::string address = core::Format("%04X", 0x8000 + 0x800 * static_cast<int>(i));
        if (!tables::WriteCalibrationFile(prompt, directory, project.calibrationFiles[i], address,
                                          rows)) {
            return false;
        }
    }

    for (std::size_t i = 0; i < kN2kDemoChannels.size(); ++i) {
        tables::SetLabelEntry(t->labels, i, kN2kDemoChannels[i].label);
    }
    for (std::size_t e = 28; e < 32; ++e) tables::SetLabelEntry(t->labels, e, "        ");
    auto& s = t->labelSettings;
    SetDemoLabelSettings(s);
    if (!tables::WriteLabelFile(prompt, directory, project.labelsFile, t->labels, s)) return false;

    PlaceDemoGauges(t->pages, kN2kDemoGauges);
    if (!tables::WritePageFile(prompt, directory, project.pageFile, t->pages, kDemoDisplayType,
                               false)) {
        return false;
    }

    if (!tables::WriteOptionsFile(prompt, directory, project.optionsFileC, N2kDemoOptions())) {
        return false;
    }
    return tables::SaveProject(prompt, project);
}

}  // namespace pelor::tools
