#pragma once
// Scaling of the unit's screen positions to window pixels.
#include <cstdint>

namespace pelor::core {

// `value` times a factor given in exact thousandths (2.3 is 2300), truncated toward zero.
// Integer arithmetic: a factor such as 2.3 has no exact binary fraction, and 100 * 2.3 in
// doubles truncates to 229.
constexpr int ScaleByThousandths(int value, int thousandths) {
    return static_cast<int>(static_cast<std::int64_t>(value) * thousandths / 1000);
}

}  // namespace pelor::core
