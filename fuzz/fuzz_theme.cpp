// Theme definition files: any content loads or fails with a message, never reads outside a
// line, and leaves every style record usable.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/prompt.h"
#include "display/gauge_style.h"
#include "display/theme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static const std::string path = "/tmp/pelor_fuzz_theme_" + std::to_string(getpid()) + ".txt";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    core::ScriptedPrompt prompt;
    display::Theme theme = display::DefaultTheme();
    display::GaugeStyles styles = display::DefaultGaugeStyles();
    display::LoadTheme(path, prompt, theme, styles);
    std::remove(path.c_str());
    return 0;
}
