#include "display/gauge_style.h"

#include "core/format.h"

namespace pelor::display {

namespace {

GaugeStyle Make(const char* name, int width, int height, int frames, int offset, int valueX,
                int valueY, int valueHeight, int labelX, int labelY, int labelHeight) {
    GaugeStyle s;
    s.name = name;
    s.width = width;
    s.height = height;
    s.frameCount = frames;
    s.frameOffset = offset;
    s.valueX = valueX;
    s.valueY = valueY;
    s.valueFontHeight = valueHeight;
    s.labelX = labelX;
    s.labelY = labelY;
    s.labelFontHeight = labelHeight;
    return s;
}

}  // namespace

std::array<std::string, kStyleCount> DefaultStyleNames() {
    return {"LargeDial", "SmallDial", "VBars",    "HBars",    "HugeText", "LargeText",
            "TEXT",      "SmallText", "HalfDial", "--------", "Indicator"};
}

GaugeStyles DefaultGaugeStyles() {
    const auto names = DefaultStyleNames();
    GaugeStyles s{
        Make("", 256, 230, 15, 255, 60, 100, 64, 85, 200, 24),  // large ramp
        Make("", 128, 128, 14, 255, 34, 54, 24, 35, 108, 16),   // dial
        Make("", 320, 128, 11, 255, 80, 8, 64, 85, 100, 24),    // bar text
        Make("", 760, 60, 11, 255, 550, 10, 36, 10, 10, 24),    // bargraph
        Make("", 600, 150, 1, 0, 300, 0, 136, 35, 20, 46),      // huge text
        Make("", 350, 90, 1, 0, 180, 20, 40, 20, 20, 24),       // large text
        Make("", 350, 40, 1, 0, 220, 10, 24, 30, 10, 24),       // data
        Make("", 180, 32, 1, 0, 110, 8, 20, 10, 10, 16),        // small text
        Make("", 256, 230, 15, 255, 80, 50, 48, 95, 100, 24),   // large dial
        Make("", 320, 100, 15, 255, 190, 12, 40, 12, 12, 20),   // histogram
        Make("", 180, 32, 1, 0, 110, 9, 14, 10, 9, 14),         // indicator
    };
    for (int i = 0; i < kStyleCount; ++i) s[i].name = names[i];
    return s;
}

std::array<int, kStyleCount> FrameCounts(const GaugeStyles& styles) {
    std::array<int, kStyleCount> counts{};
    for (int i = 0; i < kStyleCount; ++i) counts[i] = styles[i].frameCount;
    return counts;
}

std::string FontKey(const std::string& face, int height) {
    return core::Format("%s %d", face.c_str(), height);
}

std::string StripPictureName(int index) {
    return core::Format("STRIP%d", index);
}

}  // namespace pelor::display
