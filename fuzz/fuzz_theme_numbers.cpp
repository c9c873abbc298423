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
// Written straight into the theme text: the text is built once per input, and its building
// must cost little beside the load it feeds.
class Numbers {
public:
    Numbers(const uint8_t* data, size_t size, std::string& out)
        : data_(data), size_(size), out_(out) {}
    void Next() {
        for (int k = 0; k < 3; ++k) {
            char c = at_ < size_ ? static_cast<char>(data_[at_++]) : '0';
            if (c == '\n' || c == '\r' || c == '\0') c = '9';
            out_ += c;
        }
    }
    // "[nnn,nnn,...]\r\n" with `count` numbers.
    void Line(int count) {
        out_ += '[';
        for (int k = 0; k < count; ++k) {
            if (k > 0) out_ += ',';
            Next();
        }
        out_ += "]\r\n";
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    std::string& out_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static std::string t;
    t.clear();
    Numbers n(data, size, t);
    t += "[Pelor_Theme_Defination_file]\r\n[Version 1.1]\r\n";
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) t += "Background\r\n [kept]\r\n";
    // A text's place, then its font, height and colour (the value's and the label's).
    const auto text = [&](const char* place, int numbers) {
        t += place;
        n.Line(numbers);
        t += "font\r\n[Arial]\r\nheight\r\n";
        n.Line(1);
        t += "colour\r\n";
        n.Line(3);
    };
    for (int s = 0; s < display::kStyleCount; ++s) {
        t += "strip\r\n [built-in]\r\nname\r\n[Style]\r\ngeometry\r\n";
        n.Line(4);
        text("value\r\n", 4);
        text("label\r\n", 2);
    }
    t += "grid\r\n";
    n.Line(3);
    for (int p = 0; p < display::kThemePositionCount; ++p) {
        t += "position\r\n[0";
        t += static_cast<char>('0' + p / 10);
        t += static_cast<char>('0' + p % 10);
        t += "]\r\n";
        for (int row = 0; row < 16; ++row) n.Line(6);
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
