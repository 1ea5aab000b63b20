#include "model/ScenarioJson.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

#include "model/ScenarioFile.h"

namespace finplan {
namespace {

using nlohmann::json;

std::unique_ptr<Scenario> fromJsonText(const std::string& text) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_TRUE(scenarioFromJson(json::parse(text), *s).ok());
    return s;
}

std::vector<std::uint8_t> rebuilt(const Scenario& s) {
    auto copy = std::make_unique<Scenario>();
    newScenario(*copy);
    EXPECT_TRUE(scenarioFromJson(json::parse(scenarioToJson(s).dump()), *copy).ok());
    return encodeScenario(*copy);
}

TEST(ScenarioJson, ANewScenarioSurvivesDumpAndBuild) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_EQ(rebuilt(*s), encodeScenario(*s));
}

TEST(ScenarioJson, TheExampleSurvivesDumpAndBuild) {
    std::ifstream in(std::string(FINPLAN_EXAMPLES_DIR) + "/household.json");
    ASSERT_TRUE(in);
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_TRUE(scenarioFromJson(json::parse(in), *s).ok());
    EXPECT_GT(s->eventCount, 5);
    EXPECT_GT(s->accountTable.accountCount, 4);
    EXPECT_EQ(rebuilt(*s), encodeScenario(*s));
}

TEST(ScenarioJson, NumbersAndTextsRoundTripExactly) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const float values[] = {0.1f, 1234567.89f, -1234.5f, 1e-7f, -3.4e38f, 16777217.0f, 0.3f};
    s->eventCount = 7;
    for (int i = 0; i < 7; ++i) {
        s->events[i].kind = kDeposit;
        s->events[i].amount = values[i];
    }
    s->events[0].name.assign("Caf\xE9 fund"); // Latin-1 e acute
    const json j = scenarioToJson(*s);
    EXPECT_EQ(j["events"][0]["amount"].dump(), "0.1");
    EXPECT_EQ(j["events"][0]["name"], "Caf\xC3\xA9 fund");
    EXPECT_EQ(rebuilt(*s), encodeScenario(*s));
}

TEST(ScenarioJson, MissingKeysKeepTheDefaultsOfANewScenario) {
    const auto s = fromJsonText(R"({"initialValues": {"startAge": 45},
        "accounts": [{"name": "Checking", "initialAmount": 100}],
        "slots": [{}, {"dividendRate": 2}],
        "budgets": [{}, {"name": "Travel", "items": [{"itemName": "Flights", "itemYearly": 900}]}]})");
    EXPECT_EQ(s->initialValues.startAge, 45.0f);
    EXPECT_EQ(s->initialValues.endAge, 84.0f);
    EXPECT_EQ(s->accountTable.accountCount, 1);
    EXPECT_EQ(s->accountTable.accounts[0].accessOrder.str(), " ");
    EXPECT_EQ(s->accountTable.accounts[1].slotId, 1);
    EXPECT_EQ(s->slots.penaltyAge[1], 59.0f);
    EXPECT_EQ(s->dividends.dividendRate[1], 2.0f);
    EXPECT_EQ(s->budgets[0].name.str(), "Budget 1");
    EXPECT_EQ(s->budgets[1].name.str(), "Travel");
    EXPECT_EQ(s->budgets[1].itemCount, 1);
    EXPECT_EQ(s->budgets[1].account, -1);
    EXPECT_EQ(s->budgets[1].itemYearly[0], 900.0f);
}

struct ErrorCase {
    const char* label;
    const char* json;
    const char* message;
    friend void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.label; }
};

class ScenarioJsonErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ScenarioJsonErrors, NameThePlaceAndTheFault) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const Status read = scenarioFromJson(json::parse(GetParam().json), *s);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.message().text, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScenarioJsonErrors,
    testing::Values(
        ErrorCase{"notAnObject", "[]", "scenario: expected an object"},
        ErrorCase{"textForNumber", R"({"initialValues": {"startAge": "x"}})",
                  "initialValues.startAge: expected a number"},
        ErrorCase{"fractionForFlag", R"({"events": [{}, {"kind": 2.5}]})",
                  "events[1].kind: expected a whole number"},
        ErrorCase{"referenceTooLarge", R"({"events": [{"account": 40000}]})",
                  "events[0].account: number out of range"},
        ErrorCase{"nameTooLong", R"({"accounts": [{"name": "0123456789012345678901234567890"}]})",
                  "accounts[0].name: longer than 30 characters"},
        ErrorCase{"tooManyGroups", R"({"groups": [{},{},{},{},{},{},{},{},{},{},{}]})",
                  "groups: more than 10 entries"},
        ErrorCase{"tableValues", R"({"lifeExpectancyTables": [{"values": [1, "two"]}]})",
                  "lifeExpectancyTables[0].values[1]: expected a number"},
        ErrorCase{"eventsNotArray", R"({"events": {}})", "events: expected an array"},
        ErrorCase{"misspeltKey", R"({"acounts": []})", "acounts: unknown key"},
        ErrorCase{"misspeltField", R"({"accounts": [{}, {"nmae": "x"}]})",
                  "accounts[1].nmae: unknown key"},
        ErrorCase{"misspeltBudgetItem", R"({"budgets": [{"items": [{"itemNmae": 1}]}]})",
                  "budgets[0].items[0].itemNmae: unknown key"},
        ErrorCase{"reservedIsNoKey", R"({"initialValues": {"reserved0": 0}})",
                  "initialValues.reserved0: unknown key"},
        ErrorCase{"largestUnsigned", R"({"events": [{"kind": 18446744073709551615}]})",
                  "events[0].kind: number out of range"},
        ErrorCase{"countOfWrongType", R"({"accountTable": {"accountCount": "six"}})",
                  "accountTable.accountCount: expected a whole number"}),
    [](const auto& info) { return std::string(info.param.label); });

struct ParseCase {
    const char* label;
    const char* text;
    const char* message; // how the message starts
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.label; }
};

class ScenarioJsonText : public testing::TestWithParam<ParseCase> {};

TEST_P(ScenarioJsonText, FaultsNameThePlaceWhereReadingStopped) {
    std::istringstream in(GetParam().text);
    const Result<json> parsed = parseScenarioJson(in);
    ASSERT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.message().text.starts_with(GetParam().message)) << parsed.message().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScenarioJsonText,
    testing::Values(ParseCase{"overflowInARecord", R"({"initialValues": {"taxRate": 1e400}})",
                              "initialValues.taxRate: number overflow parsing '1e400'"},
                    ParseCase{"overflowInAList",
                              R"({"events": [{}, {"name": "x", "amount": -1e999}]})",
                              "events[1].amount: number overflow"},
                    ParseCase{"overflowAfterAList", R"({"accounts": [{}, [1, 2]], "x": 1e999})",
                              "x: number overflow"},
                    ParseCase{"bareOverflow", "1e912", "scenario: number overflow"},
                    ParseCase{"syntax", R"({"slots": [{}, {"penaltyAge" 5}]})",
                              "slots[1].penaltyAge: not valid JSON: parse error at line 1"}),
    [](const auto& info) { return std::string(info.param.label); });

// The dump writes the largest float as "3.4028235e+38", a little above it as a double; it must
// build again. A number that would round to infinity is refused.
TEST(ScenarioJson, TheLargestFloatsBuildFromTheirDump) {
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    s->initialValues.taxRate = std::numeric_limits<float>::max();
    s->initialValues.inflationRate = -std::numeric_limits<float>::max();
    json j = scenarioToJson(*s);
    auto built = std::make_unique<Scenario>();
    newScenario(*built);
    ASSERT_TRUE(scenarioFromJson(j, *built).ok());
    EXPECT_EQ(built->initialValues.taxRate, std::numeric_limits<float>::max());
    EXPECT_EQ(built->initialValues.inflationRate, -std::numeric_limits<float>::max());
    j["initialValues"]["taxRate"] = 3.5e38;
    EXPECT_FALSE(scenarioFromJson(j, *built).ok());
}

// A file holds up to 150 events; the editors keep the last slot free only for what they add.
TEST(ScenarioJson, AsManyEventsAsAFileHolds) {
    json j;
    j["events"] = json::array();
    for (int i = 0; i < 151; ++i)
        j["events"].push_back(json::object());
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    EXPECT_FALSE(scenarioFromJson(j, *s).ok());
    j["events"].erase(0);
    ASSERT_TRUE(scenarioFromJson(j, *s).ok());
    EXPECT_EQ(s->eventCount, 150);
}

// Whatever a file holds that loads builds again from its dump: the file is made, loaded,
// dumped and built, and must come back byte for byte.
TEST(ScenarioJson, EveryFileThatLoadsBuildsFromItsDump) {
    const auto fill = [](auto& text) { std::memset(text.bytes, 'x', sizeof text.bytes); };
    const struct {
        const char* label;
        std::function<void(Scenario&)> change;
    } cases[] = {
        {"150 events",
         [](Scenario& s) {
             s.eventCount = kEventSlots;
             for (FinancialEvent& e : s.events)
                 e.kind = kDeposit;
         }},
        {"an event name that fills its field",
         [&](Scenario& s) {
             s.eventCount = 1;
             fill(s.events[0].name);
         }},
        {"an account and a group name that fill their fields",
         [&](Scenario& s) {
             s.accountTable.accountCount = 1;
             fill(s.accountTable.accounts[0].name);
             fill(s.groups.name[3]);
         }},
        {"a budget item name and a report title that fill their fields",
         [&](Scenario& s) {
             s.budgets[1].itemCount = 1;
             fill(s.budgets[1].itemName[0]);
             fill(s.reportTitles.title2);
         }},
    };
    for (const auto& c : cases) {
        auto made = std::make_unique<Scenario>();
        newScenario(*made);
        c.change(*made);
        const std::vector<std::uint8_t> file = encodeScenario(*made);
        auto loaded = std::make_unique<Scenario>();
        newScenario(*loaded);
        ASSERT_TRUE(decodeScenario(file, *loaded).valid) << c.label;
        EXPECT_EQ(rebuilt(*loaded), file) << c.label;
    }
}

} // namespace
} // namespace finplan
