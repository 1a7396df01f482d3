// A real value that remembers whether it was ever entered: what numeric fields and the radius
// cell hold; unset is -1e-99. Its text comes from the measure rules (HixMrm).
#pragma once

#include "components/support/HixValue.h"

struct HixRealUnset {
    static constexpr double value = -1e-99;
};
using HixReal = HixValue<double, HixRealUnset>;
static_assert(sizeof(HixReal) == sizeof(double), "the record table stores a HixReal byte for byte in radius cells");
