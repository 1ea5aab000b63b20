#pragma once

namespace finplan {

// The part of a year elapsed since the last birthday on the given day, in 0 .. 364/365.
// Months have their common-year lengths.
float yearFractionSinceBirthday(int birthMonth, int birthDay, int month, int day);

} // namespace finplan
