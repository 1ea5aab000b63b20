#include "forms/AccountImport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

#include "TempDir.h"
#include "forms/AccountForm.h"
#include "model/Scenario.h"

namespace finplan {
namespace {

struct Answers : Notifier {
    std::vector<Message> said;
    bool yes = true;
    void notify(const Message& m) override { said.push_back(m); }
    bool confirm(const Message& m) override {
        said.push_back(m);
        return yes;
    }
};

// The account dialog answering OK with what it shows.
bool pressOk(Scenario& s, int position) {
    return acceptAccount(accountForm(s, position), s, position).ok();
}

std::string write(const test::TempDir& dir, const std::string& name, const std::string& bytes) {
    std::ofstream(dir.file(name), std::ios::binary) << bytes;
    return dir.file(name);
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AccountImport, CleanAmountAndName) {
    const struct {
        const char* in;
        const char* amount;
    } amounts[] = {
        {"(1,234.50)", "-1234.50"}, {"$1,200.00", ""}, {"  500.00 USD", "500.00"}, {"5", "5"}};
    for (const auto& c : amounts) {
        std::string t = c.in;
        cleanAmount(t);
        EXPECT_EQ(t, c.amount) << c.in;
    }
    std::string name = "\"  Savings Acct. \"";
    cleanName(name);
    EXPECT_EQ(name, "Savings Acct");
}

TEST(AccountImport, TabFilterKeepsOnlyNameAndAmountLines) {
    test::TempDir dir;
    const std::string path = write(dir, "in.vti",
                                   "Checking\t$1,200.00\r\nTOTAL\t1200\r\nSavings\t(300.00)\r\n"
                                   "IRA account\t5\n");
    const auto lines = filterTabFile(path, dir.path().string());
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(readAll(dir.file("tabout.tmp")), "Savings\t-300.00\n");
    ASSERT_EQ(lines->size(), 4u);
    EXPECT_EQ((*lines)[0].skipped, "the amount is not a plain number");
    EXPECT_EQ((*lines)[1].skipped, "holds \"TOTAL\"");
    EXPECT_EQ((*lines)[3].skipped, "the amount has fewer than 2 characters");
}

TEST(AccountImport, QuotedCsvWithHeaderAndByteOrderMark) {
    test::TempDir dir;
    const std::string path =
        write(dir, "in.csv",
              "\xEF\xBB\xBF"
              "Account,Balance\n\"Savings\",\"1,234.56\"\n\"Smith, J IRA\",\"(20.00)\"\n");
    const Result<ImportPlan> plan =
        planAccountImport(path, true, ImportUse::Create, dir.path().string());
    ASSERT_TRUE(plan.ok());
    EXPECT_TRUE(std::filesystem::exists(dir.file("csvout.tmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("tabout.tmp")));
    ASSERT_EQ(plan->usedCount(), 2);
    EXPECT_EQ(plan->lines[0].skipped, "holds \"Balance\"");
    EXPECT_EQ(plan->lines[1].name, "Savings");
    EXPECT_EQ(plan->lines[1].amount, "1234.56");
    EXPECT_EQ(plan->lines[2].name, "Smith, J IRA");
}

TEST(AccountImport, NamesAreCutAtCharactersAndStoredInLatin1) {
    test::TempDir dir;
    // 30 characters, the 28th an e with an accent (two bytes in UTF-8); then a name with a
    // character outside Latin-1.
    const std::string longName = std::string(27, 'a') + "\xC3\xA9" + "bc";
    const std::string path =
        write(dir, "in.vti", longName + "\t100.00\nRent \xE2\x82\xAC\t200.00\n");
    const Result<ImportPlan> plan =
        planAccountImport(path, false, ImportUse::Create, dir.path().string());
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->lines[0].name, std::string(27, 'a') + "\xE9");
    EXPECT_EQ(plan->lines[1].skipped, "the name holds characters a scenario cannot store");

    // A Latin-1 file reads as Latin-1.
    const std::string latin = write(dir, "latin.vti", "Caf\xE9 account\t300.00\n");
    const Result<ImportPlan> second =
        planAccountImport(latin, false, ImportUse::Create, dir.path().string());
    EXPECT_EQ(second->lines[0].name, "Caf\xE9 account");
}

TEST(AccountImport, CreateCutsLongNamesAndAppliesDefaults) {
    test::TempDir dir;
    const std::string path =
        write(dir, "in.vti", std::string(35, 'N') + "\t1500.00\nSkipped one\t12.5\n");
    auto s = std::make_unique<Scenario>();
    startNewAccounts(*s);
    const Result<ImportPlan> plan =
        planAccountImport(path, false, ImportUse::Create, dir.path().string());
    Answers answers;
    int dialogs = 0;
    createAccountsFromFile(*s, *plan, answers, [&](Scenario& sc, int position) {
        return ++dialogs == 2 ? false : pressOk(sc, position);
    });
    ASSERT_EQ(s->accountTable.accountCount, 1);
    const Account& a = s->accountTable.accounts[0];
    EXPECT_EQ(a.name.str(), std::string(28, 'N'));
    EXPECT_EQ(a.initialAmount, 1500.0f);
    EXPECT_EQ(a.type, kInvestmentSavings);
    EXPECT_EQ(a.initialRate, 10.0f);
    EXPECT_EQ(a.randomMaxRate, 20.0f);
    EXPECT_EQ(a.accessOrder.str(), "0");
    EXPECT_EQ(dialogs, 2) << "a cancelled account is left out and the import goes on";
}

TEST(AccountImport, UpdateMatchesNamesExactly) {
    test::TempDir dir;
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const int position = *beginNewAccount(*s);
    AccountForm f = accountForm(*s, position);
    f.name = "Savings";
    f.initialAmount = "10";
    ASSERT_TRUE(acceptAccount(f, *s, position).ok());
    const Scenario before = *s;

    const std::string none = write(dir, "none.vti", "savings\t500.00\n");
    const Result<ImportPlan> plan =
        planAccountImport(none, false, ImportUse::Update, dir.path().string());
    Answers answers;
    EXPECT_FALSE(updateAccountsFromFile(*s, *plan, answers, pressOk));
    ASSERT_EQ(answers.said.size(), 1u);
    EXPECT_EQ(answers.said[0].caption, "Possible incorrect file type.");
    EXPECT_EQ(answers.said[0].text,
              "Found 0 accounts in the file " + none +
                  ".\nPlease make sure this is the correct delimited file type.");
    EXPECT_EQ(std::memcmp(&before, s.get(), sizeof(Scenario)), 0);

    const std::string both = write(dir, "both.vti", "Savings\t500.00\nBrokerage\t700.00\n");
    answers.said.clear();
    const Result<ImportPlan> second =
        planAccountImport(both, false, ImportUse::Update, dir.path().string());
    EXPECT_TRUE(updateAccountsFromFile(*s, *second, answers, pressOk));
    EXPECT_EQ(answers.said[0].text, "Updating 1 out of 1 accounts.\nDo you wish to continue?");
    EXPECT_EQ(answers.said[1].caption, "New Account Found");
    EXPECT_EQ(s->accountTable.accountCount, 2);
    EXPECT_EQ(s->accountTable.accounts[0].initialAmount, 500.0f);
    EXPECT_EQ(s->accountTable.accounts[1].name.str(), "Brokerage");
}

TEST(AccountImport, MissingFileFails) {
    test::TempDir dir;
    const Result<ImportPlan> plan =
        planAccountImport(dir.file("nowhere.csv"), true, ImportUse::Create, dir.path().string());
    ASSERT_FALSE(plan.ok());
    EXPECT_EQ(plan.message().text, "Cannot open " + dir.file("nowhere.csv") + ".");
}

} // namespace
} // namespace finplan
