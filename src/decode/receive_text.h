#pragma once
// Helpers shared by the decoders that consume ReceiveText.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace pelor::decode {

// ReceiveText = text[start..]. `text` may be a view of `receive` itself.
inline void KeepTail(std::string& receive, std::string_view text, std::size_t start) {
    if (start > text.size()) start = text.size();
    if (text.data() == receive.data() && text.size() == receive.size()) {
        receive.erase(0, start);
    } else {
        receive.assign(text.substr(start));
    }
}

// "  System Time %m/%d/%y  %H:%M:%S" for a broken-down time.
std::string SystemTimeCaption(const std::tm& time);

}  // namespace pelor::decode
