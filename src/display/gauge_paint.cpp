#include "display/gauge_paint.h"

#include <algorithm>
#include <cstdio>

#include "core/format.h"

namespace pelor::display {

namespace {

// Reads the leading decimal integer of `text` as atoi does.
long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (text[i++] - '0');
    return negative ? -value : value;
}

void WriteField(std::array<char, 4>& out, long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%4lld", value);
    std::copy_n(buffer, 4, out.begin());
}

std::string_view TextOf(const std::array<char, 4>& chars) {
    std::size_t n = 0;
    while (n < chars.size() && chars[n] != '\0') ++n;
    return {chars.data(), n};
}

bool TypeUsesBlack(int displayType) {
    return DisplayTypeFor(displayType).background == 0;
}

// Display types whose background is OR-ed under the grid.
bool GridOrsBackground(int displayType) {
    switch (displayType) {
        case 0:
        case 1:
        case 2:
        case 4:
        case 5:
        case 10:
        case 12:
            return true;
        default:
            return false;
    }
}

// The banner of a frozen picture: the label font of the DATA style, in amber.
constexpr int kBannerStyle = 6;
constexpr core::Color kBannerColor{255, 176, 0};

void FillSegment(core::Canvas& canvas, int x, int y, int width, int height, core::Color color) {
    if (width > 0 && height > 0) canvas.FillRect({x, y, width, height}, color);
}

}  // namespace

GaugeOffsets OffsetsFor(int displayType, int mode) {
    GaugeOffsets o;
    switch (mode) {
        case kModeData:
            o = {20, 30, 30, 30, 30, 30};
            break;
        case kModeHistogram:
            o = {40, 30, 40, 30, 40, 30};
            break;
        case kModeBargraph:
            o = {0, 30, 40, 30, 30, 30};
            break;
        case kModeIndicator:
            o = {40, 30, 40, 30, 40, 30};
            break;
        case kModeDial:
        case kModeLargeDial:
        case kModeLargeRamp:
            o = {40, 20, 40, 20, 40, 20};
            break;
        case kModeLargeText:
            o = {20, 30, 30, 30, 30, 30};
            break;
        case kModeBarText:
        case kModeHugeText:
            o = {40, 30, 40, 30, 40, 30};
            break;
        case kModeSmallText:
            o = {25, 30, 30, 30, 30, 30};
            break;
        default:
            break;
    }
    // The large landscape models start their gauge area two pixels further in.
    if (displayType == 13 || displayType == 14) {
        o.pictureX += 2;
        o.pictureY += 2;
        o.valueX += 2;
        o.valueY += 2;
        o.labelX += 2;
        o.labelY += 2;
    }
    return o;
}

core::Rect GaugeRect(int displayType, const GaugeStyles& styles, int mode, int x, int y) {
    const int index = StyleIndexForMode(mode);
    if (index < 0) return {};
    const GaugeOffsets o = OffsetsFor(displayType, mode);
    const GaugeStyle& style = styles[static_cast<std::size_t>(index)];
    return {x + o.pictureX, y + o.pictureY, style.width, style.height};
}

core::Rect IndicatorLamp(const GaugeStyle& style, const GaugeOffsets& o) {
    const int side = std::max(6, style.height / 2);
    const int valueAt = style.valueX + o.valueX - o.pictureX;
    const int x = std::clamp(valueAt - side - 10, 0, std::max(0, style.width - side));
    return {x, (style.height - side) / 2, side, side};
}

std::array<char, 4> FormatScaledValue(const std::array<char, 8>& valueText, int multiplier,
                                      int divisor) {
    std::array<char, 4> out{};
    std::copy_n(valueText.begin(), 4, out.begin());
    if (divisor != 1 && divisor != 0) WriteField(out, LeadingInteger(TextOf(out)) / divisor);
    if (multiplier != 1) WriteField(out, LeadingInteger(TextOf(out)) * multiplier);
    return out;
}

std::string BackgroundPictureName(int entry) {
    return core::Format("BACKGROUND%d", entry);
}

PaintResources MakePaintResources(const GaugeStyles& styles, std::uint32_t gridColor) {
    PaintResources r;
    for (int i = 0; i < kStyleCount; ++i) {
        r.styles[i].strip = StripPictureName(i);
        r.styles[i].valueFont = FontKey(styles[i].valueFontFace, styles[i].valueFontHeight);
        r.styles[i].labelFont = FontKey(styles[i].labelFontFace, styles[i].labelFontHeight);
        r.styles[i].valueColor = ToColor(styles[i].valueColor);
        r.styles[i].labelColor = ToColor(styles[i].labelColor);
        const core::Color v = r.styles[i].valueColor;
        r.styles[i].lampCentre = core::Color{static_cast<std::uint8_t>((v.r + 255) / 2),
                                             static_cast<std::uint8_t>((v.g + 255) / 2),
                                             static_cast<std::uint8_t>((v.b + 255) / 2)};
    }
    for (int e = 1; e <= 12; ++e) r.backgrounds[e] = BackgroundPictureName(e);
    r.gridColor = ToColor(gridColor);
    return r;
}

void DrawGrid(core::Canvas& canvas, const LayoutState& layout, int width, int height,
              core::Color color) {
    constexpr int kHalf = 2;  // 4-pixel lines centred on the grid values
    const char grid = DisplayTypeFor(layout.displayType).grid;
    if (grid == 0) return;
    if (grid == '1') {
        // The fixed block: the outline of each of its sixteen cells.
        for (int k = 0; k < 16; ++k) {
            const core::Rect& c = layout.cells[k];
            FillSegment(canvas, c.x, c.y - kHalf, c.width, 4, color);
            FillSegment(canvas, c.x, c.y + c.height - kHalf, c.width, 4, color);
            FillSegment(canvas, c.x - kHalf, c.y, 4, c.height, color);
            FillSegment(canvas, c.x + c.width - kHalf, c.y, 4, c.height, color);
        }
        return;
    }
    const auto& gx = layout.gridX;
    const auto& gy = layout.gridY;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 6; ++c) {
            const int k = 6 * r + c;
            const int x1 = gx[k];
            const int x2 = c < 5 ? gx[k + 1] : width;
            FillSegment(canvas, x1 + kGridOffset, gy[k] + kGridOffset - kHalf, x2 - x1, 4, color);
            FillSegment(canvas, x1 + kGridOffset - kHalf, gy[k] + kGridOffset, 4, gy[k + 6] - gy[k],
                        color);
        }
    }
    for (int c = 0; c < 6; ++c) {
        const int k = 42 + c;
        FillSegment(canvas, gx[k] + kGridOffset - kHalf, gy[k] + kGridOffset, 4, height - gy[k],
                    color);
    }
}

void PaintGaugeArea(core::Canvas& canvas, decode::ChannelStore& store, const LayoutState& layout,
                    const GaugeStyles& styles, const PaintResources& resources,
                    const PaintOptions& options) {
    const core::Rect area = layout.gaugeArea;
    const int type = layout.displayType;
    const int background = DisplayTypeFor(type).background;

    if (store.m_bRedrawAll != 0 || options.clearFirst) {
        if (TypeUsesBlack(type)) {
            canvas.FillRect(area, core::Color{0, 0, 0});
        } else {
            canvas.CopyPicture(resources.backgrounds[background], area, area.x, area.y,
                               core::CopyMode::Copy);
        }
    }
    if (store.m_bRedrawAll == 0) {
        for (int slot = 0; slot < decode::kChannelCount; ++slot) {
            const int mode = store.m_PosMode[slot];
            const int index = StyleIndexForMode(mode);
            if (index < 0) continue;
            const GaugeStyle& style = styles[index];
            const PaintResources::Style& res = resources.styles[index];
            const GaugeOffsets o = OffsetsFor(type, mode);
            const int x = store.m_PosX[slot];
            const int y = store.m_PosY[slot];
            int frame = ModeUsesFrame(mode) ? store.m_PosFrame[slot] : 0;
            // Frames outside the strip would copy pixels that are not part of it.
            frame = std::clamp(frame, 0, std::max(style.frameCount, 1) - 1);

            canvas.CopyPicture(res.strip, {frame * style.width, 0, style.width, style.height},
                               x + o.pictureX, y + o.pictureY, core::CopyMode::Copy);
            const bool stale = (options.staleMask >> slot & 1U) != 0;
            const std::string& label = store.m_PosLabel[slot];
            if (mode == kModeIndicator) {
                if (stale) {
                    if (!label.empty()) {
                        canvas.DrawText(x + style.labelX + o.labelX, y + style.labelY + o.labelY,
                                        label, res.labelFont, res.labelColor);
                    }
                    canvas.Dim({x + o.pictureX, y + o.pictureY, style.width, style.height});
                    continue;
                }
                const bool on = store.m_PosFrame[slot] >= 1;
                if (on) {
                    // The lamp lights in the value colour with a bright core.
                    const core::Rect lamp = IndicatorLamp(style, o);
                    const int lampX = x + o.pictureX + lamp.x;
                    const int lampY = y + o.pictureY + lamp.y;
                    canvas.FillRect({lampX, lampY, lamp.width, lamp.height}, res.valueColor);
                    const int inset = lamp.width / 4;
                    canvas.FillRect({lampX + inset, lampY + inset, lamp.width - 2 * inset,
                                     lamp.height - 2 * inset},
                                    res.lampCentre);
                }
                if (label.empty()) continue;
                if (on) {
                    canvas.DrawText(x + style.valueX + o.valueX, y + style.valueY + o.valueY, label,
                                    res.valueFont, res.valueColor);
                } else {
                    canvas.DrawText(x + style.labelX + o.labelX, y + style.labelY + o.labelY, label,
                                    res.labelFont, res.labelColor);
                }
                continue;
            }
            const std::array<char, 4> value = FormatScaledValue(
                store.m_PosValueText[slot], style.valueMultiplier, style.valueDivisor);
            canvas.DrawText(x + style.valueX + o.valueX, y + style.valueY + o.valueY,
                            stale ? kStaleValue : TextOf(value), res.valueFont, res.valueColor);
            if (!label.empty()) {
                canvas.DrawText(x + style.labelX + o.labelX, y + style.labelY + o.labelY, label,
                                res.labelFont, res.labelColor);
            }
            if (stale) canvas.Dim({x + o.pictureX, y + o.pictureY, style.width, style.height});
        }
        if (!options.banner.empty()) {
            const PaintResources::Style& res = resources.styles[kBannerStyle];
            canvas.DrawText(area.x + 8, area.y + 6, options.banner, res.labelFont, kBannerColor);
        }
        if (options.showGrid) {
            if (GridOrsBackground(type) && background != 0) {
                canvas.CopyPicture(resources.backgrounds[background], area, area.x, area.y,
                                   core::CopyMode::Or);
            }
            DrawGrid(canvas, layout, area.width, area.height, resources.gridColor);
        }
    }
    canvas.StretchCopy(area, layout.scaledGaugeArea);
    store.m_bRedrawAll = 1;
}

}  // namespace pelor::display
