#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Message.h"
#include "model/Records.h"
#include "results/ReportPages.h"

namespace finplan {

struct Scenario;

// The budget editor ("Budget"): one of the five budgets, its items and, once active, its one
// budget withdrawal event.

// Characters of an item name the editor reads and compares.
inline constexpr int kItemNameChars = 19;
// The working files of Copy All / Paste All, Print Report and Print.
inline constexpr const char* kBudgetCopyFile = "budout.tmp";
inline constexpr const char* kBudgetReportFile = "pbudout.tmp";
inline constexpr const char* kBudgetPrintFile = "rpage1";
// The kind the item list prints as: six columns under the budget's name.
inline constexpr int kBudgetItemsPrintKind = 13;

// "  Add / Edit Budget Item".
struct BudgetItemFields {
    std::string name;
    std::string amount;
    std::string rate;
    bool monthly = false;
    bool track = false;
    bool inflation = false;
};

// The fields below the list.
struct BudgetForm {
    std::string name;
    std::string startAge;
    std::string endAge;
    bool active = false;
    bool todaysDollars = false;
    int account = -1; // the account number chosen, -1 for "No Selection"
};

// One row of the item list: name, amount, monthly, applied rate, yearly, tracked.
struct BudgetRow {
    std::string cells[6];
};

// Opening: items by name, letter case aside; every attribute moves with its item.
void sortBudgetItems(Budget& b);
// Each item's yearly amount (twelve times a monthly one) and the yearly total.
void updateBudgetTotals(Budget& b);
std::vector<BudgetRow> budgetRows(const Budget& b);
// "Yearly Total".
std::string budgetTotalText(const Budget& b);
BudgetItemFields budgetItemFields(const Budget& b, int item);
BudgetForm budgetForm(const Budget& b);

// "Enter": replaces the item of the same name or adds one; an empty name does nothing.
Status enterBudgetItem(Budget& b, const BudgetItemFields& fields);
// "Delete": the item of that name goes and the later ones move up.
void deleteBudgetItem(Budget& b, std::string_view name);
// "Clear All".
void clearBudgetItems(Budget& b);

// The budget withdrawal event of budget `number` (1..5), or -1.
int budgetEventOf(const Scenario& s, int number);

// OK: `budget` with the form's fields becomes budget `number` of `s`; an active budget adds
// or updates its withdrawal event, an inactive one loses it. A failure changes nothing.
Status acceptBudget(Scenario& s, int number, Budget budget, const BudgetForm& form);
// The name and ages of the form, as OK and Print Report store them.
void storeBudgetHeading(Budget& b, const BudgetForm& form);

// "Copy All" and "Print Report": the budget as a "budout.tmp" file at `path`.
Status writeBudgetCopy(const Budget& b, const std::string& path);
// "Paste All": the file's name, ages and items replace those of `b`; the items keep the
// inflation flags of their slots. A bad file changes nothing.
Status readBudgetCopy(Budget& b, const std::string& path);
// "Print": the item list as a page file at `path`.
Status writeBudgetItemsPage(const Budget& b, const std::string& path);
// "Print Report": the budget report of the "pbudout.tmp" in `workDir` as one table (age, the
// items, the total), its sheets' column groups side by side.
Result<ReportTable> budgetReportTable(const RunState& run, const std::string& workDir);

} // namespace finplan
