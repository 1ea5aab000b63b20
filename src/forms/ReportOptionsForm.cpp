#include "forms/ReportOptionsForm.h"

#include <cstring>

#include "model/Scenario.h"

namespace finplan {

namespace {

FixedText<60>& titleField(ReportTitles& titles, int n) {
    return n == 0 ? titles.title1 : n == 1 ? titles.title2 : titles.title3;
}

std::int16_t& titleFlag(ReportTitles& titles, int n) {
    return n == 0 ? titles.useTitle1 : n == 1 ? titles.useTitle2 : titles.useTitle3;
}

} // namespace

ReportOptionsForm ReportOptionsForm::fromScenario(const Scenario& scenario) {
    ReportOptionsForm form;
    ReportTitles titles = scenario.reportTitles;
    for (int n = 0; n < 3; ++n) {
        form.title[n] = titleField(titles, n).str();
        form.useTitle[n] = titleFlag(titles, n) != 0;
    }
    form.banding = scenario.preferences.reportBanding != 0;
    form.boxes = scenario.preferences.reportBoxes != 0;
    form.columns = scenario.preferences.reportColumns != 0;
    form.printerFont = scenario.fonts[0];
    return form;
}

bool ReportOptionsForm::store(Scenario& scenario) const {
    ReportTitles titles = scenario.reportTitles;
    for (int n = 0; n < 3; ++n) {
        titleField(titles, n).assign(std::string_view(title[n]).substr(0, kTitleLength));
        titleFlag(titles, n) = useTitle[n] ? 1 : 0;
    }
    Preferences preferences = scenario.preferences;
    preferences.reportBanding = banding ? 1 : 0;
    preferences.reportBoxes = boxes ? 1 : 0;
    preferences.reportColumns = columns ? 1 : 0;
    const bool changed =
        std::memcmp(&titles, &scenario.reportTitles, sizeof titles) != 0 ||
        std::memcmp(&preferences, &scenario.preferences, sizeof preferences) != 0 ||
        std::memcmp(&printerFont, &scenario.fonts[0], sizeof printerFont) != 0;
    scenario.reportTitles = titles;
    scenario.preferences = preferences;
    scenario.fonts[0] = printerFont;
    return changed;
}

} // namespace finplan
