#pragma once

#include <cstdint>
#include <memory>

#include "engine/RunOptions.h"
#include "model/Scenario.h"

namespace finplan::property {

// A random but valid scenario, made the way the editors make one: accounts of every type added
// and now and then deleted or re-indexed, groups, budgets (active ones with their withdrawal
// event), every event kind with values inside its editor's ranges, required distributions with
// their life tables, and the asset allocation. Values are mostly everyday ones and now and then
// an end of their range. The same seed gives the same scenario and run. With `editorsRanges`
// the values take the editors' whole ranges, some of which overflow single precision over a
// long run (RandomScenario.cpp says which).
struct RandomCase {
    std::unique_ptr<Scenario> scenario;
    RandomMode randomMode = RandomMode::Off;
    bool listLines = false; // a detailed list run rather than a quiet one
};

RandomCase randomScenario(std::uint32_t seed, bool editorsRanges = false);

} // namespace finplan::property
