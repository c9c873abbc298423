#pragma once
// The NMEA TAGS page: the twelve NMEA 0183 tags (page table bytes 512..523, the sentence choice
// in the high nibble and the value within it in the low) and the time settings kept in label
// entries 48..59 (UTC offset, three tachometer hour counters, date and time). The page only
// collects: the tags go out with the page file, the time settings with the labels file.
#include <array>
#include <string>
#include <vector>

#include "tables/label_file.h"
#include "tables/table_types.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

inline constexpr int kNmeaTagCount = 12;
inline constexpr int kNmeaSentenceCount = 16;

// "DISABLED", "$IIXDR,G - Instrumentation", ... "$GPRMC - GPS Data" (index = sentence choice).
const std::array<const char*, kNmeaSentenceCount>& NmeaSentenceChoices();
// The values of sentence choice `sentence` in index order; {"DISABLED"} for 0 and for a choice
// outside 0..15.
std::vector<std::string> NmeaValueChoices(int sentence);

struct NmeaTag {
    int sentence = 0;  // 0..15
    int value = 0;     // 0..15; may lie past the sentence's list when a file says so
};

struct NmeaTagsPage {
    std::array<NmeaTag, kNmeaTagCount> tags{};
    NmeaTimeSettings time;
    bool saveRequested = false;
};

NmeaTagsPage NmeaTagsPageFrom(const PageTable& pages, const LabelSettings& settings);

// "" when every field is in range, else the message naming the first one that is not.
std::string CheckNmeaTagsPage(const NmeaTagsPage& page);

// Byte 512 + n = 16 x sentence + value; the time settings go into `settings` (the value
// between month and year is written 00 from here on; the flag characters are kept).
void ApplyNmeaTagsPage(const NmeaTagsPage& page, PageTable& pages, LabelSettings& settings);

}  // namespace pelor::prefs
