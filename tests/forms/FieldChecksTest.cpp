#include "forms/FieldChecks.h"

#include <gtest/gtest.h>

#include "forms/AccountChoices.h"
#include "model/Scenario.h"

namespace finplan {
namespace {

struct RealCase {
    const char* text;
    int maxChars;
    float minimum, maximum;
    int messageId;
    bool ok;
    float value;
    const char* message;
};

TEST(FieldChecks, DialogNumbers) {
    const RealCase cases[] = {
        {"65.9", 10, 1, 120, 7, true, 65.9f, ""},
        {"0.5", 10, 1, 120, 7, false, 0, "This age must be between 1.0 and 120.0."},
        {"-20", 10, -20, 20, 8, true, -20, ""},
        {"20.01", 10, -20, 20, 8, false, 0, "The Applied Rate must be between -20.0% and 20.0%"},
        // Not a number reads as 0: an empty down payment passes, an empty amount does not.
        {"", 12, 0, 1e8f, 2, true, 0, ""},
        {"abc", 12, 1, 1e8f, 2, false, 0,
         "This amount must be greater than 0.00 and less than 99999999.00."},
        // Only maxChars - 1 characters are read: "1234" of "12345" with a limit of 5.
        {"12345", 5, 0, 2000, 2, true, 1234, ""},
        {"nan", 10, -20, 20, 8, false, 0, "The Applied Rate must be between -20.0% and 20.0%"},
        {"300", 10, -200, 200, kRateBoundsMessage, false, 0,
         "This rate must be greater than -200.00 and less than 200.00"},
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<float> r =
            checkDialogNumber({c.text, c.maxChars}, c.minimum, c.maximum, c.messageId, "CAP", "f");
        ASSERT_EQ(r.ok(), c.ok);
        if (c.ok) {
            EXPECT_FLOAT_EQ(*r, c.value);
        } else {
            EXPECT_EQ(r.message().text, c.message);
            EXPECT_EQ(r.message().caption, "CAP");
            EXPECT_EQ(r.message().field, "f");
        }
    }
    const Result<int> years = checkDialogInteger({"101", 3}, 1, 100, 5, "NO OF YEARS ERROR");
    EXPECT_TRUE(years.ok()) << "the third character is not read: 10";
    EXPECT_FALSE(checkDialogInteger({"0", 3}, 1, 100, 5, "NO OF YEARS ERROR").ok());
    EXPECT_EQ(checkDialogInteger({"0", 3}, 1, 100, 5, "X").message().text,
              "The number of years must be between 1 and 100.");
}

TEST(FieldChecks, NumberTexts) {
    const NumberTextCheck amount = checkNumberText("5e8", true, -1e8f, 1e8f, 2, "AMOUNT ERROR");
    EXPECT_FALSE(amount.status.ok());
    EXPECT_FALSE(amount.value);
    EXPECT_EQ(amount.status.message().text,
              "This amount must be greater than -100000000.00 and less than 100000000.00.");

    // A life-table value out of range is kept although the check fails.
    const NumberTextCheck life = checkNumberText("140", true, 0, 120, 72, "LIFE");
    EXPECT_FALSE(life.status.ok());
    ASSERT_TRUE(life.value);
    EXPECT_FLOAT_EQ(*life.value, 140);
    EXPECT_EQ(life.status.message().text, "The value 140.0 for age 72 seems out of range. Please "
                                          "check your Life Expectancy Tables.");

    const NumberTextCheck whole = checkNumberText("7", false, 0, 5, 3, "X");
    EXPECT_EQ(whole.status.message().text,
              "This rate must be greater than 0.000 and less than 5.000.");
    EXPECT_FLOAT_EQ(*checkNumberText("65.7", true, 0, 120, 3, "AGE ERROR").value, 65.7f);
}

TEST(AccountChoices, NameOrderAndEntries) {
    Scenario s{};
    newScenario(s);
    for (const char* name : {"Bank", "apple", "cash"}) {
        Account a{};
        a.name.assign(name);
        ASSERT_TRUE(addAccount(s, a).ok());
    }
    const int bankId = s.accountTable.accounts[0].accountId;
    EXPECT_TRUE(sortAccountsByName(s));
    EXPECT_FALSE(sortAccountsByName(s));
    const AccountChoices list = accountChoices(s, true);
    EXPECT_EQ(list.entries, (std::vector<std::string>{kNoSelection, "apple", "Bank", "cash"}));
    EXPECT_EQ(accountChoiceEntry(s, bankId, true), 2);
    EXPECT_EQ(accountChoiceEntry(s, bankId, false), 1);
    EXPECT_EQ(accountChoiceEntry(s, -1, true), 0);
    EXPECT_EQ(accountChoiceEntry(s, -1, false), -1);
    EXPECT_EQ(accountChoiceId(s, 2, true), bankId);
    EXPECT_EQ(accountChoiceId(s, 0, true), -1);

    s.slots.slotStatus[s.accountTable.accounts[1].slotId] = kSlotInAllocation;
    const Status refused = checkPayingAccount(s, bankId, "account");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message().caption, "Account Warning");
    EXPECT_TRUE(checkPayingAccount(s, -1, "account").ok());

    s.accountTable.accountCount = 51; // damaged
    EXPECT_TRUE(sortAccountsByName(s));
    EXPECT_EQ(s.accountTable.accountCount, 0);
}

} // namespace
} // namespace finplan
