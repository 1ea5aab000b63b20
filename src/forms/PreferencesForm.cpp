#include "forms/PreferencesForm.h"

#include <cstring>

#include "model/Scenario.h"

namespace finplan {

PreferencesForm PreferencesForm::from(const Scenario& s, const Preferences& window) {
    PreferencesForm form;
    form.screenBanding = window.screenBanding != 0;
    form.hideMakerFolder = window.hideMakerFolder != 0;
    form.defaultFonts = s.preferences.defaultFonts != 0;
    form.resultsFont = s.fonts[1];
    form.listsFont = s.fonts[2];
    return form;
}

bool PreferencesForm::store(Scenario& s) const {
    Preferences p = s.preferences;
    storeFlags(p);
    p.defaultFonts = p.defaultFonts2 = defaultFonts ? 1 : 0;
    const bool changed = std::memcmp(&p, &s.preferences, sizeof p) != 0 ||
                         std::memcmp(&resultsFont, &s.fonts[1], sizeof resultsFont) != 0 ||
                         std::memcmp(&listsFont, &s.fonts[2], sizeof listsFont) != 0;
    s.preferences = p;
    s.fonts[1] = resultsFont;
    s.fonts[2] = listsFont;
    return changed;
}

void PreferencesForm::storeFlags(Preferences& window) const {
    window.screenBanding = screenBanding ? 1 : 0;
    window.hideMakerFolder = hideMakerFolder ? 1 : 0;
}

} // namespace finplan
