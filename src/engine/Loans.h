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

// One year of a loan, months `firstMonth` to `lastMonth` counted from the loan's first month,
// replayed from month 0: extra principal `extra` is paid from month `extraFrom` on.
AmortizedYear amortizeYear(float principal, float monthlyRate, int termMonths, int firstMonth,
                           int lastMonth, float extra, int extraFrom);

} // namespace finplan
