#pragma once

namespace finplan {

// The level monthly payment of a loan of `principal` at `monthlyRate` over `months` months
// (fewer than one month count as one; a rate of 0 repays the principal in equal parts).
float annuityPayment(float principal, float monthlyRate, int months);

struct AmortizedYear {
    float principal = 0; // repaid in the year
    float interest = 0;  // paid in the year
    int months = 0;      // instalments paid in the year
};

// Where the replay of a loan stopped last year, so that the next year can go on from there with
// the very same arithmetic instead of replaying from month 0.
struct AmortizationCursor {
    bool valid = false;
    float principal = 0, monthlyRate = 0, extra = 0;
    int termMonths = 0, extraFrom = 0;
    float payment = 0;
    int month = 0; // the next month to run
    float balance = 0;
    bool ended = false;
};

// One year of a loan, months `firstMonth` to `lastMonth` counted from the loan's first month,
// replayed from month 0: extra principal `extra` is paid from month `extraFrom` on. With a
// cursor left by the year before under the same terms, the replay resumes where it stopped.
AmortizedYear amortizeYear(float principal, float monthlyRate, int termMonths, int firstMonth,
                           int lastMonth, float extra, int extraFrom,
                           AmortizationCursor* cursor = nullptr);

} // namespace finplan
