#include "ExampleScenario.h"

#include <fstream>
#include <stdexcept>

#include "model/ScenarioJson.h"

namespace finplan::bench {

std::unique_ptr<Scenario> exampleScenario() {
    std::ifstream in(FINPLAN_EXAMPLES_DIR "/household.json");
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const Result<nlohmann::json> parsed = parseScenarioJson(in);
    if (!parsed || !scenarioFromJson(*parsed, *s))
        throw std::runtime_error(FINPLAN_EXAMPLES_DIR "/household.json cannot be read");
    sortEvents(*s);
    return s;
}

} // namespace finplan::bench
