#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/RunOptions.h"
#include "model/Scenario.h"

namespace finplan::property {

// How often each editor's OK was pressed and refused while a scenario was made, and one
// refusal's message of each, so that a generator drawing texts the editors refuse shows.
struct EditorTally {
    static constexpr int kKinds = 18;
    static const std::array<const char*, kKinds> kNames;
    std::array<long, kKinds> pressed{};
    std::array<long, kKinds> refused{};
    std::array<std::string, kKinds> example;
    EditorTally& operator+=(const EditorTally& other);
};

// A random but valid scenario, made through the editors' forms as a user makes one: texts typed
// into their fields and committed with OK on a copy, as the window does (a refused OK leaves
// nothing). Accounts of every type are added and now and then deleted or re-indexed, with
// groups, budgets, every event kind, required distributions with their life tables and the
// asset allocation. Values are mostly everyday ones and now and then an end of their range.
// The same seed gives the same scenario and run. With `editorsRanges` the values take the
// editors' whole ranges, some of which overflow single precision over a long run
// (RandomScenario.cpp says which).
struct RandomCase {
    std::unique_ptr<Scenario> scenario;
    RandomMode randomMode = RandomMode::Off;
    bool listLines = false; // a detailed list run rather than a quiet one
    EditorTally tally;
};

RandomCase randomScenario(std::uint32_t seed, bool editorsRanges = false);

// The first event that its editor, opened on it and closed with OK unchanged, refuses or
// changes, and how; empty when none does.
std::string changedByOk(const Scenario& s);

} // namespace finplan::property
