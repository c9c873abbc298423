#include "decode/receive_text.h"

namespace pelor::decode {

std::string SystemTimeCaption(const std::tm& time) {
    char text[64];
    const std::size_t n =
        std::strftime(text, sizeof text, "  System Time %m/%d/%y  %H:%M:%S", &time);
    return std::string(text, n);
}

}  // namespace pelor::decode
