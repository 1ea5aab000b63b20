#include "finance/FinanceMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace finplan {

float realPower(float x, int n) {
    float power = x;
    for (int k = 1; k < n; ++k)
        power *= x;
    return power;
}

float annuityPayment(float principal, float monthlyRate, int months) {
    if (months <= 0)
        months = 1;
    if (monthlyRate == 0)
        return principal / static_cast<float>(months);
    return principal * monthlyRate / (1 - 1 / realPower(1 + monthlyRate, months));
}

LoanMonth amortizeMonth(float balance, float monthlyRate, float payment, float extra) {
    const float interest = balance * monthlyRate;
    return {interest, payment - interest + extra};
}

AmortizedYear amortizeYear(float principal, float monthlyRate, int termMonths, int firstMonth,
                           int lastMonth, float extra, int extraFrom, AmortizationCursor* cursor) {
    AmortizedYear year;
    const bool resume = cursor && cursor->valid && cursor->principal == principal &&
                        cursor->monthlyRate == monthlyRate && cursor->termMonths == termMonths &&
                        cursor->extra == extra && cursor->extraFrom == extraFrom &&
                        cursor->month == firstMonth;
    if (resume && cursor->ended)
        return year; // the loan ended in an earlier year
    const float payment =
        resume ? cursor->payment : annuityPayment(principal, monthlyRate, termMonths);
    float balance = resume ? cursor->balance : principal;
    int k = resume ? cursor->month : 0;
    auto finish = [&](bool ended) {
        if (cursor)
            *cursor = {true,      principal, monthlyRate,   extra,   termMonths,
                       extraFrom, payment,   lastMonth + 1, balance, ended};
        return year;
    };
    for (; k <= lastMonth; ++k) {
        const LoanMonth month =
            amortizeMonth(balance, monthlyRate, payment, k >= extraFrom ? extra : 0);
        if (k >= firstMonth) {
            year.interest += month.interest;
            ++year.months;
            if (balance < month.principal) {
                year.principal += balance;
                return finish(true);
            }
            year.principal += month.principal;
        }
        balance -= month.principal;
        if (balance <= 0) {
            year.principal = std::max(0.0f, year.principal + balance);
            return finish(true);
        }
    }
    return finish(false);
}

float creditCardInterest(float balance, float ratePercent) {
    return balance * ratePercent * (1.0f / 365.0f) * 30 * 0.01f;
}

CardPayoff creditCardPayoff(float balance, float ratePercent, float payment, float purchases) {
    CardPayoff result;
    constexpr int kMostMonths = 100 * 12;
    while (balance > 0 && result.months < kMostMonths) {
        balance += purchases;
        if (balance - payment > payment) {
            const float interest = creditCardInterest(balance, ratePercent);
            balance -= payment - interest;
            result.interest += interest;
            if (balance <= 0)
                break; // paid off: this month is not counted
        } else {
            result.interest += creditCardInterest(balance, ratePercent);
            balance = 0;
        }
        ++result.months;
        // A debt that grows past single precision is never paid: the most a float holds stands
        // for its interest, which would otherwise be infinite and no number a file can keep.
        if (!std::isfinite(balance) || !std::isfinite(result.interest)) {
            result.months = kMostMonths;
            result.interest = std::numeric_limits<float>::max();
            break;
        }
    }
    result.years = static_cast<float>(result.months) / 12;
    return result;
}

float grownByInflation(float base, float inflationPercent, int years) {
    const float factor = 1 + inflationPercent * 0.01f;
    for (int k = 0; k < years; ++k)
        base *= factor;
    return base;
}

} // namespace finplan
