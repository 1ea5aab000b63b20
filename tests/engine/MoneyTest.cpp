#include "engine/Money.h"

#include <gtest/gtest.h>

namespace finplan {
namespace {

struct MoneyCase {
    const char* printed;
    const char* money;
    friend void PrintTo(const MoneyCase& c, std::ostream* os) { *os << c.printed; }
};

class FormatMoney : public testing::TestWithParam<MoneyCase> {};

TEST_P(FormatMoney, GroupsDigitsAndKeepsTheSign) {
    EXPECT_EQ(formatMoney(GetParam().printed), GetParam().money);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatMoney,
    testing::Values(MoneyCase{"1234567.89   ", "$1,234,567.89"},
                    MoneyCase{"-1234.50     ", "$-1,234.50"}, MoneyCase{"999.00       ", "$999.00"},
                    MoneyCase{"0.50         ", "$0.50"}, MoneyCase{"-12.00       ", "$-12.00"},
                    MoneyCase{"100000.00", "$100,000.00"}, MoneyCase{" 12.5x7", "$12.5"},
                    MoneyCase{"-999999.99", "$-999,999.99"}));

TEST(MoneyText, PrintsTheValueAsScheduleMoney) {
    EXPECT_EQ(moneyText(1234567.89f), "$1,234,567.88"); // the float nearest 1234567.89
    EXPECT_EQ(moneyText(75.0f), "$75.00");
    EXPECT_EQ(moneyText(-1234.5f), "$-1,234.50");
    EXPECT_EQ(percentText(5), "5.000%");
}

} // namespace
} // namespace finplan
