#pragma once

#include "model/Records.h"

namespace finplan {

struct Scenario;

// "Preferences": the display flags and the two list fonts. The flags live in the preferences
// record the scenario carries (the window keeps its own copy of the banding and folder flags
// for the next session); the fonts are the scenario's.
struct PreferencesForm {
    bool screenBanding = false; // "Use color banding on accounts and schedules"
    bool hideMakerFolder = false;
    bool defaultFonts = false;
    FontRecord resultsFont{}; // "Select Results Value Fonts"
    FontRecord listsFont{};   // "Select Scenario/Results Folder Fonts"

    // The flags of `window` (the window's preferences record) and the fonts of `s`.
    static PreferencesForm from(const Scenario& s, const Preferences& window);
    // Stores the form in `s`; false when that changes nothing.
    bool store(Scenario& s) const;
    // The window's own copy of the flags.
    void storeFlags(Preferences& window) const;
};

} // namespace finplan
