#pragma once
// The window's look: a day, dusk or night palette and a brightness of 1..10. Every colour the
// window shows passes through TintColor (colours chosen while painting) or TintPixels (a
// picture, once when it is prepared), so one set of pictures serves every look. Night turns
// everything into deep red on black: green and blue stay at or below kNightGreenBlueLimit.
#include <cstddef>
#include <cstdint>

#include "core/canvas.h"

namespace pelor::display {

enum class Palette : std::int32_t { Day = 0, Dusk = 1, Night = 2 };
inline constexpr std::int32_t kPaletteCount = 3;
inline constexpr std::int32_t kBrightnessSteps = 10;
// The most green or blue any colour keeps at night (before brightness).
inline constexpr int kNightGreenBlueLimit = 12;

struct Look {
    Palette palette = Palette::Day;
    std::int32_t brightness = kBrightnessSteps;  // 1 (dimmest) .. 10 (full)
    // Day at full brightness: colours and pictures pass unchanged.
    bool Plain() const { return palette == Palette::Day && brightness >= kBrightnessSteps; }
    bool operator==(const Look&) const = default;
};

// Day -> dusk -> night -> day.
Palette NextPalette(Palette p);
// A stored palette number, with anything unknown read as day.
Palette PaletteFromNumber(std::int32_t n);
// A stored brightness, held to 1..10 (anything outside reads as full).
std::int32_t BrightnessFromNumber(std::int32_t n);
// "Day", "Dusk", "Night".
const char* PaletteName(Palette p);

core::Color TintColor(const Look& look, core::Color c);

// Tints `count` pixels of 0xAARRGGBB (straight or premultiplied alpha: the transform is
// linear in each channel, so alpha is kept as it is).
void TintPixels(const Look& look, std::uint32_t* pixels, std::size_t count);

}  // namespace pelor::display
