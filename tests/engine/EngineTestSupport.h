#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/Simulation.h"
#include "model/ScenarioJson.h"

namespace finplan::test {

// A scenario from JSON over the defaults of a new scenario.
inline std::unique_ptr<Scenario> scenarioFrom(const std::string& json) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_TRUE(scenarioFromJson(nlohmann::json::parse(json), *s).ok());
    return s;
}

class CollectingNotifier : public Notifier {
  public:
    void notify(const Message& m) override { messages.push_back(m); }
    bool confirm(const Message&) override { return false; }
    std::vector<Message> messages;
};

// A scenario, the state of its runs, and the options they use: a list run without working
// files, dated 2026-12-08.
struct RunFixture {
    explicit RunFixture(const std::string& json) : scenario(scenarioFrom(json)) {
        options.workingFiles = false;
        options.now = {2026, 12, 8, 12, 0, 0};
    }
    Status run() { return runSimulation(*scenario, options, *state, notifier); }
    std::vector<std::string> lines() const { return state->log.lines(); }
    bool hasLine(const std::string& text) const {
        for (const auto& l : lines())
            if (l == text)
                return true;
        return false;
    }

    std::unique_ptr<Scenario> scenario;
    RunOptions options;
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    CollectingNotifier notifier;
};

} // namespace finplan::test
