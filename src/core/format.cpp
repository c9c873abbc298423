#include "core/format.h"

#include <cstdio>

namespace pelor::core {

void AppendFormatV(std::string& out, const char* format, std::va_list args) {
    char small[256];
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return;
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, static_cast<std::size_t>(needed));
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(out.data() + old, static_cast<std::size_t>(needed) + 1, format, args);
    out.resize(old + static_cast<std::size_t>(needed));
}

void AppendFormat(std::string& out, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
}

std::string Format(const char* format, ...) {
    std::string out;
    std::va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

}  // namespace pelor::core
