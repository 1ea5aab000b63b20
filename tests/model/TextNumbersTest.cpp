#include "model/TextNumbers.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

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

} // namespace
} // namespace finplan
