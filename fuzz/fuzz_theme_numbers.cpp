// The numbers of a theme: a well-formed theme whose every number field (three characters at
// its fixed place) comes from the input, so each input reaches the end of the file. Whatever
// the numbers, every style ends within the picture bounds (refused ones keep the built-in
// record), and the load reports each refusal with its line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/prompt.h"
#include "display/gauge_style.h"
#include "display/theme.h"

namespace {

// Three characters of the input (line ends replaced, so lines stay in step); '0' past its end.
class Numbers {
public:
    Numbers(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    std::string Next() {
        std::string out;
        for (int k = 0; k < 3; ++k) {
            char c = at_ < size_ ? static_cast<char>(data_[at_++]) : '0';
            if (c == '\n' || c == '\r' || c == '\0') c = '9';
            out += c;
        }
        return out;
    }
    std::string Line(int count) {
        std::string out = "[";
        for (int k = 0; k < count; ++k) out += (k > 0 ? "," : "") + Next();
        return out + "]";
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    Numbers n(data, size);
    std::string t = "[Pelor_Theme_Defination_file]\r\n[Version 1.1]\r\n";
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) t += "Background\r\n [kept]\r\n";
    for (int s = 0; s < display::kStyleCount; ++s) {
        t += "strip\r\n [built-in]\r\nname\r\n[Style]\r\n";
        t += "geometry\r\n" + n.Line(4) + "\r\n";
        t += "value\r\n" + n.Line(4) + "\r\n";
        t += "font\r\n[Arial]\r\nheight\r\n" + n.Line(1) + "\r\ncolour\r\n" + n.Line(3) + "\r\n";
        t += "label\r\n" + n.Line(2) + "\r\n";
        t += "font\r\n[Arial]\r\nheight\r\n" + n.Line(1) + "\r\ncolour\r\n" + n.Line(3) + "\r\n";
    }
    t += "grid\r\n" + n.Line(3) + "\r\n";
    for (int p = 0; p < display::kThemePositionCount; ++p) {
        const std::string index = std::to_string(p);
        t += "position\r\n[" + std::string(3 - index.size(), '0') + index + "]\r\n";
        for (int row = 0; row < 16; ++row) t += n.Line(6) + "\r\n";
    }
    core::ScriptedPrompt prompt;
    display::Theme theme = display::DefaultTheme();
    display::GaugeStyles styles = display::DefaultGaugeStyles();
    const bool whole =
        display::LoadThemeText(t, "/nonexistent-pelor-theme/Theme.txt", prompt, theme, styles);
    int refused = 0;
    for (const auto& s : styles) {
        if (!display::StripSizeAllowed(s.width, s.height, s.frameCount)) __builtin_trap();
    }
    for (const auto& shown : prompt.shown) {
        if (shown.text.find("Picture size out of range in theme line ") != 0) __builtin_trap();
        ++refused;
    }
    // Every entry is well formed: the only messages are refusals, and a load with none is whole.
    if (whole != (refused == 0)) __builtin_trap();
    return 0;
}
