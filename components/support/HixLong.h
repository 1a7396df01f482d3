// A whole value that remembers whether it was ever entered; unset is the smallest 32-bit
// whole number.
#pragma once

#include "components/support/HixValue.h"

#include <cstdint>

struct HixLongUnset {
    static constexpr long value = INT32_MIN;
};
using HixLong = HixValue<long, HixLongUnset>;
