#pragma once
// Theme definition files: background pictures, the picture strip, texts, fonts, colours and
// geometry of each gauge style, the grid colour and sixteen per-position layout records.
//
//   [Pelor_Theme_Defination_file]
//   [Version 1.1]
//   then entries of two lines each: a label line (ignored) and a value line such as
//   [BackGround1.bmp]   [GAUGE NAME]   [128,128,014,255]   [Arial]   [024]   [070,199,131]
//
// Numbers are exactly three decimal digits at fixed places of the value line. A value line
// without "[" is a format fault; one with "[" later than its first character is accepted and
// leaves the value as it was.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/prompt.h"
#include "display/gauge_style.h"

namespace pelor::display {

inline constexpr int kThemeBackgroundCount = 12;
inline constexpr int kThemePositionCount = 16;
inline constexpr std::size_t kThemeLineBuffer = 80;  // lines longer than 79 characters split

// Sizes of the built-in background pictures, by entry 1..12 (index 0 unused).
struct PictureSize {
    int width;
    int height;
};
inline constexpr std::array<PictureSize, kThemeBackgroundCount + 1> kBackgroundSizes{{
    {0, 0},
    {900, 320},
    {900, 640},
    {800, 540},
    {800, 540},
    {820, 850},
    {820, 1700},
    {1400, 620},
    {1200, 1060},
    {820, 860},
    {820, 1720},
    {1350, 820},
    {1350, 1640},
}};

// Bounds of a style's picture strip. No display type shows a picture larger than its largest
// background (1400 x 1720), a level of 0..255 picks one of at most 256 frames, and a whole
// strip is held to 16 M pixels (64 MB at 32 bits a pixel). A theme asking for more is refused
// for that style, which keeps its built-in look.
inline constexpr std::int32_t kMaxFrameWidth = 1400;
inline constexpr std::int32_t kMaxFrameHeight = 1720;
inline constexpr std::int32_t kMaxFrameCount = 256;
inline constexpr std::int64_t kMaxStripPixels = std::int64_t{1} << 24;

// True when frames of width x height, `frames` of them, lie within the bounds above (each at
// least 1).
bool StripSizeAllowed(std::int32_t width, std::int32_t height, std::int32_t frames);

struct ThemePosition {
    std::array<std::array<std::int32_t, 6>, 8> first{};   // rows 1 to 8
    std::array<std::array<std::int32_t, 6>, 8> second{};  // rows 9 to 16
};

struct Theme {
    std::array<std::string, kThemeBackgroundCount + 1>
        backgroundPaths;                             // entry 1..12; empty: built-in
    std::array<std::string, kStyleCount> modeNames;  // in file order, see kThemeStyleOrder
    std::uint32_t gridColor = 0;                     // black until a theme sets it
    std::array<ThemePosition, kThemePositionCount> positions{};
};

// The file's style order: LargeDial, SmallDial, HalfDial, HBars, VBars, HugeText, LargeText,
// TEXT, SmallText, "--------", Indicator, each filling the gauge style record given here.
inline constexpr std::array<int, kStyleCount> kThemeStyleOrder{0, 1, 8, 3, 2, 4, 5, 6, 7, 9, 10};

// The built-in theme: no files, default mode names, black grid.
Theme DefaultTheme();

// The directory part of a theme path, up to and including its last '/' (empty when none).
std::string ThemeDirectory(const std::string& path);

// Reads a theme definition file into `theme` and `styles`. Returns true when the whole file
// was read; a failed load keeps what was read before the failure. Format faults are shown
// through `prompt` with caption "Error"; a file that cannot be opened fails silently. A style
// whose picture size is out of bounds is reported with its line, gets its built-in record
// back, and the load goes on (the result is then false).
bool LoadTheme(const std::string& path, core::Prompt& prompt, Theme& theme, GaugeStyles& styles);
// The same over `text` held in memory as if it were the file at `path` (whose folder still
// holds the pictures it names).
bool LoadThemeText(std::string_view text, const std::string& path, core::Prompt& prompt,
                   Theme& theme, GaugeStyles& styles);

}  // namespace pelor::display
