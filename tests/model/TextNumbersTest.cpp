#include "model/TextNumbers.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace finplan {
namespace {

TEST(TextNumbers, ReadAsTheCLocaleDoesWhateverTheLocale) {
    struct Case {
        const char* text;
        double number;
        int integer;
    };
    const Case cases[] = {
        {"  12.5abc", 12.5, 12},
        {"\t-3.25", -3.25, -3},
        {"+7", 7, 7},
        {"1e3", 1000, 1},
        {"   85000.00", 85000, 85000},
        {"12,5", 12, 12},
        {"", 0, 0},
        {"abc", 0, 0},
        {"-", 0, 0},
        {"+-1", 0, 0},
        {".5", 0.5, 0},
        {"99999999999", 99999999999.0, 2147483647},
    };
    const char* locales[] = {"C", "de_DE.UTF-8"};
    for (const char* locale : locales) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
        for (const Case& c : cases) {
            EXPECT_EQ(leadingNumber(c.text), c.number) << '"' << c.text << "\" in " << locale;
            EXPECT_EQ(leadingInteger(c.text), c.integer) << '"' << c.text << "\" in " << locale;
        }
    }
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
    EXPECT_EQ(leadingNumber("1e-400"), 0);
}

// Any number at all becomes a whole number within the bounds, never undefined behaviour.
TEST(TextNumbers, WholeNumbersAreHeldToTheirBounds) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int whole;
    } cases[] = {
        {45.9, 45},           {-0.5, 0},   {-7.9, -7},    {1e30, 1000},       {-3e9, -1000},
        {4294967296.0, 1000}, {inf, 1000}, {-inf, -1000}, {std::nan(""), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wholeNumber(c.value, -1000, 1000, -1), c.whole) << c.value;
    EXPECT_EQ(wholeNumber<std::int16_t>(1e9, 0, 120, 0), 120);
}

} // namespace
} // namespace finplan
