#include "finance/FinanceMath.h"

#include <gtest/gtest.h>
#include <limits>

namespace finplan {
namespace {

TEST(RealPower, MultipliesInSinglePrecision) {
    EXPECT_EQ(realPower(2, 10), 1024);
    EXPECT_EQ(realPower(3, 1), 3);
    EXPECT_EQ(realPower(3, 0), 3); // no power below one
    float repeated = 1.005f;
    for (int k = 1; k < 360; ++k)
        repeated *= 1.005f;
    EXPECT_EQ(realPower(1.005f, 360), repeated);
}

TEST(AnnuityPayment, MatchesPublishedFigures) {
    struct Case {
        float principal, monthlyRate;
        int months;
        double payment;
    };
    for (const Case& c :
         {Case{100000, 0.06f / 12, 360, 599.55}, Case{200000, 0.06f / 12, 360, 1199.10},
          Case{300000, 0.05f / 12, 360, 1610.46}, Case{160000, 0.005f, 360, 959.28},
          Case{1200, 0, 12, 100},      // no interest
          Case{1000, 0.01f, 0, 1010}}) // no term: one month
        EXPECT_NEAR(annuityPayment(c.principal, c.monthlyRate, c.months), c.payment, 0.005)
            << c.principal << " over " << c.months;
}

TEST(AmortizeYear, TheFirstYearOfAThirtyYearLoan) {
    const AmortizedYear first = amortizeYear(100000, 0.005f, 360, 0, 11, 0, 0);
    EXPECT_NEAR(first.principal, 1228.01, 0.05);
    EXPECT_NEAR(first.interest, 5966.59, 0.05);
    EXPECT_EQ(first.months, 12);
    const AmortizedYear eleventh = amortizeYear(100000, 0.005f, 360, 120, 131, 0, 0);
    EXPECT_GT(eleventh.principal, first.principal);
    EXPECT_EQ(eleventh.months, 12);
}

TEST(AmortizeYear, TheWholeTermRepaysThePrincipal) {
    float repaid = 0, interest = 0;
    for (int m0 = 0; m0 < 360; m0 += 12) {
        const AmortizedYear year = amortizeYear(200000, 0.005f, 360, m0, m0 + 11, 0, 0);
        repaid += year.principal;
        interest += year.interest;
    }
    EXPECT_NEAR(repaid, 200000, 5);
    EXPECT_NEAR(interest, 231676.38, 50); // 360 x 1,199.10 - 200,000
}

TEST(AmortizeYear, ExtraPrincipalEndsTheLoanEarlyWithItsRemainingBalance) {
    float repaid = 0;
    int years = 0;
    for (int m0 = 0; repaid < 9999.9f && years < 10; m0 += 12, ++years)
        repaid += amortizeYear(10000, 0.005f, 60, m0, m0 + 11, 500, 0).principal;
    EXPECT_NEAR(repaid, 10000, 0.05);
    EXPECT_EQ(years, 2); // 693.31 a month, 500.00 extra: done in the second year
    const AmortizedYear after = amortizeYear(10000, 0.005f, 60, 36, 47, 500, 0);
    EXPECT_EQ(after.principal, 0);
}

TEST(AmortizeYear, ResumingFromLastYearGivesWhatAReplayGives) {
    struct Terms {
        float principal, rate;
        int months;
        float extra;
        int extraFrom;
    };
    for (const Terms& t : {Terms{100000, 0.005f, 360, 0, 0}, Terms{240000, 0.0054f, 360, 150, 24},
                           Terms{10000, 0.01f, 60, 400, 0}, Terms{5000, 0, 24, 0, 0}}) {
        AmortizationCursor cursor;
        for (int m0 = 0; m0 < t.months + 24; m0 += 12) {
            const AmortizedYear replay =
                amortizeYear(t.principal, t.rate, t.months, m0, m0 + 11, t.extra, t.extraFrom);
            const AmortizedYear resumed = amortizeYear(t.principal, t.rate, t.months, m0, m0 + 11,
                                                       t.extra, t.extraFrom, &cursor);
            ASSERT_EQ(resumed.principal, replay.principal) << t.principal << " month " << m0;
            ASSERT_EQ(resumed.interest, replay.interest) << t.principal << " month " << m0;
            ASSERT_EQ(resumed.months, replay.months) << t.principal << " month " << m0;
        }
    }
}

TEST(CreditCardPayoff, CountsMonthsAndInterest) {
    // 1,000 at 18%: 14.79 of interest in the first month; 100 a month leaves 186.15 after nine
    // months, which is no longer twice the payment, so the tenth month clears it.
    EXPECT_NEAR(creditCardInterest(1000, 18), 14.79, 0.005);
    const CardPayoff plain = creditCardPayoff(1000, 18, 100, 0);
    EXPECT_EQ(plain.months, 10);
    EXPECT_NEAR(plain.interest, 88.92, 0.01);
    // Purchases that outrun the payment never end: the count stops at 100 years.
    const CardPayoff endless = creditCardPayoff(1000, 18, 100, 150);
    EXPECT_EQ(endless.months, 1200);
    EXPECT_EQ(endless.years, 100);
    // The editors' largest debt at their highest rate, unpaid, outgrows single precision: the
    // interest stays a number a file can hold.
    const CardPayoff runaway = creditCardPayoff(1e8f, 1000, 0, 1e8f);
    EXPECT_EQ(runaway.months, 1200);
    EXPECT_EQ(runaway.interest, std::numeric_limits<float>::max());
}

TEST(GrownByInflation, OneFactorAYear) {
    EXPECT_EQ(grownByInflation(1000, 3, 0), 1000);
    EXPECT_NEAR(grownByInflation(1000, 3, 2), 1060.90, 0.005);
}

} // namespace
} // namespace finplan
