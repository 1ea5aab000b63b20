#pragma once

#include <string>

#include "model/Records.h"

namespace finplan {

struct Scenario;

// The "Reports Options" window's form: the three alternative titles of printed sheets with
// their flags, the banding, boxing and column-line options and the printer font. The titles
// and the font are kept with the scenario, the three options in its preferences record.
struct ReportOptionsForm {
    // The title fields accept this many characters.
    static constexpr std::size_t kTitleLength = 39;

    std::string title[3];
    bool useTitle[3] = {false, false, false};
    bool banding = false; // "Use color banding on reports"
    bool boxes = false;   // "Use rectangle boxing on reports"
    bool columns = false; // "Use columns on reports"
    FontRecord printerFont{};

    static ReportOptionsForm fromScenario(const Scenario& scenario);
    // Stores the form in `scenario`; false when that changes nothing, so that OK without a
    // change leaves no undo step.
    bool store(Scenario& scenario) const;
};

} // namespace finplan
