#pragma once

#include <optional>
#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// The Rule 72T transfer editor: a yearly distribution from a retirement account, computed from
// a life table, that bears no early-withdrawal penalty.
struct Rule72TForm {
    std::string name;
    std::string startAge;
    std::string endAge;
    std::string adjustRate; // the beneficiary's age at the start
    std::string interestRate;
    int method = 0;    // 0 annuitization, 1 amortization, 2 minimum distribution
    int lifeTable = 0; // 0 single life, 1 uniform lifetime, 2 joint life
    int source = -1;   // "beforeTax": the account the distribution comes from
    int target = -1;   // "account": the account it goes to
};

Rule72TForm rule72TForm(const FinancialEvent& e);

// The checks of OK and Calculate in order; the event as stored but for its amount. A short
// distribution is allowed with a warning: it is not spared the penalty.
struct Rule72TAccepted {
    FinancialEvent event;
    std::optional<Message> warning;
};
Result<Rule72TAccepted> acceptRule72T(const Rule72TForm& form, FinancialEvent e, const Scenario& s);

// The checks made before an option change is computed: ages and rate the life table can use.
Status checkRule72TOptions(const Rule72TForm& form);
// The event as typed, without checks, for a preview while the user edits.
FinancialEvent rule72TAsTyped(const Rule72TForm& form, FinancialEvent e);

// What the distribution comes to: the source's balance when the distribution starts, from a
// quiet run of `s` with `plan` at `index` (a new plan at the scratch slot counts as added), and
// the first year's distribution as the run computes it from the life tables in `dataDir`.
struct Rule72TPreview {
    float balance = 0;
    float distribution = 0;
    std::string problem; // why the distribution is 0, when the life tables say so
};
Rule72TPreview previewRule72T(const Scenario& s, int index, const FinancialEvent& plan,
                              const std::string& dataDir);
std::string rule72TBalanceText(const Rule72TPreview& p);      // "%-13.2f"
std::string rule72TDistributionText(const Rule72TPreview& p); // "%-12.0f"

} // namespace finplan
