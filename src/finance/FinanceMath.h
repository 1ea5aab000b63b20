#pragma once

// Money maths shared by the run, the editors and the calculators. Everything is single
// precision on purpose: the planner's figures carry float rounding, and the calculators must
// agree with the run to the cent.

namespace finplan {

// x raised to the whole power n by n - 1 successive multiplications (x itself for n <= 1).
float realPower(float x, int n);

// The level monthly payment of a loan of `principal` at `monthlyRate` over `months` months
// (fewer than one month count as one; a rate of 0 repays the principal in equal parts).
float annuityPayment(float principal, float monthlyRate, int months);

// One instalment of a level-payment loan: the interest on `balance` and the principal repaid.
struct LoanMonth {
    float interest = 0;
    float principal = 0;
};
LoanMonth amortizeMonth(float balance, float monthlyRate, float payment, float extra);

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

// A credit card's interest for one month: 30 days at the daily rate of `ratePercent`.
float creditCardInterest(float balance, float ratePercent);

// How long a credit card takes to pay off with `payment` a month while `purchases` are added
// each month; a debt whose payment never beats its interest stops after 100 years.
struct CardPayoff {
    int months = 0;
    float years = 0;
    float interest = 0;
};
CardPayoff creditCardPayoff(float balance, float ratePercent, float payment, float purchases);

// `base` grown by `inflationPercent` for `years` whole years, one factor a year.
float grownByInflation(float base, float inflationPercent, int years);

} // namespace finplan
