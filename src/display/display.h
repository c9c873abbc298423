#pragma once
// The display as the main window uses it: gauge styles and theme, the layout of the display
// type, the paint of the gauge area through a canvas, the screen records and the web bitmap.
//
// Start-up order: construct (built-in styles and theme), LoadTheme when a theme file is
// named, then prepare the canvas pictures and fonts from Styles()/GetTheme(), then
// ApplyLayout. Every call that takes the channel store expects its mutex to be held.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/canvas.h"
#include "core/prompt.h"
#include "decode/channel_store.h"
#include "display/gauge_paint.h"
#include "display/gauge_style.h"
#include "display/layout.h"
#include "display/screen_records.h"
#include "display/theme.h"
#include "display/web_bitmap.h"

namespace pelor::display {

class Display {
public:
    Display();

    // Theme: replaces styles, mode names, grid colour and background paths. Result as
    // LoadTheme; the paint resources follow the new styles either way.
    bool LoadThemeFile(const std::string& path, core::Prompt& prompt);
    const Theme& GetTheme() const { return theme_; }
    const GaugeStyles& Styles() const { return styles_; }
    const PaintResources& Resources() const { return resources_; }

    // Layout of a display type at a scale (percent) with or without the status window;
    // resets the channel positions (the caller then requests a repaint).
    void ApplyLayout(decode::ChannelStore& store, int displayType, int scale, bool statusWindow);
    const LayoutState& Layout() const { return layout_; }

    // The off-screen buffer size the canvas needs for the current display type: the gauge
    // area and the background picture both fit.
    PictureSize BufferSize() const;
    // The background picture of the current display type, or "" when it is cleared to black.
    std::string BackgroundPicture() const;

    // The active grid and frame counts for the channel update.
    const GridValues& GridX() const { return layout_.gridX; }
    const GridValues& GridY() const { return layout_.gridY; }
    std::array<int, kStyleCount> StyleFrameCounts() const { return FrameCounts(styles_); }

    // One paint of the gauge area (see PaintGaugeArea).
    void Paint(core::Canvas& canvas, decode::ChannelStore& store, bool showGrid) const;
    void Paint(core::Canvas& canvas, decode::ChannelStore& store,
               const PaintOptions& options) const;

    // Screen records of the unit, by the current display type and styles.
    std::size_t ParseScreenRecords(std::string_view text, decode::ChannelStore& store) const;

    // The web bitmap of the gauge area (pixels at full gauge-area size).
    static bool WriteWebBitmap(const std::string& path, const RgbBuffer& pixels,
                               core::Prompt& prompt);

private:
    GaugeStyles styles_;
    Theme theme_;
    PaintResources resources_;
    LayoutState layout_;
};

}  // namespace pelor::display
