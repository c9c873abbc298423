#include "display/display.h"

#include <algorithm>

namespace pelor::display {

Display::Display()
    : styles_(DefaultGaugeStyles()),
      theme_(DefaultTheme()),
      resources_(MakePaintResources(styles_, theme_.gridColor)),
      layout_(ComputeLayout(0, 100, false)) {}

bool Display::LoadThemeFile(const std::string& path, core::Prompt& prompt) {
    const bool ok = LoadTheme(path, prompt, theme_, styles_);
    resources_ = MakePaintResources(styles_, theme_.gridColor);
    return ok;
}

void Display::ApplyLayout(decode::ChannelStore& store, int displayType, int scale,
                          bool statusWindow) {
    display::ApplyLayout(layout_, store, displayType, scale, statusWindow);
}

PictureSize Display::BufferSize() const {
    const core::Rect& a = layout_.gaugeArea;
    PictureSize size{a.x + a.width, a.y + a.height};
    const int entry = DisplayTypeFor(layout_.displayType).background;
    if (entry > 0) {
        size.width = std::max(size.width, kBackgroundSizes[entry].width);
        size.height = std::max(size.height, kBackgroundSizes[entry].height);
    }
    return size;
}

std::string Display::BackgroundPicture() const {
    const int entry = DisplayTypeFor(layout_.displayType).background;
    return entry > 0 ? BackgroundPictureName(entry) : std::string();
}

void Display::Paint(core::Canvas& canvas, decode::ChannelStore& store, bool showGrid) const {
    PaintOptions options;
    options.showGrid = showGrid;
    PaintGaugeArea(canvas, store, layout_, styles_, resources_, options);
}

void Display::Paint(core::Canvas& canvas, decode::ChannelStore& store,
                    const PaintOptions& options) const {
    PaintGaugeArea(canvas, store, layout_, styles_, resources_, options);
}

std::size_t Display::ParseScreenRecords(std::string_view text, decode::ChannelStore& store) const {
    return display::ParseScreenRecords(text, store,
                                       MakeScreenRecordRules(layout_.displayType, styles_));
}

bool Display::WriteWebBitmap(const std::string& path, const RgbBuffer& pixels,
                             core::Prompt& prompt) {
    return display::WriteWebBitmap(path, pixels, prompt);
}

}  // namespace pelor::display
