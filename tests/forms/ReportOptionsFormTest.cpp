#include "forms/ReportOptionsForm.h"

#include <gtest/gtest.h>

#include "model/Scenario.h"

namespace finplan {
namespace {

TEST(ReportOptionsForm, StoresAndSaysWhetherAnythingChanged) {
    Scenario scenario{};
    ReportOptionsForm form = ReportOptionsForm::fromScenario(scenario);
    EXPECT_FALSE(form.store(scenario)); // OK without a change

    form.title[0] = std::string(50, 'x');
    form.useTitle[0] = true;
    form.boxes = true;
    EXPECT_TRUE(form.store(scenario));
    // The field accepts 39 characters.
    EXPECT_EQ(scenario.reportTitles.title1.str(), std::string(39, 'x'));
    EXPECT_EQ(scenario.reportTitles.useTitle1, 1);
    EXPECT_EQ(scenario.preferences.reportBoxes, 1);
    EXPECT_EQ(scenario.preferences.reportBanding, 0);

    const ReportOptionsForm again = ReportOptionsForm::fromScenario(scenario);
    EXPECT_TRUE(again.useTitle[0] && again.boxes && !again.columns);
    EXPECT_FALSE(again.store(scenario));
}

} // namespace
} // namespace finplan
