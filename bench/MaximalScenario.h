#pragma once

#include <memory>

#include "model/Scenario.h"

namespace finplan::bench {

// The largest scenario the planner allows: 50 accounts of every type with dividends, the widest
// age range, and 149 events.
std::unique_ptr<Scenario> maximalScenario();

} // namespace finplan::bench
