#pragma once

namespace finplan {

// The whole years of an age, safe for any value a damaged file may hold.
inline int wholeYears(float age) {
    if (!(age > -1000.0f && age < 1000.0f))
        return age > 0 ? 1000 : -1000;
    return static_cast<int>(age);
}

// An age from a damaged file must not drive a run outside its tables: 0..120.
inline float saneAge(float age) {
    return age >= 0.0f ? (age <= 120.0f ? age : 120.0f) : 0.0f;
}

} // namespace finplan
