#include "prefs/n2k_tags_page.h"

#include "core/format.h"
#include "tables/options_file.h"
#include "tables/table_file.h"

namespace pelor::prefs {
namespace {

std::vector<std::string> EngineDynamic() {
    std::vector<std::string> p = {
        "Engine Temp **",    "Oil Pressure",       "Oil Temp",          "Alternator Volt",
        "Fuel Rate",         "Engine Hours",       "Coolant Pressure",  "Fuel Pressure",
        "Check Engine",      "Over Temperature",   "Low Oil Pressure",  "Low Oil Level",
        "Low Fuel Pressure", "Low Voltage",        "Low Coolant Level", "Water Flow",
        "Water In Fuel",     "Charge Indicator",   "Preheat Indicator", "High Boost Pressure",
        "Rev Limit",         "EGR System",         "Throttle Position", "Emergency Stop",
        "Warn Level 1",      "Warn Level 2",       "Power Reduction",   "Maintance Needed",
        "Engine Comm Error", "Secondary Throttle", "Neutral Start",     "Engine Shutdown",
        "Reserved",          "Reservedr"};
    for (int k = 0; k < 5; ++k) p.push_back("Reserved");
    p.push_back("Engine Load");
    p.push_back("Engine Torque");
    return p;
}

std::vector<std::string> Temperatures() {
    std::vector<std::string> p = {"Sea Temp",   "Outside Temp", "Inside Temp", "Engine Room",
                                  "Main Cabin", "Live Well",    "Bait Well",   "Refig Temp",
                                  "Heater",     "Freezer",      "Wind Chill",  "Wind Chill",
                                  "Heat Index"};
    for (int k = 13; k <= 139; ++k) {
        const char* top = k <= 129 ? "278" : (k <= 133 ? "588" : "711");
        p.push_back(core::Format("%3d-%sF Max", k, top));
    }
    return p;
}

std::vector<std::string> SwitchThresholds() {
    std::vector<std::string> p;
    for (int s = 1; s <= 12; ++s) {
        const std::string head = s == 1 ? "1** " : core::Format("%-4d", s);
        p.push_back(head + "> Greater Then");
        p.push_back(head + "< Lesser  Then");
    }
    return p;
}

const std::vector<std::vector<std::string>>& Lists() {
    static const std::vector<std::vector<std::string>> lists = {
        {"DISABLED"},
        {"RPM **", "Boost", "Trim"},
        EngineDynamic(),
        {"Battery Volt **", "Current +/-300A", "Battery Temp", "Current 100A"},
        {"Fuel", "Water", "Grey Water", "Live Well", "Black Water"},
        {"Tran Pressure **", "Tran Temperature"},
        {"Outside Temp **", "Humidity", "Baro Pressure"},
        {"Wind Speed **", "Wind Direction", "Baro Pressure", "Air Temp"},
        {"Wind Speed A **", "Wind Direction A", "Wind Speed T", "Wind Direction T"},
        {"Heading **", "Deviation", "Variation"},
        {"Pitch**", "Roll"},
        {"Rate of Turn**"},
        Temperatures(),
        {"Position***", "Angle"},
        SwitchThresholds(),
        {"SOG Knots 40Max**", "SOG MPH", "SOG Knots"},
    };
    return lists;
}

}  // namespace

const std::array<const char*, kN2kPgnChoiceCount>& N2kPgnChoices() {
    static const std::array<const char*, kN2kPgnChoiceCount> choices = {
        "DISABLED",
        "PGN 127488 - Engine Pramater Rapid",
        "PGN 127489 - Engine Prameter Dynamic",
        "PGN 127508 - Battery Status",
        "PGN 127505 - Fluid Level",
        "PGN 127493 - Transmission Dynamic",
        "PGN 130311 - Environmental Data",
        "PGN 130323 - Meteorological Data",
        "PGN 130306 - Wind Data",
        "PGN 127250 - Vessel Heading",
        "PGN 127257 - Attitude",
        "PGN 127251 - Rate of Turn",
        "PGN 130312 - Temperature",
        "PGN 127245 - Rudder",
        "PGN 127501 - Switch Status",
        "PGN 129026 - COG & SOG",
    };
    return choices;
}

const std::vector<std::string>& N2kParameterChoices(int pgn) {
    const auto& lists = Lists();
    if (pgn < 0 || pgn >= static_cast<int>(lists.size())) return lists[0];
    return lists[static_cast<std::size_t>(pgn)];
}

std::string N2kNumberCaption(int pgn, int parameter) {
    switch (pgn) {
        case 1:
            return "RPM Scale";
        case 2:
            // The engine's fuel rate has a scale, its two temperatures a set point.
            if (parameter == 4) return "Fuel Rate Scale";
            if (parameter == 0 || parameter == 2) return "Set Temp (Kelvin)";
            return {};
        case 4:
        case 12:
            return "Capacity (Liters)";
        case 14:
            return "Threshold";
        default:
            return {};
    }
}

std::string N2kRowCaption(int row) {
    return row == kN2kRowCount - 1 ? "PORTRPMM" : core::Format("Label %d", row);
}

N2kTagsPage N2kTagsFromOptions(const OptionsTable& o) {
    N2kTagsPage page;
    for (std::size_t k = 0; k < page.rows.size(); ++k) {
        N2kRow& r = page.rows[k];
        const std::uint8_t index = o[256 + 2 * k];
        r.pgn = index >> 4;
        r.instance = index & 15;
        r.parameter = o[257 + 2 * k];
        r.number = (o[288 + 2 * k] << 8) | o[289 + 2 * k];
        r.source = o[320 + k] & 127;
        r.enabled = (o[320 + k] & 128) != 0;
    }
    page.asLoaded = page.rows;
    return page;
}

void ApplyN2kTags(const N2kTagsPage& page, OptionsTable& o) {
    for (std::size_t k = 0; k < page.rows.size(); ++k) {
        const N2kRow& r = page.rows[k];
        o[256 + 2 * k] = static_cast<std::uint8_t>(((r.pgn & 15) << 4) | (r.instance & 15));
        o[257 + 2 * k] = static_cast<std::uint8_t>(r.parameter & 0xFF);
        o[288 + 2 * k] = static_cast<std::uint8_t>((r.number >> 8) & 0xFF);
        o[289 + 2 * k] = static_cast<std::uint8_t>(r.number & 0xFF);
        o[320 + k] = static_cast<std::uint8_t>((r.source & 127) | (r.enabled ? 128 : 0));
    }
}

std::string CheckN2kTagsPage(const N2kTagsPage& page) {
    for (std::size_t k = 0; k < page.rows.size(); ++k) {
        const N2kRow& r = page.rows[k];
        const N2kRow& loaded = page.asLoaded[k];
        const std::string row = N2kRowCaption(static_cast<int>(k));
        const struct {
            const char* field;
            int value;
            int max;
        } fields[] = {{"Instance", r.instance, r.instance == loaded.instance ? 15 : 9},
                      {"PGN", r.pgn, 15},
                      {"Parameter", r.parameter, 255},
                      {"number", r.number, 65535},
                      {"Source", r.source, r.source == loaded.source ? 127 : 9}};
        for (const auto& f : fields) {
            if (f.value < 0 || f.value > f.max) {
                return core::Format("NMEA 2000: %s %s must be 0 to %d", row.c_str(), f.field,
                                    f.max);
            }
        }
    }
    return {};
}

const OptionsSectionRow<N2kTagsPage> kN2kTagsSection{
    kN2kTagsFirst,      kN2kTagsCount, "Error loading Options file",
    N2kTagsFromOptions, ApplyN2kTags,  CheckN2kTagsPage};

bool OpenN2kTagsPage(core::Prompt& prompt, const std::string& directory,
                     const std::string& optionsFile, N2kTagsPage& page) {
    return OpenOptionsSection(prompt, directory, optionsFile, kN2kTagsSection, page);
}

bool SaveN2kTagsPage(core::Prompt& prompt, const std::string& directory,
                     const std::string& optionsFile, const N2kTagsPage& page) {
    return SaveOptionsSection(prompt, directory, optionsFile, kN2kTagsSection, page);
}

}  // namespace pelor::prefs
