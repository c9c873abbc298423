// Theme definition files: any content loads or fails with a message, never reads outside a
// line, and leaves every style record usable. The text is read from memory through the same
// reading code as a file; the pictures it names are looked for in a folder that does not exist.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/prompt.h"
#include "display/gauge_style.h"
#include "display/theme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    core::ScriptedPrompt prompt;
    display::Theme theme = display::DefaultTheme();
    display::GaugeStyles styles = display::DefaultGaugeStyles();
    display::LoadThemeText(std::string_view(reinterpret_cast<const char*>(data), size),
                           "/nonexistent-pelor-theme/Theme.txt", prompt, theme, styles);
    for (const auto& s : styles) {
        if (!display::StripSizeAllowed(s.width, s.height, s.frameCount)) __builtin_trap();
    }
    return 0;
}
