#include "prefs/n2k_tags_page.h"

#include <gtest/gtest.h>

#include "table_test_support.h"
#include "tables/options_file.h"

namespace {

using namespace pelor::tables;
using namespace pelor::prefs;
using pelor::tables::testing::ScratchDir;
namespace core = pelor::core;

TEST(N2kTagsPage, ParameterListsAndNumberCaptions) {
    const struct {
        int pgn;
        std::size_t count;
        std::size_t at;
        const char* text;
    } cases[] = {
        {0, 1, 0, "DISABLED"},
        {1, 3, 0, "RPM **"},
        {2, 41, 33, "Reservedr"},
        {2, 41, 40, "Engine Torque"},
        {4, 5, 4, "Black Water"},
        {12, 140, 12, "Heat Index"},
        {12, 140, 13, " 13-278F Max"},
        {12, 140, 129, "129-278F Max"},
        {12, 140, 130, "130-588F Max"},
        {12, 140, 139, "139-711F Max"},
        {14, 24, 0, "1** > Greater Then"},
        {14, 24, 3, "2   < Lesser  Then"},
        {14, 24, 23, "12  < Lesser  Then"},
        {15, 3, 0, "SOG Knots 40Max**"},
        {16, 1, 0, "DISABLED"},
    };
    for (const auto& c : cases) {
        const auto& list = N2kParameterChoices(c.pgn);
        ASSERT_EQ(list.size(), c.count) << c.pgn;
        EXPECT_EQ(list[c.at], c.text) << c.pgn << " at " << c.at;
    }
    EXPECT_STREQ(N2kPgnChoices()[1], "PGN 127488 - Engine Pramater Rapid");
    EXPECT_STREQ(N2kPgnChoices()[15], "PGN 129026 - COG & SOG");
    EXPECT_EQ(N2kNumberCaption(1, 0), "RPM Scale");
    EXPECT_EQ(N2kNumberCaption(2, 4), "Fuel Rate Scale");
    EXPECT_EQ(N2kNumberCaption(2, 0), "Set Temp (Kelvin)");
    EXPECT_EQ(N2kNumberCaption(2, 1), "");
    EXPECT_EQ(N2kNumberCaption(4, 2), "Capacity (Liters)");
    EXPECT_EQ(N2kNumberCaption(14, 5), "Threshold");
    EXPECT_EQ(N2kNumberCaption(9, 0), "");
    EXPECT_EQ(N2kRowCaption(14), "Label 14");
    EXPECT_EQ(N2kRowCaption(15), "PORTRPMM");
}

// The rows go into bytes 256..335 and come back from them; nothing else of the table moves.
TEST(N2kTagsPage, RowsMapToTheirOptionsBytesBothWays) {
    OptionsTable options{};
    for (std::size_t b = 0; b < options.size(); ++b) options[b] = static_cast<std::uint8_t>(b * 7);
    const OptionsTable before = options;
    N2kTagsPage page = N2kTagsFromOptions(options);
    page.rows[2] = {3, 4, 1, 1000, 2, true};  // instance 3, "Fluid Level", "Water", 1000 litres
    page.rows[15] = {9, 1, 0, 0xFFFF, 9, false};
    ApplyN2kTags(page, options);
    EXPECT_EQ(options[260], 0x43);
    EXPECT_EQ(options[261], 0x01);
    EXPECT_EQ(options[292], 0x03);
    EXPECT_EQ(options[293], 0xE8);
    EXPECT_EQ(options[322], 0x82);
    EXPECT_EQ(options[286], 0x19);
    EXPECT_EQ(options[318], 0xFF);
    EXPECT_EQ(options[319], 0xFF);
    EXPECT_EQ(options[335], 0x09);
    for (std::size_t b = 0; b < options.size(); ++b) {
        const bool rowByte = b == 260 || b == 261 || b == 292 || b == 293 || b == 322 || b == 286 ||
                             b == 287 || b == 318 || b == 319 || b == 335;
        if (!rowByte) {
            EXPECT_EQ(options[b], before[b]) << "byte " << b;
        }
    }
    const N2kTagsPage back = N2kTagsFromOptions(options);
    EXPECT_EQ(back.rows[2].instance, 3);
    EXPECT_EQ(back.rows[2].pgn, 4);
    EXPECT_EQ(back.rows[2].number, 1000);
    EXPECT_TRUE(back.rows[2].enabled);
    EXPECT_EQ(back.rows[2].source, 2);
    EXPECT_EQ(CheckN2kTagsPage(back), "");

    page.rows[7].number = 70000;
    EXPECT_EQ(CheckN2kTagsPage(page), "NMEA 2000: Label 7 number must be 0 to 65535");
}

// Instance and source are 0 to 9 on the page: a typed 10 or 12 is refused with the row and
// field named (12 would otherwise be saved as the nibble C), and PREFSAVE writes nothing. A
// value past 9 that the file itself holds is kept as it is until the user changes it.
TEST(N2kTagsPage, ATypedInstanceOrSourcePastNineIsRefused) {
    OptionsTable options{};
    options[256 + 2 * 3] = 0x1C;  // row 3: PGN 1, instance 12
    options[320 + 3] = 0x80 | 100;
    const N2kTagsPage loaded = N2kTagsFromOptions(options);
    ASSERT_EQ(loaded.rows[3].instance, 12);
    EXPECT_EQ(CheckN2kTagsPage(loaded), "") << "the file's own values are kept";
    OptionsTable back{};
    ApplyN2kTags(loaded, back);
    EXPECT_EQ(back[256 + 2 * 3], 0x1C);
    EXPECT_EQ(back[320 + 3], 0x80 | 100);

    const struct {
        int row;
        bool source;
        int value;
        const char* message;
    } cases[] = {
        {0, false, 12, "NMEA 2000: Label 0 Instance must be 0 to 9"},
        {0, false, 10, "NMEA 2000: Label 0 Instance must be 0 to 9"},
        {15, true, 10, "NMEA 2000: PORTRPMM Source must be 0 to 9"},
        {3, false, 11, "NMEA 2000: Label 3 Instance must be 0 to 9"},
        {3, true, 99, "NMEA 2000: Label 3 Source must be 0 to 9"},
        {3, false, 9, ""},
        {3, true, 0, ""},
        {7, false, 9, ""},
    };
    for (const auto& c : cases) {
        N2kTagsPage page = loaded;
        auto& row = page.rows[static_cast<std::size_t>(c.row)];
        (c.source ? row.source : row.instance) = c.value;
        EXPECT_EQ(CheckN2kTagsPage(page), c.message) << c.row << " " << c.value;
    }

    ScratchDir d;
    core::ScriptedPrompt quiet;
    ASSERT_TRUE(WriteOptionsFile(quiet, d.Dir(), "Options.txt", options));
    core::ScriptedPrompt prompt;
    const std::string before = d.Read("Options.txt");
    N2kTagsPage typed = loaded;
    typed.rows[5].instance = 12;
    EXPECT_FALSE(SaveN2kTagsPage(prompt, d.Dir(), "Options.txt", typed));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"NMEA 2000: Label 5 Instance must be 0 to 9"});
    EXPECT_EQ(d.Read("Options.txt"), before);
}

}  // namespace
