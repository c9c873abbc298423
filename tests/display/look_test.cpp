#include "display/look.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelor::display {
namespace {

// Colours the artwork and themes use: faces, markings, white digits, alarm red, amber.
const core::Color kSamples[] = {{0, 0, 0},       {255, 255, 255}, {32, 231, 182}, {0, 255, 0},
                                {0, 0, 255},     {255, 0, 0},     {255, 191, 0},  {212, 208, 200},
                                {128, 128, 128}, {10, 14, 16}};

TEST(Look, NightKeepsGreenAndBlueUnderTheLimitAtEveryBrightness) {
    for (int step = 1; step <= kBrightnessSteps; ++step) {
        const Look night{Palette::Night, step};
        for (const auto& c : kSamples) {
            const core::Color t = TintColor(night, c);
            EXPECT_LE(t.g, kNightGreenBlueLimit) << int(c.r) << "," << int(c.g) << "," << int(c.b);
            EXPECT_EQ(t.b, 0);
        }
    }
    // Bright markings stay readable as red; black stays black.
    EXPECT_GT(TintColor({Palette::Night, 10}, {255, 255, 255}).r, 180);
    EXPECT_GT(TintColor({Palette::Night, 10}, {32, 231, 182}).r, 120);
    EXPECT_EQ(TintColor({Palette::Night, 10}, {0, 0, 0}), (core::Color{0, 0, 0}));
}

TEST(Look, BrightnessDimsEveryPaletteInStepsAndDayAtFullIsUnchanged) {
    for (const auto& c : kSamples) EXPECT_EQ(TintColor({Palette::Day, 10}, c), c);
    for (Palette p : {Palette::Day, Palette::Dusk, Palette::Night}) {
        int previous = -1;
        for (int step = 1; step <= kBrightnessSteps; ++step) {
            const core::Color t = TintColor({p, step}, {255, 255, 255});
            EXPECT_GT(t.r, previous) << PaletteName(p) << " step " << step;
            previous = t.r;
        }
    }
    // Dusk is dimmer than day and warmer: blue falls most.
    const core::Color dusk = TintColor({Palette::Dusk, 10}, {255, 255, 255});
    EXPECT_LT(dusk.r, 255);
    EXPECT_LT(dusk.b, dusk.g);
    EXPECT_LT(dusk.g, dusk.r);
}

TEST(Look, PicturesTintLikeColoursAndKeepTheirAlpha) {
    std::vector<std::uint32_t> pixels;
    for (const auto& c : kSamples)
        pixels.push_back(0x80000000U | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) |
                         c.b);
    for (Palette p : {Palette::Day, Palette::Dusk, Palette::Night}) {
        const Look look{p, 7};
        std::vector<std::uint32_t> tinted = pixels;
        TintPixels(look, tinted.data(), tinted.size());
        for (std::size_t i = 0; i < tinted.size(); ++i) {
            const core::Color t = TintColor(look, kSamples[i]);
            const std::uint32_t want =
                0x80000000U | (std::uint32_t{t.r} << 16) | (std::uint32_t{t.g} << 8) | t.b;
            EXPECT_EQ(tinted[i], want) << PaletteName(p) << " sample " << i;
        }
    }
}

TEST(Look, StoredNumbersAndTheCycle) {
    EXPECT_EQ(NextPalette(Palette::Day), Palette::Dusk);
    EXPECT_EQ(NextPalette(Palette::Dusk), Palette::Night);
    EXPECT_EQ(NextPalette(Palette::Night), Palette::Day);
    EXPECT_EQ(PaletteFromNumber(2), Palette::Night);
    EXPECT_EQ(PaletteFromNumber(3), Palette::Day);
    EXPECT_EQ(PaletteFromNumber(-1), Palette::Day);
    EXPECT_EQ(BrightnessFromNumber(1), 1);
    EXPECT_EQ(BrightnessFromNumber(0), kBrightnessSteps);
    EXPECT_EQ(BrightnessFromNumber(11), kBrightnessSteps);
}

}  // namespace
}  // namespace pelor::display
