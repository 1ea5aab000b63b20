#include <gtest/gtest.h>
#include <memory>

#include "engine/Simulation.h"
#include "forms/AssetClassesForm.h"
#include "model/Scenario.h"
#include "results/AllocationReport.h"

namespace finplan {
namespace {

// Two accounts in slots 3 and 7.
std::unique_ptr<Scenario> twoAccounts() {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    s->accountTable.accountCount = 2;
    s->accountTable.accounts[0].name.assign("Brokerage");
    s->accountTable.accounts[0].slotId = 3;
    s->accountTable.accounts[1].name.assign("IRA");
    s->accountTable.accounts[1].slotId = 7;
    return s;
}

struct SharesCase {
    const char* label;
    std::array<const char*, 3> first, second; // classes 0 to 2 of each account
    const char* message;                      // empty: accepted
    const char* field;
};

class AssetClassShares : public testing::TestWithParam<SharesCase> {};

TEST_P(AssetClassShares, AddUpTo100OrAreAllZero) {
    const SharesCase& c = GetParam();
    auto s = twoAccounts();
    const Scenario before = *s;
    AssetClassesForm form = assetClassesForm(*s);
    form.names[0] = "Stocks";
    for (int n = 0; n < 3; ++n) {
        form.accounts[0].shares[static_cast<std::size_t>(n)] = c.first[static_cast<std::size_t>(n)];
        form.accounts[1].shares[static_cast<std::size_t>(n)] =
            c.second[static_cast<std::size_t>(n)];
    }
    const Status accepted = acceptAssetClasses(form, *s);
    if (*c.message == 0) {
        ASSERT_TRUE(accepted) << accepted.message().text;
        EXPECT_EQ(s->assetClasses.name[0].str(), "Stocks");
        EXPECT_FLOAT_EQ(s->allocations.allocation[1][3], static_cast<float>(atof(c.first[1])));
        EXPECT_FLOAT_EQ(s->allocations.allocation[2][7], static_cast<float>(atof(c.second[2])));
        return;
    }
    ASSERT_FALSE(accepted);
    EXPECT_EQ(accepted.message().text.substr(0, std::string(c.message).size()), c.message);
    EXPECT_EQ(accepted.message().field, c.field);
    EXPECT_EQ(s->assetClasses.name[0].str(), before.assetClasses.name[0].str());
    EXPECT_EQ(s->allocations.allocation[0][3], before.allocations.allocation[0][3]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssetClassShares,
    testing::Values(SharesCase{"whole", {"60", "30", "10"}, {"0", "0", "100"}, "", ""},
                    SharesCase{"allZero", {"", "0", ""}, {"50", "25.5", "24.5"}, "", ""},
                    SharesCase{"nearlyWhole", {"33.33", "33.33", "33.34"}, {"0", "0", "0"}, "", ""},
                    SharesCase{"short",
                               {"60", "30", "9"},
                               {"0", "0", "0"},
                               "The shares of Brokerage add up to 99%.",
                               "share:0:0"},
                    SharesCase{"over",
                               {"0", "0", "0"},
                               {"100", "0.5", "0"},
                               "The shares of IRA add up to 100.5%.",
                               "share:1:0"},
                    SharesCase{"negative",
                               {"110", "-10", "0"},
                               {"0", "0", "0"},
                               "A share must be between 0% and 100%.",
                               "share:0:0"},
                    SharesCase{"negativeSecond",
                               {"100", "0", "0"},
                               {"50", "60", "-10"},
                               "A share must be between 0% and 100%.",
                               "share:1:2"}),
    [](const testing::TestParamInfo<SharesCase>& info) { return info.param.label; });

TEST(AllocationReport, AmountsPerClassAndTotals) {
    auto run = std::make_unique<RunState>();
    run->scenario = *twoAccounts();
    Scenario& s = run->scenario;
    s.assetClasses.name[0].assign("Stocks");
    s.assetClasses.name[2].assign("Bonds");
    s.allocations.allocation[0][3] = 60; // Brokerage 60 / 40
    s.allocations.allocation[2][3] = 40;
    s.allocations.allocation[1][7] = 0; // IRA: nothing allocated
    run->table.rowCount = 2;
    run->table.rows[0].age = 40;
    run->table.rows[1].age = 41;
    run->table.balanceTable[0] = {1000, 500};
    run->table.balanceTable[1] = {2000, 800};

    const AllocationReport r = allocationReport(*run, 41);
    EXPECT_FLOAT_EQ(r.age, 41);
    EXPECT_EQ(r.columns, (std::vector<std::string>{"Stocks", "Bonds", "Unallocated"}));
    const struct {
        const AllocationReport::Line& line;
        std::vector<float> amounts;
        float total;
    } expected[] = {{r.accounts[0], {1200, 800, 0}, 2000},
                    {r.accounts[1], {0, 0, 800}, 800},
                    {r.total, {1200, 800, 800}, 2800}};
    for (const auto& e : expected) {
        EXPECT_EQ(e.line.amounts, e.amounts) << e.line.account;
        EXPECT_FLOAT_EQ(e.line.total, e.total) << e.line.account;
    }
    // An age the run does not have: the first row.
    EXPECT_FLOAT_EQ(allocationReport(*run, 90).total.total, 1500);

    const ReportTable table = allocationReportTable(r);
    EXPECT_EQ(table.titles.front(), "Age 41.0");
    EXPECT_EQ(table.titles.back(), "Total");
    ASSERT_EQ(table.rows.size(), 7u); // 2 accounts and the total, twice, with "Shares"
    EXPECT_EQ(table.rows[2],
              (std::vector<std::string>{"Total", "1200.00", "800.00", "800.00", "2800.00"}));
    EXPECT_EQ(table.rows[6],
              (std::vector<std::string>{"Total", "42.9%", "28.6%", "28.6%", "100.0%"}));
    const std::vector<SheetText> sheets = allocationReportSheets(r);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].back(), "Dooooone");
}

} // namespace
} // namespace finplan
