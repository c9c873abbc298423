#pragma once
// Gauge style records: one per drawing style, giving the picture strip's frame size and
// count, the frame offset for screen records, and where and how the value and label texts
// are written over the picture. Built-in defaults first; a theme may replace them.
#include <array>
#include <cstdint>
#include <string>

#include "core/canvas.h"
#include "display/display_modes.h"

namespace pelor::display {

// Colours are kept as 0x00BBGGRR (red in the low byte), as theme files give them.
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}
constexpr core::Color ToColor(std::uint32_t rgb) {
    return core::Color{static_cast<std::uint8_t>(rgb & 0xFF),
                       static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                       static_cast<std::uint8_t>((rgb >> 16) & 0xFF)};
}

inline constexpr std::uint32_t kInstrumentGreen = Rgb(70, 199, 131);
// A frame offset of 255 selects the built-in frame correction of the screen records.
inline constexpr std::int32_t kBuiltInFrameCorrection = 255;
// Fonts are created with this weight (semi-bold).
inline constexpr int kGaugeFontWeight = 600;

struct GaugeStyle {
    std::string pictureFile;  // theme BMP of the strip; empty: built-in artwork
    std::string name;         // style name shown in the label-mode menu
    std::int32_t width = 0;   // one frame; frame k starts at x = k * width
    std::int32_t height = 0;
    std::int32_t frameCount = 1;
    std::int32_t frameOffset = 0;
    std::int32_t valueX = 0;
    std::int32_t valueY = 0;
    std::int32_t valueMultiplier = 1;
    std::int32_t valueDivisor = 1;
    std::string valueFontFace = "Arial";
    std::int32_t valueFontHeight = 12;
    std::uint32_t valueColor = kInstrumentGreen;
    std::int32_t labelX = 0;
    std::int32_t labelY = 0;
    std::string labelFontFace = "Arial";
    std::int32_t labelFontHeight = 12;
    std::uint32_t labelColor = kInstrumentGreen;
};

using GaugeStyles = std::array<GaugeStyle, kStyleCount>;

// Record indices, by the style each draws.
enum StyleIndex : int {
    kStyleLargeRamp = 0,
    kStyleDial = 1,
    kStyleBarText = 2,
    kStyleBargraph = 3,
    kStyleHugeText = 4,
    kStyleLargeText = 5,
    kStyleData = 6,
    kStyleSmallText = 7,
    kStyleLargeDial = 8,
    kStyleHistogram = 9,
    kStyleIndicator = 10,
};

// The built-in records (the histogram record is our own design: 15 frames of 320 x 100). The
// small-text and indicator records write their texts 14 to 20 pixels high, so that their
// eight characters read at a glance from the helm.
GaugeStyles DefaultGaugeStyles();

// The style names in record order, as the label-mode menu shows them by default.
std::array<std::string, kStyleCount> DefaultStyleNames();

// Frame counts of the eleven records, for the channel update's bar and dial frames.
std::array<int, kStyleCount> FrameCounts(const GaugeStyles& styles);

// The key under which the canvas keeps a prepared font: "<face> <height>".
std::string FontKey(const std::string& face, int height);

// The picture name of record `index`'s strip on the canvas ("STRIP0" .. "STRIP10").
std::string StripPictureName(int index);

}  // namespace pelor::display
