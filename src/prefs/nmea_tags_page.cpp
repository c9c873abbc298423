#include "prefs/nmea_tags_page.h"

#include <utility>

#include "core/format.h"
#include "tables/page_file.h"

namespace pelor::prefs {
namespace {

const std::vector<std::vector<std::string>>& ValueLists() {
    static const std::vector<std::vector<std::string>> lists = [] {
        std::vector<std::string> channels;
        channels.reserve(16);
        for (int c = 0; c < 16; ++c) channels.push_back(core::Format("Koralind Channel %d", c));
        return std::vector<std::vector<std::string>>{
            {"DISABLED"},
            channels,
            {"UTC", "Latitude", "NS", "Longitude", "QOS"},
            {"Track True", "Track Mag", "Speed Knots", "Speed KPH"},
            {"Depth"},
            {"Temp"},
            {"Direction True", "Direction Mag", "Speed Knots", "Speed MPS"},
            {"Cross Track Err", "Steer Direction", "Range to Dest", "Bearing to Dest",
             "Speed to Dest"},
            {"Heading True", "Heading Mag"},
            {"Direction Realitive", "DirectionTheorical", "Speed Knots", "Speed MPH", "Speed KPH"},
            {"Baro Pressure inHg", "Baro Pressure Bars", "Air Temp C", "Air Temp F",
             "Wind Dir True", "Wind Dir Mag", "Wind Speed Knots", "Wind Speed mps"},
            {"Latitude", "Longitude", "UTC Time"},
            {"Speed", "Heading"},
            {"Rate of Turn"},
            {"Pitch", "Roll"},
            {"UTC Time", "Latitude", "Longitude", "Speed", "Track", "Data", "Mag Var"},
        };
    }();
    return lists;
}

// Four hour digits and two minute digits, the minutes' tens at most 5.
constexpr std::array<int, 6> kDigitMax = {9, 9, 9, 9, 5, 9};

struct Range {
    std::string name;
    int value;
    int min;
    int max;
};

}  // namespace

const std::array<const char*, kNmeaSentenceCount>& NmeaSentenceChoices() {
    static const std::array<const char*, kNmeaSentenceCount> choices = {
        "DISABLED",
        "$IIXDR,G - Instrumentation",
        "$GPGGA - Sat Info",
        "$GPVTG - Track and Speed",
        "$SDDBT- Sonar Depth",
        "$SDMTW - Sonar Water Temp",
        "$WIMWD - Wind Data True ",
        "$GPRMB - Bearing to WP",
        "$HCHDT - True Heading",
        "$WIMWV - Wind Data Bow",
        "$WIMDA - Weather Data ",
        "$GPGLL - Position Data",
        "$SDVHW - Water Speed",
        "$TIROT - Rate Of Turn",
        "$YXXDR,B - Pitch and Roll",
        "$GPRMC - GPS Data",
    };
    return choices;
}

std::vector<std::string> NmeaValueChoices(int sentence) {
    const auto& lists = ValueLists();
    if (sentence < 0 || sentence >= static_cast<int>(lists.size())) return lists[0];
    return lists[static_cast<std::size_t>(sentence)];
}

NmeaTagsPage NmeaTagsPageFrom(const PageTable& pages, const LabelSettings& settings) {
    NmeaTagsPage page;
    for (std::size_t n = 0; n < page.tags.size(); ++n) {
        const std::uint8_t b = pages[kNmeaRow + n];
        page.tags[n] = {b >> 4, b & 15};
    }
    page.time = settings.time;
    // Label entries that do not hold digits decode past any field's range (a blank reads as
    // 240, two blanks as 80): such a setting starts the page at 0, "not set", so that the page
    // never holds what it would refuse.
    auto& t = page.time;
    const std::pair<std::uint8_t*, int> fields[] = {
        {&t.utcOffset, 23}, {&t.month, 12},  {&t.day, 31},    {&t.year, 99},
        {&t.hour, 23},      {&t.minute, 59}, {&t.seconds, 59}};
    for (const auto& [field, max] : fields) {
        if (*field > max) *field = 0;
    }
    for (auto& tach : t.tachometers) {
        for (std::size_t d = 0; d < tach.digits.size(); ++d) {
            if (tach.digits[d] > kDigitMax[d]) tach.digits[d] = 0;
        }
    }
    return page;
}

std::string CheckNmeaTagsPage(const NmeaTagsPage& page) {
    const NmeaTimeSettings& t = page.time;
    std::vector<Range> ranges = {
        {"UTC Time Adjust", t.utcOffset, 0, 23},
        // A labels file that never held a date reads back as zeros: 0 stands for "not set".
        {"Month ", t.month, 0, 12},
        {"Day", t.day, 0, 31},
        {"Year", t.year, 0, 99},
        // Midnight and the full hour are times too: hours, minutes and seconds start at 0.
        {"Hour", t.hour, 0, 23},
        {"Minute", t.minute, 0, 59},
        {"Seconds", t.seconds, 0, 59},
    };
    for (std::size_t k = 0; k < t.tachometers.size(); ++k) {
        const auto& d = t.tachometers[k].digits;
        for (std::size_t i = 0; i < d.size(); ++i) {
            ranges.push_back(
                {core::Format("Tac %d Hour Adjust", static_cast<int>(k)), d[i], 0, kDigitMax[i]});
        }
    }
    for (const Range& r : ranges) {
        if (r.value < r.min || r.value > r.max) {
            return core::Format("NMEA TAGS: %s must be %d to %d", r.name.c_str(), r.min, r.max);
        }
    }
    for (std::size_t n = 0; n < page.tags.size(); ++n) {
        const NmeaTag& tag = page.tags[n];
        if (tag.sentence < 0 || tag.sentence > 15 || tag.value < 0 || tag.value > 15) {
            return core::Format("NMEA TAGS: NMEA %d holds a choice out of range",
                                static_cast<int>(n));
        }
    }
    return {};
}

void ApplyNmeaTagsPage(const NmeaTagsPage& page, PageTable& pages, LabelSettings& settings) {
    for (std::size_t n = 0; n < page.tags.size(); ++n) {
        const NmeaTag& tag = page.tags[n];
        pages[kNmeaRow + n] =
            static_cast<std::uint8_t>(((tag.sentence & 15) << 4) | (tag.value & 15));
    }
    settings.time = page.time;
    settings.time.middle = 0;
}

}  // namespace pelor::prefs
