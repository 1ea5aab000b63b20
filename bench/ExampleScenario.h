#pragma once

#include <memory>

#include "model/Scenario.h"

namespace finplan::bench {

// The bundled example, its events in their listed order as the window and the command line run
// them.
std::unique_ptr<Scenario> exampleScenario();

} // namespace finplan::bench
