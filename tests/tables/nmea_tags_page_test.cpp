#include "prefs/nmea_tags_page.h"

#include <gtest/gtest.h>

namespace {

using namespace pelor::tables;
using namespace pelor::prefs;

TEST(NmeaTagsPage, SentenceAndValueListsInChoiceOrder) {
    const struct {
        int sentence;
        std::size_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {0, 1, "DISABLED", "DISABLED"},
        {1, 16, "Koralind Channel 0", "Koralind Channel 15"},
        {2, 5, "UTC", "QOS"},
        {9, 5, "Direction Realitive", "Speed KPH"},
        {10, 8, "Baro Pressure inHg", "Wind Speed mps"},
        {13, 1, "Rate of Turn", "Rate of Turn"},
        {15, 7, "UTC Time", "Mag Var"},
        {16, 1, "DISABLED", "DISABLED"},  // no such sentence choice
        {-1, 1, "DISABLED", "DISABLED"},
    };
    for (const auto& c : cases) {
        const auto values = NmeaValueChoices(c.sentence);
        ASSERT_EQ(values.size(), c.count) << c.sentence;
        EXPECT_EQ(values.front(), c.first) << c.sentence;
        EXPECT_EQ(values.back(), c.last) << c.sentence;
    }
    EXPECT_STREQ(NmeaSentenceChoices()[3], "$GPVTG - Track and Speed");
    EXPECT_STREQ(NmeaSentenceChoices()[6], "$WIMWD - Wind Data True ");
    EXPECT_STREQ(NmeaSentenceChoices()[15], "$GPRMC - GPS Data");
}

// The NMEA row holds the sentence in the high nibble and the value in the low one, both ways;
// a value past its sentence's list (a file may hold one) survives the sheet unchanged.
TEST(NmeaTagsPage, TagBytesAndTimeSettingsRoundTrip) {
    PageTable pages{};
    pages[512] = 0x32;  // "$GPVTG - Track and Speed", "Speed Knots"
    pages[513] = 0x00;  // DISABLED
    pages[523] = 0x4F;  // "$SDDBT- Sonar Depth" has one value; 15 is kept
    pages[524] = 0x77;  // past the twelve tags: not the page's
    LabelSettings settings;
    settings.time.utcOffset = 5;
    settings.time.tachometers[1] = {{1, 2, 3, 4, 5, 6}, 'c'};
    settings.time.middle = 42;
    settings.time.dateFlag = 'x';

    NmeaTagsPage page = NmeaTagsPageFrom(pages, settings);
    EXPECT_EQ(page.tags[0].sentence, 3);
    EXPECT_EQ(page.tags[0].value, 2);
    EXPECT_EQ(NmeaValueChoices(page.tags[0].sentence)[2], "Speed Knots");
    EXPECT_EQ(page.tags[1].sentence, 0);
    EXPECT_EQ(page.tags[11].value, 15);
    EXPECT_EQ(CheckNmeaTagsPage(page), "");

    page.tags[1] = {14, 1};  // "$YXXDR,B - Pitch and Roll", "Roll"
    page.time.hour = 0;      // midnight is a time
    PageTable out = pages;
    out[513] = 0xEE;
    LabelSettings outSettings = settings;
    ApplyNmeaTagsPage(page, out, outSettings);
    EXPECT_EQ(out[512], 0x32);
    EXPECT_EQ(out[513], 0xE1);
    EXPECT_EQ(out[523], 0x4F);
    EXPECT_EQ(out[524], 0x77);
    EXPECT_EQ(outSettings.time.utcOffset, 5);
    EXPECT_EQ(outSettings.time.tachometers[1].digits,
              (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(outSettings.time.tachometers[1].flag, 'c');
    EXPECT_EQ(outSettings.time.dateFlag, 'x');
    EXPECT_EQ(outSettings.time.middle, 0) << "the value between month and year is written 00";
}

TEST(NmeaTagsPage, OutOfRangeFieldsAreNamed) {
    const struct {
        void (*change)(NmeaTagsPage&);
        const char* message;
    } cases[] = {
        {[](NmeaTagsPage& p) { p.time.utcOffset = 24; },
         "NMEA TAGS: UTC Time Adjust must be 0 to 23"},
        {[](NmeaTagsPage& p) { p.time.month = 13; }, "NMEA TAGS: Month  must be 0 to 12"},
        {[](NmeaTagsPage& p) { p.time.seconds = 60; }, "NMEA TAGS: Seconds must be 0 to 59"},
        {[](NmeaTagsPage& p) { p.time.tachometers[0].digits[4] = 6; },
         "NMEA TAGS: Tac 0 Hour Adjust must be 0 to 5"},
        {[](NmeaTagsPage& p) { p.time.tachometers[2].digits[0] = 10; },
         "NMEA TAGS: Tac 2 Hour Adjust must be 0 to 9"},
        {[](NmeaTagsPage& p) { p.tags[7].value = 16; },
         "NMEA TAGS: NMEA 7 holds a choice out of range"},
    };
    for (const auto& c : cases) {
        NmeaTagsPage page;
        c.change(page);
        EXPECT_EQ(CheckNmeaTagsPage(page), c.message);
    }
}

}  // namespace
