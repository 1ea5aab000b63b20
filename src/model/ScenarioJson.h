#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "model/Message.h"
#include "model/Scenario.h"

namespace finplan {

// The scenario as JSON text, for users who keep scenarios as text and for test fixtures.
// Field names are the record field names; reserved stretches are left out. Texts are stored
// in the file as Latin-1 and appear here as UTF-8.
nlohmann::json scenarioToJson(const Scenario& s);

// A text of the scenario file (Latin-1) as UTF-8, the only encoding JSON takes.
std::string latin1ToUtf8(std::string_view text);

// Reads a JSON document. Any fault of the text, a number too large for a double among them,
// fails with a message naming the place where the reading stopped ("events[2].amount: ...").
Result<nlohmann::json> parseScenarioJson(std::istream& in);

// Builds a scenario from JSON over the defaults of a new scenario: keys that are missing keep
// those defaults. Fails, naming the place, for a value of the wrong type, a number that does
// not fit its field, an unknown key, or more entries than a table holds.
Status scenarioFromJson(const nlohmann::json& j, Scenario& s);

} // namespace finplan
