#include "core/same_file.h"

#include <filesystem>
#include <system_error>

namespace pelor::core {

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    ec.clear();
    const auto na = std::filesystem::weakly_canonical(a, ec);
    if (ec) return false;
    const auto nb = std::filesystem::weakly_canonical(b, ec);
    return !ec && na == nb;
}

}  // namespace pelor::core
