#include "forms/AssetAllocationForm.h"

#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

AssetAllocationForm assetAllocationForm(const Scenario& s) {
    AssetAllocationForm form;
    form.proportional = s.accountTable.assetAllocationMode == 1;
    form.equal = s.accountTable.assetAllocationMode == 2;
    form.startAge = formatText("%-3.1f", s.accountTable.assetAllocationStartAge);
    form.amount = formatText("%-12.2f", s.accountTable.assetAllocationMinimum);
    return form;
}

Status acceptAssetAllocation(const AssetAllocationForm& form, Scenario& s, int index) {
    if (index < 0 || index >= kEventSlots)
        return {};
    float startAge = 0;
    float settingAge = 0;
    float minimum = 0;
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "START AGE ERROR", "startAge",
                [&](float v) { startAge = v; });
    // The setting reads the same text again, a little longer.
    checks.then([&] {
        const NumberTextCheck age = checkNumberText(std::string_view(form.startAge).substr(0, 12),
                                                    true, 0, 120, 3, "AGE ERROR", "startAge");
        if (age.status.ok())
            settingAge = cutToYears(*age.value);
        return age.status;
    });
    checks.then([&] {
        const NumberTextCheck amount =
            checkNumberText(std::string_view(form.amount).substr(0, 12), true, -1e8f, 1e8f, 2,
                            "AMOUNT ERROR", "amount");
        if (amount.status.ok())
            minimum = *amount.value;
        return amount.status;
    });
    if (!checks.failure().ok())
        return checks.failure();

    const int mode = form.proportional ? 1 : form.equal ? 2 : 0;
    s.accountTable.assetAllocationMode = static_cast<std::int16_t>(mode);
    s.accountTable.assetAllocationStartAge = settingAge;
    s.accountTable.assetAllocationMinimum = minimum;
    if (mode == 0) {
        // Off: the list shows no option, and a new slot stays empty.
        removeAssetAllocationEvents(s);
        if (FinancialEvent* scratch = scratchSlot(s))
            resetEventSlot(*scratch);
        return {};
    }
    FinancialEvent& e = s.events[index];
    e.name.assign("Asset allocation withdrawal option in effect.");
    e.startAge = cutToYears(startAge);
    e.endAge = 120;
    e.kind = kAssetAllocation;
    AssetAllocationView{e}.setMinimumWithdrawal(minimum);
    return {};
}

} // namespace finplan
