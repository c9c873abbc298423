// The NMEA 2000 adapter's receive/transmit list in options bytes 336..367 and its in-place save.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/prompt.h"
#include "file_bytes.h"
#include "tables/adapter_pgn_list.h"
#include "tables/options_file.h"
#include "temp_dir.h"

namespace pelor::tables {
namespace {

namespace fs = std::filesystem;

using pelor::testing::ReadBytes;

TEST(AdapterPgnList, NibblesAndFlag) {
    const struct {
        std::uint8_t byte;
        bool rx, tx;
        bool setRx, setTx;
        std::uint8_t after;
        const char* legend;
    } kCases[] = {
        {0x00, true, true, true, true, 0x00, "both enabled, unchanged"},
        {0xFF, false, false, true, false, 0xF0, "receive switched on"},
        {0xFF, false, false, false, true, 0x0F, "transmit switched on"},
        {0x00, true, true, false, false, 0xFF, "both switched off"},
        {0x35, false, false, false, false, 0x35, "other nibbles kept while unchanged"},
        {0x35, false, false, true, false, 0x30, "only the changed nibble is rewritten"},
        {0x50, true, false, true, true, 0x00, "transmit on, receive kept"},
    };
    for (const auto& c : kCases) {
        OptionsTable o{};
        o[336 + 7] = c.byte;
        EXPECT_EQ(AdapterRxEnabled(o, 7), c.rx) << c.legend;
        EXPECT_EQ(AdapterTxEnabled(o, 7), c.tx) << c.legend;
        SetAdapterRx(o, 7, c.setRx);
        SetAdapterTx(o, 7, c.setTx);
        EXPECT_EQ(o[343], c.after) << c.legend;
        EXPECT_EQ(o[342], 0) << c.legend;
        EXPECT_EQ(o[344], 0) << c.legend;
    }
    OptionsTable o{};
    o[367] = 0x01;
    EXPECT_FALSE(AdapterInitEnabled(o));
    SetAdapterInit(o, false);
    EXPECT_EQ(o[367], 0x01);  // says "off" already: kept
    SetAdapterInit(o, true);
    EXPECT_EQ(o[367], 0xFF);
    SetAdapterInit(o, false);
    EXPECT_EQ(o[367], 0x00);
    // Rows past the page's 21 are not the page's.
    SetAdapterRx(o, 21, false);
    EXPECT_EQ(o[357], 0x00);
    EXPECT_EQ(AdapterPgnRowCaptions()[19], std::string("128275 Distance"));
}

TEST(AdapterPgnList, SaveRewritesOnlyTheAdapterLines) {
    const std::string dir = pelor::testing::MakeTempDir("pelor-adapter") + "/";
    core::ScriptedPrompt prompt;
    OptionsTable onDisk{};
    for (std::size_t b = 0; b < onDisk.size(); ++b) onDisk[b] = static_cast<std::uint8_t>(b * 7);
    ASSERT_TRUE(WriteOptionsFile(prompt, dir, "Opt.txt", onDisk));
    prompt.shown.clear();

    // The page's copy differs everywhere; only rows 0..20 and the flag are its own.
    OptionsTable page{};
    page.fill(0x11);
    page[336] = 0x0F;
    page[356] = 0xF0;
    page[367] = 0xFF;
    ASSERT_TRUE(SaveAdapterPgnList(prompt, dir, "Opt.txt", page));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});

    OptionsTable expected = onDisk;
    for (std::size_t b = 336; b <= 356; ++b) expected[b] = page[b];
    expected[367] = 0xFF;
    ASSERT_TRUE(WriteOptionsFile(prompt, dir, "Expected.txt", expected));
    EXPECT_EQ(ReadBytes(dir + "Opt.txt"), ReadBytes(dir + "Expected.txt"));

    // A file that is not there is reported and not created.
    prompt.shown.clear();
    EXPECT_FALSE(SaveAdapterPgnList(prompt, dir, "Missing.txt", page));
    ASSERT_FALSE(prompt.MessageTexts().empty());
    EXPECT_EQ(prompt.MessageTexts().back(), "Error loading Options file");
    EXPECT_FALSE(fs::exists(dir + "Missing.txt"));

    // A file cut inside the adapter lines is refused whole and left as it is.
    const std::string full = ReadBytes(dir + "Opt.txt");
    const std::size_t cut = full.find(";N2K PGN 127493");
    ASSERT_NE(cut, std::string::npos);
    const std::string shortFile = full.substr(0, full.rfind('\n', cut) + 1);
    std::ofstream(dir + "Short.txt", std::ios::binary) << shortFile;
    prompt.shown.clear();
    EXPECT_FALSE(SaveAdapterPgnList(prompt, dir, "Short.txt", page));
    ASSERT_FALSE(prompt.MessageTexts().empty());
    EXPECT_NE(prompt.MessageTexts().back().find("Cannot update"), std::string::npos)
        << prompt.MessageTexts().back();
    EXPECT_EQ(ReadBytes(dir + "Short.txt"), shortFile);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace pelor::tables
