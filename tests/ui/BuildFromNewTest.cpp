#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

#include "DialogDriver.h"
#include "TestPrompter.h"
#include "forms/InitialValuesForm.h"
#include "model/ScenarioFile.h"
#include "model/ScenarioJson.h"
#include "ui/app/MainWindow.h"

using namespace finplan;
using namespace finplan::dialogdriver;

namespace {

// One thing a user does in a dialog, on the widget of that object name.
struct Act {
    enum Kind {
        Type,   // types `text` into a line edit
        Check,  // clicks a check box unless it already shows `text` ("1" checked, "0" not)
        Choose, // chooses the entry `text` of a drop-down list
        Pick,   // selects the row `text` of a list
        Click,  // clicks a button or an option
        Open,   // clicks a button that opens `nested`, which is filled in and confirmed
    };
    Kind kind;
    const char* widget;
    const char* text = "";
    const struct Form* nested = nullptr;
};

// A dialog as the user fills it in: its title, then the acts in order; OK follows.
struct Form {
    const char* title;
    std::vector<Act> acts;
};

// How a dialog is opened from the window: a command, or a button of the window.
struct Step {
    int command;
    const char* windowButton;
    Form form;
};

Act type(const char* widget, const char* text) {
    return {Act::Type, widget, text};
}
Act check(const char* widget, bool on = true) {
    return {Act::Check, widget, on ? "1" : "0"};
}
Act choose(const char* widget, const char* entry) {
    return {Act::Choose, widget, entry};
}

// --- The example scenario, dialog by dialog ---

const Form kNew{"Create New Accounts", {{Act::Click, "option2"}}};

const Form kGroups{"Groups",
                   {type("groupName0", "Cash"), type("groupName1", "Taxable investments"),
                    type("groupName2", "Retirement"), type("groupName3", "Possessions")}};

const Form kDividend15{"Dividend Information",
                       {type("dividendRate", "1.5"), type("dividendTaxable", "100"),
                        choose("dividendAccount", "Checking")}};
const Form kDividend2{"Dividend Information",
                      {type("dividendRate", "2"), type("dividendTaxable", "100"),
                       choose("dividendAccount", "Checking")}};

Form account(const char* name, const char* amount, const char* rate, const char* order,
             const char* type, const char* group, bool penalty, const char* rmd = "None",
             const Form* dividend = nullptr) {
    Form f{"Account Information",
           {::type("name", name), ::type("initialAmount", amount), ::type("initialRate", rate),
            ::type("accessOrder", order), choose("type", type), choose("group", group),
            check("penaltyFlag", penalty), choose("rmdTable", rmd)}};
    if (dividend)
        f.acts.push_back({Act::Open, "dividend", "", dividend});
    return f;
}

const Form kInitialValues{"Initial Values",
                          {type("startAge", "40"), type("endAge", "90"), type("taxRate", "22"),
                           type("inflationRate", "3"), type("birthMonth", "4"),
                           type("birthDay", "12")}};

Form deposit(const char* name, const char* amount, const char* to, bool taxed, bool inflation) {
    return {"Deposit",
            {type("name", name), type("startAge", "40"), type("endAge", "64"),
             type("amount", amount), choose("account", to), check("beforeTax", taxed),
             check("inflationAdjust", inflation)}};
}

Form withdrawal(const char* name, const char* start, const char* amount, const char* from) {
    return {"Withdrawal",
            {type("name", name), type("startAge", start), type("endAge", "90"),
             type("amount", amount), choose("account", from), check("inflationAdjust")}};
}

const Form kHouse{"Mortgage",
                  {type("name", "House on Elm Street"), type("startAge", "42"),
                   type("endAge", "72"), type("interestRate", "6.5"), type("amount", "350000"),
                   type("propertyTax", "4200"), type("closingCosts", "6000"),
                   type("downPayment", "70000"), type("termYears", "30"),
                   type("appreciationRate", "3"), type("adjustRate", "0"),
                   type("sellingExpenses", "6"), choose("paymentAccount", "Checking"),
                   check("inflationAdjust", false), check("account", false)}};

const Form kCarLoan{"Loan",
                    {type("name", "Car loan"),
                     type("startAge", "45"),
                     type("endAge", "50"),
                     type("interestRate", "7"),
                     type("amount", "30000"),
                     type("downPayment", "5000"),
                     type("adjustRate", "0"),
                     type("termYears", "5"),
                     choose("account", "Car"),
                     choose("paymentAccount", "Checking"),
                     {Act::Click, "calculate"}}};

const Form kRothConversion{"Transfer",
                           {type("name", "Roth conversion"), type("startAge", "60"),
                            type("endAge", "60"), type("amount", "20000"), check("oneTime"),
                            choose("fromAccount", "Brokerage"), choose("toAccount", "Roth IRA")}};

const Form kAccountRate{"Account Rate", {type("rate", "4.5")}};
const Form kFundamentals{"Fundamentals",
                         {type("name", "Retirement rates"),
                          type("startAge", "65"),
                          type("taxRate", "18"),
                          type("inflationRate", "2.5"),
                          {Act::Pick, "account", "Brokerage"},
                          {Act::Open, "changeRate", "", &kAccountRate}}};

const Form kCreditCard{"Credit Card Debt",
                       {type("name", "Store card"), type("startAge", "41"), type("endAge", "45"),
                        type("interestRate", "21"), type("amount", "3500"),
                        type("monthlyPayment", "150"), type("propertyTax", "40"),
                        choose("account", "Checking")}};

const Form kRule72T{"Rule 72T Transfer",
                    {type("name", "Early 401(k) income"),
                     type("startAge", "55"),
                     type("endAge", "59.5"),
                     type("adjustRate", "53"),
                     type("interestRate", "5"),
                     choose("beforeTax", "401(k)"),
                     choose("account", "Checking"),
                     {Act::Click, "inflationAdjust2"}, // minimum distribution
                     {Act::Click, "oneTime0"}}};       // single life

Form budgetItem(Form f, const char* name, const char* amount, const char* rate, bool monthly,
                bool inflation, bool track) {
    for (const Act& a : {type("itemName", name), type("itemAmount", amount), type("itemRate", rate),
                         check("itemMonthly", monthly), check("itemInflation", inflation),
                         check("itemTrack", track), Act{Act::Click, "enter"}})
        f.acts.push_back(a);
    return f;
}
const Form kBudget =
    budgetItem(budgetItem(budgetItem(Form{"Budget",
                                          {type("name", "Household"), type("startAge", "40"),
                                           type("endAge", "90"), check("active"),
                                           choose("account", "Checking")}},
                                     "Groceries", "500", "0", true, true, true),
                          "Utilities", "200", "2", true, false, false),
               "Gifts", "1200", "0", false, true, false);

// The IRS values from 73 on are the example's; the fill button reads them from the shipped table.
const Form kLifeTable{
    "Life Expectancy Values From IRS Tables",
    {type("description", "Uniform"), type("startAge", "73"), {Act::Click, "fillFromIrs"}}};
const Form kDistributionOptions{"Required Minimum Distribution Options",
                                {{Act::Click, "mode1"},
                                 type("penaltyRate", "25"),
                                 choose("account", "Checking"),
                                 {Act::Open, "editTable1", "", &kLifeTable}}};

std::vector<Step> exampleSteps() {
    const char* none = nullptr;
    std::vector<Step> steps = {{1, none, kNew}, {102, none, kGroups}};
    for (const Form& f : {
             account("Checking", "8000", "1", "1", "Investment Savings", "Cash", false),
             account("Brokerage", "45000", "6", "2", "Investment Savings", "Taxable investments",
                     false, "None", &kDividend15),
             account("401(k)", "120000", "7", "4", "Retirement Savings", "Retirement", true,
                     "Table 1: IRA 1"),
             account("Roth IRA", "30000", "6.5", "5", "Tax Free Savings", "Retirement", true),
             account("Company stock", "10000", "4", "3", "Equity", "Taxable investments", false,
                     "None", &kDividend2),
             account("Car", "18000", "-10", " ", "Asset", "Possessions", false),
         })
        steps.push_back({0, "addAccountButton", f});
    const Step rest[] = {
        {7, none, kInitialValues},
        {106, none, deposit("Salary", "85000", "Checking", true, true)},
        {106, none, deposit("401(k) contributions", "12000", "401(k)", false, true)},
        {106, none, deposit("Brokerage savings", "6000", "Brokerage", false, false)},
        {101, none, withdrawal("Living expenses", "40", "32000", "Checking")},
        {108, none, kHouse},
        {107, none, kCarLoan},
        {109, none, kRothConversion},
        {101, none, withdrawal("Retirement income", "65", "38000", "No Selection")},
        {110, none, kFundamentals},
        {466, none, kCreditCard},
        {794, none, kRule72T},
        {461, none, kBudget},
        {889, none, kDistributionOptions},
    };
    steps.insert(steps.end(), std::begin(rest), std::end(rest));
    return steps;
}

nlohmann::json sortedByName(nlohmann::json records) {
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a["name"] < b["name"]; });
    return records;
}

// Takes out of both scenarios what the window works out or keeps for itself, and what no dialog
// can give the example's way; everything a user types stays.
void normalize(nlohmann::json& j, bool example) {
    for (nlohmann::json& e : j["events"]) {
        // The row of the Scenario list, and the amount in force during a run.
        e.erase("listLine");
        e.erase("currentAmount");
        if (e.contains("monthlyPayment")) // worked out; the example keeps it to the cent
            e["monthlyPayment"] = std::round(e["monthlyPayment"].get<double>() * 100) / 100;
        const int kind = e.value("kind", 0);
        const int subtype = e.value("subtype", 0);
        if (kind == kLoan && e.value("inflationAdjust", 0) == kCreditCardMarker) {
            // The payoff months, years and total interest that the card editor works out.
            e.erase("adjustRate");
            e.erase("appreciationRate");
            e.erase("downPayment");
        } else if (kind == kLoan) {
            // What a loan buys grows at the rate of its account, set by the loan editor.
            e.erase("appreciationRate");
        }
        if (kind == kTransfer && subtype == kRule72TSubtype) {
            // The yearly distribution is worked out; the editor tags its source in termYears.
            e.erase("amount");
            e.erase("termYears");
            // Out of reach: the editor keeps whole-year end ages, so the example's 59.5
            // becomes 59.
            if (example)
                e["endAge"] = std::trunc(e["endAge"].get<double>());
        }
        if (example && kind == kWithdrawal && subtype == 1) {
            // Out of reach: the budget names its withdrawal after itself ("Household", not
            // the example's "Household budget") and no dialog renames it.
            const int budget = e["budgetNo"].get<int>() - 1;
            e["name"] = j["budgets"][static_cast<std::size_t>(budget)]["name"];
        }
        // Without the account tag a withdrawal takes no account: the editor stores that as -1,
        // the example as 0.
        if (example && kind == kWithdrawal && e.value("termYears", 0) != kFromChosenAccount)
            e["account"] = -1;
    }
    // The file's copy of the event count, written when the scenario is saved.
    j["initialValues"].erase("eventCount");
    for (nlohmann::json& budget : j["budgets"])
        for (nlohmann::json& item : budget["items"])
            item.erase("itemWorking"); // the yearly amount the dialog works out
    // The window keeps its events and accounts in its own order.
    j["events"] = sortedByName(j["events"]);
    j["accounts"] = sortedByName(j["accounts"]);
}

// One line per difference, "path: expected -> built".
QString differences(const nlohmann::json& expected, const nlohmann::json& built) {
    QStringList lines;
    for (const nlohmann::json& op : nlohmann::json::diff(expected, built)) {
        const nlohmann::json::json_pointer at(op["path"].get<std::string>());
        const std::string was = expected.contains(at) ? expected[at].dump() : "-";
        const std::string now = op.contains("value") ? op["value"].dump() : "-";
        lines << QString::fromStdString(at.to_string() + ": " + was + " -> " + now);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// "New", then the example scenario typed in through the dialogs alone, compared with the
// example's JSON.
class BuildFromNewTest : public QObject {
    Q_OBJECT

  private:
    TestPrompter::Log m_log;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QObject> m_waiting;
    QStringList m_problems;

    const Scenario& doc() { return m_window->document().scenario; }

    void fill(QDialog& d, const Form& form) {
        if (d.windowTitle() != QLatin1String(form.title))
            m_problems << QStringLiteral("expected %1, got %2").arg(form.title, d.windowTitle());
        for (const Act& a : form.acts) {
            const QString text = QLatin1String(a.text);
            switch (a.kind) {
            case Act::Type:
                type(d, a.widget, text);
                break;
            case Act::Check:
                if (auto* box = child<QAbstractButton>(d, a.widget);
                    box->isChecked() != (text == QLatin1String("1")))
                    box->click();
                break;
            case Act::Choose: {
                auto* box = child<QComboBox>(d, a.widget);
                const int entry = box->findText(text);
                if (entry < 0)
                    m_problems << QStringLiteral("%1: no entry %2").arg(a.widget, text);
                box->setCurrentIndex(entry);
                break;
            }
            case Act::Pick: {
                auto* list = child<QListWidget>(d, a.widget);
                const auto rows = list->findItems(text, Qt::MatchExactly);
                if (rows.isEmpty())
                    m_problems << QStringLiteral("%1: no row %2").arg(a.widget, text);
                else
                    list->setCurrentItem(rows.front());
                break;
            }
            case Act::Click:
                child<QAbstractButton>(d, a.widget)->click();
                break;
            case Act::Open: {
                bool opened = false;
                whenDialogOpens(*m_waiting, [&](QDialog& inner) {
                    opened = true;
                    fill(inner, *a.nested);
                });
                child<QAbstractButton>(d, a.widget)->click();
                if (!opened)
                    m_problems << QStringLiteral("%1 did not open").arg(a.nested->title);
                break;
            }
            }
        }
        const std::size_t said = m_log.messages.size();
        press(d, QDialogButtonBox::Ok);
        if (d.isVisible())
            m_problems << QStringLiteral("%1 refused OK: %2")
                              .arg(form.title,
                                   m_log.messages.size() > said
                                       ? QString::fromStdString(m_log.messages.back().text)
                                       : QString());
    }

    void run(const Step& step) {
        bool reached = false;
        whenDialogOpens(*m_waiting, [&](QDialog& d) {
            reached = true;
            fill(d, step.form);
        });
        if (step.windowButton)
            child<QPushButton>(*m_window, step.windowButton)->click();
        else
            m_window->command(step.command)->trigger();
        if (!reached)
            m_problems << QStringLiteral("%1 did not open").arg(step.form.title);
    }

    // The example as `finplan-cli build` makes it.
    static nlohmann::json example() {
        std::ifstream in(FINPLAN_SOURCE_DIR "/examples/household.json");
        const Result<nlohmann::json> parsed = parseScenarioJson(in);
        auto s = std::make_unique<Scenario>();
        newScenario(*s);
        if (!parsed || !scenarioFromJson(*parsed, *s))
            qFatal("cannot read the example");
        // The Initial Values dialog shows the account totals and rates as figures worked out
        // from the accounts; the example's hand-written rates are not the averages.
        summarizeAccounts(*s);
        return scenarioToJson(*s);
    }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    void theExampleThroughTheDialogsAlone() {
        m_waiting = std::make_unique<QObject>();
        m_window = std::make_unique<MainWindow>(std::make_unique<TestPrompter>(m_log));
        m_window->start(QString());
        m_window->show();
        for (const Step& step : exampleSteps()) {
            run(step);
            QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QLatin1Char('\n'))));
        }

        nlohmann::json expected = example();
        nlohmann::json built = scenarioToJson(doc());
        normalize(expected, true);
        normalize(built, false);
        const QString differ = differences(expected, built);
        if (!differ.isEmpty())
            qInfo().noquote() << differ;
        QVERIFY(differ.isEmpty());
    }

    void cleanupTestCase() {
        m_waiting.reset();
        m_window.reset();
    }
};

QTEST_MAIN(BuildFromNewTest)
#include "BuildFromNewTest.moc"
