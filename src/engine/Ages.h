#pragma once

#include "model/TextNumbers.h"

namespace finplan {

// No run reaches beyond this age; an age a file gives above it is damage.
inline constexpr int kOldestAge = 120;

// The whole years of an age, safe for any value a damaged file may hold.
inline int wholeYears(float age) {
    return wholeNumber(age, -1000, 1000, -1000);
}

// An age from a damaged file must not drive a run outside its tables: 0..120.
inline float saneAge(float age) {
    return age >= 0.0f ? (age <= 120.0f ? age : 120.0f) : 0.0f;
}

} // namespace finplan
