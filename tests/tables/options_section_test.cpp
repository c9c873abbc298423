// OPEN and PREFSAVE of the pages that edit one section of the options file in place: each
// rewrites its own lines and no other byte, reads them back, names its own message when the
// file cannot be read, and writes nothing for a page its check refuses.
#include "tables/options_section.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/prompt.h"
#include "prefs/alarms_page.h"
#include "prefs/channels_page.h"
#include "prefs/n2k_tags_page.h"
#include "table_test_support.h"

namespace pelor::tables {
namespace {

using namespace pelor::prefs;  // the pages whose sections these rows are

using core::ScriptedPrompt;
using testing::ScratchDir;

OptionsTable SampleOptions() {
    OptionsTable o{};
    for (std::size_t b = 0; b < o.size(); ++b) o[b] = static_cast<std::uint8_t>(b * 7 + 3);
    return o;
}

// `edited` is a page the check takes, `refused` one it does not (with its message).
template <class Page>
void CheckSection(const char* legend, const OptionsSectionRow<Page>& row, const Page& edited,
                  const Page& refused, const std::string& refusal) {
    SCOPED_TRACE(legend);
    ScratchDir d;
    ScriptedPrompt prompt;
    const OptionsTable original = SampleOptions();
    ASSERT_TRUE(WriteOptionsFile(prompt, d.Dir(), "Options.txt", original));
    ScratchDir expectedDir;
    OptionsTable expected = original;
    row.toOptions(edited, expected);
    ASSERT_TRUE(WriteOptionsFile(prompt, expectedDir.Dir(), "Options.txt", expected));

    // PREFSAVE: the section's lines only.
    for (std::size_t b = 0; b < expected.size(); ++b) {
        if (b < row.first || b >= row.first + row.count) {
            EXPECT_EQ(expected[b], original[b]) << "the page writes byte " << b;
        }
    }
    prompt.shown.clear();
    EXPECT_TRUE(SaveOptionsSection(prompt, d.Dir(), "Options.txt", row, edited));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    EXPECT_EQ(d.Read("Options.txt"), expectedDir.Read("Options.txt"));

    // OPEN reads back what was saved.
    Page opened = refused;
    EXPECT_TRUE(OpenOptionsSection(prompt, d.Dir(), "Options.txt", row, opened));
    OptionsTable reread = original;
    row.toOptions(opened, reread);
    EXPECT_EQ(reread, expected);

    // A refused page: its message, nothing written.
    const std::string before = d.Read("Options.txt");
    prompt.shown.clear();
    EXPECT_FALSE(SaveOptionsSection(prompt, d.Dir(), "Options.txt", row, refused));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{refusal});
    EXPECT_EQ(d.Read("Options.txt"), before);

    // A file that cannot be read: the row's message last, the page as it was.
    prompt.shown.clear();
    Page kept = edited;
    EXPECT_FALSE(OpenOptionsSection(prompt, d.Dir(), "Missing.txt", row, kept));
    ASSERT_FALSE(prompt.MessageTexts().empty());
    EXPECT_EQ(prompt.MessageTexts().back(), row.openFailure);
    OptionsTable keptBytes{};
    OptionsTable editedBytes{};
    row.toOptions(kept, keptBytes);
    row.toOptions(edited, editedBytes);
    EXPECT_EQ(keptBytes, editedBytes);
}

TEST(OptionsSection, EachPageRewritesOnlyItsLinesAndReadsThemBack) {
    ChannelsPage channels;
    channels.inputs[0] = {5, true};
    channels.outputs[15] = {3, ChannelOutputMode::Index};
    ChannelsPage badChannels;
    badChannels.inputs[2].number = 16;
    CheckSection("CHANNELS", kChannelsSection, channels, badChannels,
                 "INPUT Display 2: the channel number must be 0 to 15");

    AlarmsPage alarms;
    alarms.displays[0] = {40, 200, true, 3, 7};
    alarms.displays[15] = {10, 250, false, 11, 255};
    AlarmsPage badAlarms;
    badAlarms.displays[4].high = 256;
    CheckSection("ALARMS", kAlarmsSection, alarms, badAlarms,
                 "Display 4: thresholds must be 0 to 255");

    N2kTagsPage tags;
    tags.rows[3] = {2, 12, 5, 1200, 7, true};
    tags.rows[15] = {9, 1, 0, 65535, 0, false};
    N2kTagsPage badTags;
    badTags.rows[1].pgn = 16;
    CheckSection("NMEA 2000", kN2kTagsSection, tags, badTags,
                 "NMEA 2000: Label 1 PGN must be 0 to 15");
}

}  // namespace
}  // namespace pelor::tables
