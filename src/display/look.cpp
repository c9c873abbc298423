#include "display/look.h"

#include <array>

namespace pelor::display {

namespace {

// Each output channel as a weighted sum of the input channels, in 1/65536ths with
// brightness included; computed once per call of TintPixels.
struct Matrix {
    std::array<std::array<std::uint32_t, 3>, 3> w{};
};

Matrix MatrixFor(const Look& look) {
    const std::uint32_t scale = static_cast<std::uint32_t>(BrightnessFromNumber(look.brightness)) *
                                65536U / static_cast<std::uint32_t>(kBrightnessSteps);
    Matrix m;
    auto set = [&](int out, double r, double g, double b) {
        const auto o = static_cast<std::size_t>(out);
        m.w[o][0] = static_cast<std::uint32_t>(r * scale);
        m.w[o][1] = static_cast<std::uint32_t>(g * scale);
        m.w[o][2] = static_cast<std::uint32_t>(b * scale);
    };
    switch (look.palette) {
        case Palette::Dusk:
            // Dimmer and warmer: blue, which dazzles most in the dark, goes first.
            set(0, 0.80, 0.0, 0.0);
            set(1, 0.0, 0.62, 0.0);
            set(2, 0.0, 0.0, 0.42);
            break;
        case Palette::Night: {
            // The brightness the eye sees (Rec. 601 weights) as red; a trace of green keeps
            // anti-aliased edges from looking harsh, never above the limit.
            constexpr double kRed = 210.0 / 255.0;
            constexpr double kGreen = kNightGreenBlueLimit / 255.0;
            set(0, 0.299 * kRed, 0.587 * kRed, 0.114 * kRed);
            set(1, 0.299 * kGreen, 0.587 * kGreen, 0.114 * kGreen);
            set(2, 0.0, 0.0, 0.0);
            break;
        }
        case Palette::Day:
        default:
            set(0, 1.0, 0.0, 0.0);
            set(1, 0.0, 1.0, 0.0);
            set(2, 0.0, 0.0, 1.0);
            break;
    }
    return m;
}

std::uint32_t Channel(const Matrix& m, std::size_t out, std::uint32_t r, std::uint32_t g,
                      std::uint32_t b) {
    const std::uint32_t v = (m.w[out][0] * r + m.w[out][1] * g + m.w[out][2] * b) >> 16;
    return v > 255 ? 255 : v;
}

}  // namespace

Palette NextPalette(Palette p) {
    switch (p) {
        case Palette::Day:
            return Palette::Dusk;
        case Palette::Dusk:
            return Palette::Night;
        case Palette::Night:
        default:
            return Palette::Day;
    }
}

Palette PaletteFromNumber(std::int32_t n) {
    return n >= 0 && n < kPaletteCount ? static_cast<Palette>(n) : Palette::Day;
}

std::int32_t BrightnessFromNumber(std::int32_t n) {
    return n >= 1 && n <= kBrightnessSteps ? n : kBrightnessSteps;
}

const char* PaletteName(Palette p) {
    switch (p) {
        case Palette::Dusk:
            return "Dusk";
        case Palette::Night:
            return "Night";
        case Palette::Day:
        default:
            return "Day";
    }
}

core::Color TintColor(const Look& look, core::Color c) {
    if (look.Plain()) return c;
    const Matrix m = MatrixFor(look);
    return core::Color{static_cast<std::uint8_t>(Channel(m, 0, c.r, c.g, c.b)),
                       static_cast<std::uint8_t>(Channel(m, 1, c.r, c.g, c.b)),
                       static_cast<std::uint8_t>(Channel(m, 2, c.r, c.g, c.b))};
}

void TintPixels(const Look& look, std::uint32_t* pixels, std::size_t count) {
    if (look.Plain() || pixels == nullptr) return;
    const Matrix m = MatrixFor(look);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t r = (p >> 16) & 0xFF;
        const std::uint32_t g = (p >> 8) & 0xFF;
        const std::uint32_t b = p & 0xFF;
        pixels[i] = (p & 0xFF000000U) | (Channel(m, 0, r, g, b) << 16) |
                    (Channel(m, 1, r, g, b) << 8) | Channel(m, 2, r, g, b);
    }
}

}  // namespace pelor::display
