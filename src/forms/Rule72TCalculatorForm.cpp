#include "forms/Rule72TCalculatorForm.h"

#include "forms/Rule72TForm.h"
#include "model/TextNumbers.h"

namespace finplan {

Result<Rule72TAmounts> calculateRule72T(const Rule72TCalculatorForm& form,
                                        const LifeTableData& tables) {
    const float balance = static_cast<float>(leadingNumber(form.balance));
    if (!(balance > 0))
        return Message{"The balance must be greater than 0.", "Balance Error", MessageKind::Error,
                       0, "balance"};
    // The editor's checks, on a plan that starts and ends at the age.
    Rule72TForm plan;
    plan.startAge = form.age;
    plan.endAge = form.age;
    plan.adjustRate = form.secondAge;
    plan.interestRate = form.rate;
    plan.lifeTable = form.lifeTable;
    if (Status checked = checkRule72TOptions(plan); !checked) {
        Message m = checked.message();
        m.field = m.field == "startAge" || m.field == "endAge" ? "age"
                  : m.field == "adjustRate"                    ? "secondAge"
                  : m.field == "interestRate"                  ? "rate"
                                                               : m.field;
        return m;
    }
    Rule72TAmounts amounts =
        rule72tDistribution(tables, static_cast<float>(leadingNumber(form.age)),
                            static_cast<float>(leadingNumber(form.secondAge)), balance,
                            static_cast<float>(leadingNumber(form.rate)), form.lifeTable);
    if (!amounts.problem.empty())
        return Message{"The distributions cannot be calculated: " + amounts.problem + ".",
                       "Rule 72T", MessageKind::Error};
    return amounts;
}

} // namespace finplan
