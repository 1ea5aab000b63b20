#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

#include "TempDir.h"
#include "calculators/AcceleratedPayment.h"
#include "calculators/MortgageCalculator.h"
#include "calculators/RateCalculators.h"
#include "engine/Money.h"
#include "finance/FinanceMath.h"
#include "model/TextFormat.h"

using namespace finplan;

namespace {

// Published and hand-worked figures of level-payment mortgages.
struct PaymentCase {
    const char *amount, *down, *rate, *years;
    float payment;
};
class MortgagePayment : public ::testing::TestWithParam<PaymentCase> {};

TEST_P(MortgagePayment, MatchesTheWorkedFigure) {
    const PaymentCase& c = GetParam();
    MortgageCalculatorTexts kept;
    const Result<MortgageCalculation> r =
        calculateMortgagePayment({c.rate, c.years, c.amount, c.down, ""}, kept);
    ASSERT_TRUE(r.ok()) << r.message().text;
    EXPECT_NEAR(r->payment, c.payment, 0.005);
    EXPECT_EQ(kept.payment, formatText("%-9.2f", static_cast<double>(c.payment)));
}

INSTANTIATE_TEST_SUITE_P(Calculator, MortgagePayment,
                         ::testing::Values(PaymentCase{"200000", "0", "6", "30", 1199.10f},
                                           PaymentCase{"200000", "40000", "6", "30", 959.28f},
                                           PaymentCase{"100000", "0", "8", "30", 733.76f}));

TEST(MortgageAmortisation, ThirtyYearsAtSixPercentPayTheStandardInterest) {
    const AmortizedYear all = amortizeYear(200000, 0.06f / 12, 360, 0, 359, 0, 0);
    EXPECT_NEAR(all.principal, 200000, 1);
    EXPECT_NEAR(all.interest, 231676, 20); // 360 x 1,199.10 less the loan, in float sums
    EXPECT_EQ(all.months, 360);
}

struct RefusalCase {
    const char *rate, *years;
    const char* caption; // empty: accepted
};
class MortgageChecks : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(MortgageChecks, RefuseRatesAndYearsOutOfRange) {
    const RefusalCase& c = GetParam();
    MortgageCalculatorTexts kept;
    const Result<MortgageCalculation> r =
        calculateMortgagePayment({c.rate, c.years, "100000", "0", ""}, kept);
    if (!*c.caption) {
        EXPECT_TRUE(r.ok());
        return;
    }
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.message().caption, c.caption);
    EXPECT_EQ(r.message().kind, MessageKind::Error);
    // Refused inputs are still the ones the dialog shows next time.
    EXPECT_EQ(kept.rate, c.rate);
    EXPECT_EQ(kept.payment, "0.0");
}

INSTANTIATE_TEST_SUITE_P(Calculator, MortgageChecks,
                         ::testing::Values(RefusalCase{"0.5", "30", "RATE ERROR"},
                                           RefusalCase{"1", "30", ""},
                                           RefusalCase{"8", "0", "NO OF YEARS ERROR"},
                                           RefusalCase{"8", "101", "NO OF YEARS ERROR"},
                                           RefusalCase{"8", "100", ""}));

TEST(MortgageCalculator, RateMessageAndTextsCutToNineCharacters) {
    MortgageCalculatorTexts kept;
    const auto r = calculateMortgagePayment({"0.5", "30", "1234567890123", "0", ""}, kept);
    EXPECT_EQ(r.message().text,
              "Loan/Mortgage rates must be greater than 0.0 and less than 1000.0.");
    EXPECT_EQ(kept.amount, "123456789");
}

struct EffectiveCase {
    const char* nominal;
    Compounding compounding;
    const char* other;
    const char* shown; // or the caption of the refusal
};
class EffectiveRate : public ::testing::TestWithParam<EffectiveCase> {};

TEST_P(EffectiveRate, CompoundsTheNominalRate) {
    const EffectiveCase& c = GetParam();
    const Result<float> r = calculateEffectiveRate({c.nominal, c.compounding, c.other});
    if (r.ok())
        EXPECT_EQ(effectiveRateText(*r), c.shown);
    else
        EXPECT_EQ(r.message().caption, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Calculator, EffectiveRate,
    ::testing::Values(EffectiveCase{"12", Compounding::Monthly, "", "12.6825 "},
                      EffectiveCase{"12", Compounding::Quarterly, "", "12.5509 "},
                      EffectiveCase{"12", Compounding::None, "", "12.0000 "},
                      EffectiveCase{"12", Compounding::Other, "2", "12.3600 "},
                      EffectiveCase{"12", Compounding::Other, "0", "Period Error!"},
                      EffectiveCase{"12", Compounding::Other, "366", "Period Error!"},
                      EffectiveCase{"-200", Compounding::Monthly, "", "Rate Error!"},
                      EffectiveCase{"200", Compounding::Semiannually, "", "300.0000"}));

TEST(InflationCalculator, TenSinglePrecisionSteps) {
    InflationForm f{"30", "40", "1000", "3", ""};
    const Result<float> r = calculateInflation(f);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(compactNumber(f.inflated), "1343.92");
    // The fraction of an age does not count: 30.9 to 40.1 is still ten years.
    EXPECT_FLOAT_EQ(inflatedAmount(1000, 3, 30.9f, 40.1f), *r);
}

TEST(InflationCalculator, ChecksInOrder) {
    const struct {
        InflationForm form;
        const char* caption;
        const char* text;
    } cases[] = {
        {{"121", "40", "1000", "3", ""},
         "Start Age Error!",
         "Start age must be a value from 1 - 120."},
        {{"40", "40", "1000", "3", ""}, "End Age Error!", "End Age must be greater the Start Age."},
        {{"30", "40", "1000", "101", ""},
         "Rate Error!",
         "Inflation Rate must be a value from -100 - 100."},
        {{"30", "40", "0.5", "3", ""},
         "Amount Error!",
         "This amount must be a value from 1.0 - 99999999.00"},
    };
    for (auto c : cases) {
        const Result<float> r = calculateInflation(c.form);
        ASSERT_FALSE(r.ok()) << c.caption;
        EXPECT_EQ(r.message().caption, c.caption);
        EXPECT_EQ(r.message().text, c.text);
        EXPECT_EQ(r.message().kind, MessageKind::Warning);
    }
}

TEST(InvestmentCalculator, TaxesAndInflationOnTenThousand) {
    const Result<InvestmentAnalysis> r = calculateInvestment({"10000", "10", "8", "25", "3"});
    ASSERT_TRUE(r.ok());
    EXPECT_FLOAT_EQ(r->afterTaxRate, 6);
    EXPECT_NEAR(r->worth, 17908.48, 0.05);
    EXPECT_NEAR(r->realRate * 100, 2.913, 0.001);
    EXPECT_EQ(r->worthText.substr(0, 9), "$17,908.4");
    EXPECT_EQ(r->taxText, "25.00%");
    // The yearly figure shown is a simple average of the real gain.
    EXPECT_NEAR(r->averageRealReturn, (r->realWorth - 10000) / 100 / 10, 1e-3);
    EXPECT_EQ(calculateInvestment({"0", "10", "8", "25", "3"}).message().caption, "Amount Error!");
    EXPECT_EQ(calculateInvestment({"10", "0", "8", "25", "3"}).message().text,
              "The number of years be greater than 0.");
}

TEST(AcceleratedPayment, WithoutAnExtraPaymentNothingChanges) {
    AcceleratedPaymentForm f;
    f.amount = "100000";
    f.years = "30";
    f.yearsLeft = "30";
    f.rate = "8";
    f.extra = "0";
    f.taxRate = "25";
    f.inflationRate = "3";
    const auto r = calculateAcceleratedPayment(f);
    ASSERT_TRUE(r.ok());
    const AcceleratedPaymentTexts t = acceleratedPaymentTexts(*r);
    EXPECT_EQ(t.payment, "$733.76");
    EXPECT_EQ(t.payoffYears, "30.000 ");
    EXPECT_EQ(t.savings, "$0.00");
}

TEST(AcceleratedPayment, AHundredMoreAMonthRepaysInAboutTwentyYears) {
    const AcceleratedPaymentAnalysis a = analyseAcceleratedPayment(100000, 30, 30, 8, 100, 5, 0, 0);
    EXPECT_NEAR(a.payoffMonths / 12.0, 20.5, 0.6);
    EXPECT_GT(a.savings, 50000);
    EXPECT_NEAR(a.acceleratedTotalPayments - a.acceleratedTotalInterest, 100000, 1);
    // Starting the extra ten years in repays later and saves less.
    const AcceleratedPaymentAnalysis late =
        analyseAcceleratedPayment(100000, 30, 20, 8, 100, 5, 0, 0);
    EXPECT_GT(late.payoffMonths, a.payoffMonths);
    EXPECT_LT(late.savings, a.savings);
    // Twelve hundred a year at 5 % untaxed for the whole years to payoff.
    float worth = 1200;
    for (int y = 0; y < a.payoffMonths / 12; ++y)
        worth = worth * 1.05f + 1200;
    EXPECT_NEAR(a.investedWorth, worth, 1);
}

TEST(AcceleratedPayment, ChecksInOrder) {
    const struct {
        const char *field, *value, *caption;
    } cases[] = {
        {"amount", "10000001", "Amount Error!"},
        {"years", "51", "Number of Years Error!"},
        {"yearsLeft", "31", "Number of Years Left Error!"},
        {"rate", "0", "Rate Error!"},
        {"extra", "100001", "Additional Amount Error!"},
        {"taxRate", "51", "Rate Error!"},
    };
    for (const auto& c : cases) {
        AcceleratedPaymentForm f;
        f.taxRate = f.inflationRate = "1";
        std::string* fields[] = {&f.amount, &f.years, &f.yearsLeft, &f.rate, &f.extra, &f.taxRate};
        const char* names[] = {"amount", "years", "yearsLeft", "rate", "extra", "taxRate"};
        for (int k = 0; k < 6; ++k)
            if (std::string(names[k]) == c.field)
                *fields[k] = c.value;
        const auto r = calculateAcceleratedPayment(f);
        ASSERT_FALSE(r.ok()) << c.field;
        EXPECT_EQ(r.message().caption, c.caption);
        EXPECT_EQ(r.message().field, c.field);
    }
}

TEST(AcceleratedPayment, MortgageEditorCountsTheYearsAlreadyPaid) {
    AcceleratedPaymentForm f;
    fillFromMortgage(f, 160000, 30, 6.5f, 35.0f, 45.5f, 0);
    EXPECT_EQ(f.yearsLeft, " 20");
    EXPECT_EQ(f.extra, AcceleratedPaymentForm{}.extra);
    fillFromMortgage(f, 160000, 30, 6.5f, 50, 45, 250);
    EXPECT_EQ(f.yearsLeft, " 30");
    EXPECT_EQ(compactNumber(f.extra), "250.00");
}

} // namespace
