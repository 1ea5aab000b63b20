#include "forms/Rule72TForm.h"

#include <cmath>
#include <limits>
#include <memory>

#include "engine/LifeTables.h"
#include "engine/Rule72T.h"
#include "engine/Simulation.h"
#include "forms/AccountChoices.h"
#include "forms/EventForm.h"
#include "model/EventViews.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

// The tag of a Rule 72T transfer's source in `termYears`.
constexpr std::int16_t kRule72TSourceTag = 72;

float typed(const std::string& text) {
    return static_cast<float>(leadingNumber(text));
}

Status ageError(const char* text, const char* field) {
    return Message{text, "Age Error", MessageKind::Error, 0, field};
}

void storeChoices(const Rule72TForm& form, FinancialEvent& e) {
    const Rule72TView plan{e};
    plan.setMethod(form.method);
    plan.setLifeTable(form.lifeTable);
    plan.setSource(static_cast<std::int16_t>(form.source));
    e.termYears = form.source >= 0 ? kRule72TSourceTag : 0;
    plan.setTarget(static_cast<std::int16_t>(form.target));
    e.kind = kTransfer;
    e.subtype = kRule72TSubtype;
}

class QuietNotifier : public Notifier {
  public:
    void notify(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

} // namespace

Rule72TForm rule72TForm(const FinancialEvent& e) {
    const Rule72TView plan{e};
    Rule72TForm form;
    form.name = std::string(e.name.view());
    form.startAge = formatText("%-6.2f", e.startAge);
    form.endAge = formatText("%-6.2f", e.endAge);
    form.adjustRate = formatText("%-6.2f", plan.secondAge());
    form.interestRate = formatText("%-7.3f", plan.ratePercent());
    form.method = plan.method() >= 0 && plan.method() <= 2 ? plan.method() : 0;
    form.lifeTable = plan.lifeTable() >= 0 && plan.lifeTable() <= 2 ? plan.lifeTable() : 0;
    form.source = plan.source();
    form.target = plan.target();
    return form;
}

Result<Rule72TAccepted> acceptRule72T(const Rule72TForm& form, FinancialEvent e,
                                      const Scenario& s) {
    storeDescription(e, form.name);
    std::optional<Message> warning;
    CheckSequence checks;
    checks.real(form.startAge, kFieldChars, 1, 120, 7, "AGE ERROR", "startAge",
                [&](float v) { e.startAge = cutToYears(v); });
    checks.real(form.endAge, kFieldChars, 1, 120, 7, "END AGE ERROR", "endAge",
                [&](float v) { e.endAge = cutToYears(v); });
    checks.then([&] {
        if (e.endAge - e.startAge < 5 || e.endAge < 60)
            warning = Message{"To avoid a penalty, the End Age should be 5 years greater than the "
                              "Start Age or 60.\nWhichever is longer.",
                              "Penalty Warning", MessageKind::Warning, 0, "endAge"};
        return Status();
    });
    checks.real(form.adjustRate, kFieldChars, 1, 120, 7, "BENEFICIARY AGE ERROR", "adjustRate",
                [&](float v) { e.adjustRate = cutToYears(v); });
    checks.real(form.interestRate, kFieldChars, -20, 20, 8, "APPLY RATE ERROR", "interestRate",
                [&](float v) { e.interestRate = v; });
    checks.then([&] { return checkPayingAccount(s, form.source, "beforeTax"); });
    if (!checks.failure().ok())
        return checks.failure();
    storeChoices(form, e);
    return Rule72TAccepted{e, warning};
}

Status checkRule72TOptions(const Rule72TForm& form) {
    const float start = typed(form.startAge);
    const float end = typed(form.endAge);
    const float second = typed(form.adjustRate);
    const float rate = typed(form.interestRate);
    const char* low = "Ages cannot be less than 10 when using the Uniform Life Table.";
    if (form.lifeTable == 1 && start < 10)
        return ageError(low, "startAge");
    if (form.lifeTable == 1 && second < 10)
        return ageError(low, "adjustRate");
    if (start > 115)
        return ageError("Ages cannot be more than 115.", "startAge");
    if (second > 115)
        return ageError("Ages cannot be more than 115.", "adjustRate");
    if (!(rate > 0 && rate <= 100))
        return Message{"Rates must be between 0.0% and 100.0%", "Rate Error", MessageKind::Error, 0,
                       "interestRate"};
    if (!(start > 0))
        return ageError("Ages must be greater than 0.0", "startAge");
    if (!(second > 0))
        return ageError("Ages must be greater than 0.0", "adjustRate");
    if (start > end)
        return ageError("The End Age must be greater than the Age.", "endAge");
    return {};
}

FinancialEvent rule72TAsTyped(const Rule72TForm& form, FinancialEvent e) {
    storeDescription(e, form.name);
    e.startAge = cutToYears(typed(form.startAge));
    e.endAge = cutToYears(typed(form.endAge));
    e.adjustRate = cutToYears(typed(form.adjustRate));
    e.interestRate = typed(form.interestRate);
    storeChoices(form, e);
    return e;
}

Rule72TPreview previewRule72T(const Scenario& s, int index, const FinancialEvent& plan,
                              const std::string& dataDir) {
    Rule72TPreview preview;
    if (index < 0 || index >= kEventSlots)
        return preview;
    auto copy = std::make_unique<Scenario>(s);
    FinancialEvent& e = copy->events[index];
    e = plan;
    // The run records the source's balance here in the plan's first year; a plan that never
    // starts leaves the mark.
    Rule72TView{e}.setStartBalance(std::numeric_limits<float>::quiet_NaN());
    if (index == copy->eventCount)
        ++copy->eventCount;
    RunOptions options = RunOptions::quiet();
    options.dataDir = dataDir;
    auto state = std::make_unique<RunState>();
    QuietNotifier quiet;
    if (!runSimulation(*copy, options, *state, quiet).ok())
        return preview;
    const float balance = Rule72TView{state->scenario.events[index]}.startBalance();
    if (std::isnan(balance))
        return preview;
    preview.balance = balance;
    // As the run computes the first year: the minimum distribution with the beneficiary's age,
    // the other methods once with the fixed second age the run uses.
    const Rule72TView typed{plan};
    const float second = typed.method() == 2 ? cutToYears(typed.secondAge()) : 62.0f;
    LifeTableFiles files(dataDir);
    const Rule72TAmounts amounts = rule72tDistribution(files.data(), plan.startAge, second, balance,
                                                       typed.ratePercent(), typed.lifeTable());
    preview.distribution = amounts.byMethod(typed.method());
    preview.problem = amounts.problem;
    return preview;
}

std::string rule72TBalanceText(const Rule72TPreview& p) {
    return formatText("%-13.2f", p.balance);
}

std::string rule72TDistributionText(const Rule72TPreview& p) {
    return formatText("%-12.0f", p.distribution);
}

} // namespace finplan
