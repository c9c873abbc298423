#pragma once
// The paint of the gauge area: every channel record drawn as a frame of its style's picture
// strip with the value and label texts over it, the bare background when a full redraw is
// due, the layout grid, and the copy of the gauge area to the window at the display scale.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/canvas.h"
#include "decode/channel_store.h"
#include "display/gauge_style.h"
#include "display/layout.h"

namespace pelor::display {

// Where a style's picture, value text and label text go relative to the gauge's position,
// on top of the record's own value and label positions.
struct GaugeOffsets {
    int pictureX = 0;
    int pictureY = 0;
    int valueX = 0;
    int valueY = 0;
    int labelX = 0;
    int labelY = 0;
};

GaugeOffsets OffsetsFor(int displayType, int mode);

// The buffer rectangle a gauge of `mode` at position (x, y) covers: its style's frame size
// at the picture offset of the display type. Empty for the modes that draw nothing.
core::Rect GaugeRect(int displayType, const GaugeStyles& styles, int mode, int x, int y);

// The lamp of an indicator, relative to its picture: a square of half the picture's height
// (at least 6 pixels), centred in height, just left of where the lit label is written. The
// picture holds its dark socket; a lit indicator is filled in over it with the value colour.
core::Rect IndicatorLamp(const GaugeStyle& style, const GaugeOffsets& offsets);

// The first four characters of a value text after scaling: read as a decimal integer (as
// atoi reads it), divided by `divisor` when that is not 1 and written "%4d", then multiplied
// by `multiplier` when that is not 1 and written "%4d" again, cut to four characters. With
// both 1 the text is returned unchanged. A divisor of 0 counts as 1.
std::array<char, 4> FormatScaledValue(const std::array<char, 8>& valueText, int multiplier,
                                      int divisor);

// Everything the paint needs that is fixed between theme loads: names of the prepared
// pictures and fonts and the colours, so that a paint builds no text.
struct PaintResources {
    struct Style {
        std::string strip;
        std::string valueFont;
        std::string labelFont;
        core::Color valueColor;
        core::Color labelColor;
        core::Color lampCentre;  // the value colour halfway to white: a lit lamp's bright core
    };
    std::array<Style, kStyleCount> styles;
    std::array<std::string, 13> backgrounds;  // index = theme background entry 1..12
    core::Color gridColor;
};

PaintResources MakePaintResources(const GaugeStyles& styles, std::uint32_t gridColor);

// The picture name of theme background entry 1..12 ("BACKGROUND1" ...).
std::string BackgroundPictureName(int entry);

// Draws the active grid with 4-pixel lines in `color`, offset by 20 pixels.
void DrawGrid(core::Canvas& canvas, const LayoutState& layout, int width, int height,
              core::Color color);

struct PaintOptions {
    bool showGrid = false;
    // The gauges go over the bare background rather than over what the buffer holds, so a
    // gauge that moved or vanished since the last paint leaves nothing behind.
    bool clearFirst = false;
    // Bit c set: channel c has had no value for too long (or the link is gone). Its gauge is
    // drawn dimmed with dashes in place of the value.
    std::uint16_t staleMask = 0;
    // A state that freezes the picture ("PLAYBACK", "HOLD"), written over the gauge area's
    // top-left corner; empty for live data.
    std::string_view banner;
};

// What a stale gauge shows in place of its value.
inline constexpr std::string_view kStaleValue = "----";

// One paint of the gauge area. When store.m_bRedrawAll is 1 the area shows the bare
// background (or black); otherwise the gauges are drawn over what the buffer holds, then the
// grid when asked. The area is copied to the window at the display scale, and m_bRedrawAll
// is set back to 1. The caller holds the store's mutex for the whole paint.
void PaintGaugeArea(core::Canvas& canvas, decode::ChannelStore& store, const LayoutState& layout,
                    const GaugeStyles& styles, const PaintResources& resources,
                    const PaintOptions& options);

}  // namespace pelor::display
