#include "model/ScenarioFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

#include "TempDir.h"

namespace finplan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes a scenario file byte by byte from the published offsets, independently of the
// records, so that the loader is checked against the format rather than against itself.
class FileWriter {
  public:
    explicit FileWriter(int eventCount)
        : m_events(eventCount), m_bytes(completeFileSize(eventCount)) {
        i16(0, static_cast<std::int16_t>(eventCount));
    }

    std::size_t events() const { return 80; }
    std::size_t event(int k) const { return 80 + 160 * static_cast<std::size_t>(k); }
    std::size_t accounts() const { return 80 + 160 * static_cast<std::size_t>(m_events); }
    std::size_t account(int k) const { return accounts() + 2 + 82 * static_cast<std::size_t>(k); }
    std::size_t groups() const { return 4204 + base(); }
    std::size_t titles() const { return 4944 + base(); }
    std::size_t slots() const { return 5190 + base(); }
    std::size_t font(int k) const { return 7128 + 60 * static_cast<std::size_t>(k) + base(); }
    std::size_t preferences() const { return 7308 + base(); }
    std::size_t budget(int n) const { return 7460 + 1398 * static_cast<std::size_t>(n) + base(); }
    std::size_t dividends() const { return 14450 + base(); }
    std::size_t assetClasses() const { return 15550 + base(); }
    std::size_t allocations() const { return 16336 + base(); }

    void i16(std::size_t at, std::int16_t v) { put(at, v); }
    void i32(std::size_t at, std::int32_t v) { put(at, v); }
    void f32(std::size_t at, float v) { put(at, v); }
    // The text and its terminator.
    void text(std::size_t at, const std::string& t) {
        std::memcpy(&m_bytes.at(at), t.c_str(), t.size() + 1);
    }

    Bytes& bytes() { return m_bytes; }

  private:
    std::size_t base() const { return 160 * static_cast<std::size_t>(m_events); }
    template <class T> void put(std::size_t at, T v) {
        ASSERT_LE(at + sizeof v, m_bytes.size());
        std::uint32_t bits = 0;
        if constexpr (sizeof v == 2)
            bits = static_cast<std::uint16_t>(v);
        else
            bits = std::bit_cast<std::uint32_t>(v);
        for (std::size_t i = 0; i < sizeof v; ++i) // little-endian, byte by byte
            m_bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }

    int m_events;
    Bytes m_bytes;
};

// A complete file of two events and two accounts with a value in every block.
FileWriter sampleFile() {
    FileWriter w(2);
    w.f32(6, 1000);   // initialInvestment
    w.f32(26, 45);    // startAge
    w.f32(30, 95);    // endAge
    w.i16(34, 1);     // useBirthday
    w.f32(36, 2.5f);  // inflationRate
    w.f32(48, 28);    // taxRate
    w.f32(52, 3);     // reserved
    w.f32(64, 7.25f); // retirementRate
    w.i16(68, 1);     // netWorthInTodaysDollars
    w.i16(76, 11);    // birthMonth
    w.i16(78, 30);    // birthDay

    w.i16(w.event(0) + 0, 1000); // listLine
    w.f32(w.event(0) + 2, 50);   // startAge
    w.f32(w.event(0) + 6, 60);   // endAge
    w.i16(w.event(0) + 16, 2);   // kind
    w.f32(w.event(0) + 18, 1234.5f);
    w.i16(w.event(0) + 22, 1); // beforeTax
    w.i16(w.event(0) + 24, 7); // account
    w.text(w.event(0) + 70, "Salary");
    w.i16(w.event(0) + 158, -1); // paymentAccount
    w.i16(w.event(1) + 16, 4);
    w.f32(w.event(1) + 40, 6.5f); // interestRate
    w.i16(w.event(1) + 44, 30);   // termYears
    w.i16(w.event(1) + 58, 438);  // payFromMarker
    w.f32(w.event(1) + 60, 3);    // appreciationRate
    w.f32(w.event(1) + 142, 6);   // sellingExpenses
    w.f32(w.event(1) + 146, 100); // extraPrincipal
    w.i16(w.event(1) + 156, 2);   // subtype
    w.text(w.event(1) + 70, "House");

    w.i16(w.accounts(), 2);
    for (int k = 0; k < 50; ++k) {
        w.text(w.account(k) + 30, " ");
        w.i16(w.account(k) + 80, static_cast<std::int16_t>(k)); // slotId
    }
    w.text(w.account(0), "Checking");
    w.text(w.account(0) + 30, "1");
    w.f32(w.account(0) + 42, 5000); // initialAmount
    w.f32(w.account(0) + 46, 1.5f); // initialRate
    w.i16(w.account(0) + 50, 2);    // type
    w.i16(w.account(0) + 60, 7);    // accountId
    w.i16(w.account(0) + 78, 3);    // group
    w.text(w.account(1), "IRA");
    w.i16(w.account(1) + 50, 3);
    w.i16(w.account(1) + 60, 8);
    w.i16(w.account(1) + 62, 1);      // penaltyFlag
    w.i32(w.accounts() + 4102, 9);    // nextAccountId
    w.f32(w.accounts() + 4106, 1500); // assetAllocationMinimum
    w.i16(w.accounts() + 4118, 2);    // rmdMode
    w.i16(w.accounts() + 4122, 1);    // assetAllocationMode

    w.text(w.groups() + 21 * 3, "Cash");
    w.f32(w.groups() + 210 + 4 * 3, -2);
    w.f32(w.groups() + 250 + 4 * 3, 12);
    w.i16(w.groups() + 452, 5); // viewSetting
    w.i16(w.groups() + 456, 2); // randomDistribution
    w.i16(w.groups() + 460, 4); // w0
    w.i16(w.groups() + 462, 6); // w2

    w.text(w.titles() + 60, "Second title");
    w.i16(w.titles() + 182, 1);

    for (int k = 0; k < 50; ++k) {
        w.f32(w.slots() + 4 * k, 59);
        w.f32(w.slots() + 200 + 4 * k, 10);
    }
    w.f32(w.slots() + 4 * 1, 55);           // penaltyAge of slot 1
    w.i16(w.slots() + 800 + 2 * 1, 20);     // rmdCode of slot 1
    w.i32(w.slots() + 900, 70);             // table 1 start age
    w.f32(w.slots() + 912, 50);             // rmdPenaltyRate
    w.i16(w.slots() + 916, 7);              // rmdAccount
    w.f32(w.slots() + 1038 + 4 * 1, 12.5f); // randomDeviation
    w.f32(w.slots() + 1458 + 4 * 2, 25.6f); // table 2, third value
    w.i32(w.slots() + 1698, 71);            // table 2 start age
    w.i32(w.slots() + 1702, 72);            // table 3 start age
    w.text(w.slots() + 1802, "Joint");

    w.i32(w.font(1), -13);
    w.text(w.font(1) + 28, "Arial");
    w.i32(w.preferences() + 12, 1);    // screenBanding
    w.i32(w.preferences() + 28, 1);    // defaultFonts
    w.f32(w.preferences() + 40, 2);    // fontScale
    w.i32(w.preferences() + 124, 800); // windowWidth
    w.i32(w.preferences() + 140, 500); // right margin
    w.i32(w.preferences() + 148, 2);   // landscape

    for (int n = 0; n < 5; ++n)
        w.text(w.budget(n), "Budget " + std::to_string(n + 1));
    w.text(w.budget(1), "Home");
    w.i16(w.budget(1) + 30, 2); // itemCount
    w.i16(w.budget(1) + 32, 40);
    w.i16(w.budget(1) + 34, 80);
    w.text(w.budget(1) + 36 + 21, "Food");
    w.f32(w.budget(1) + 666 + 4, 6000); // itemYearly of item 1
    w.i16(w.budget(1) + 1326 + 2, 1);   // itemTrack of item 1
    w.f32(w.budget(1) + 1386, 9000);    // yearlyTotal
    w.i16(w.budget(1) + 1390, 1);       // active
    w.i32(w.budget(1) + 1394, 7);       // account
    for (int n : {0, 2, 3, 4})
        w.i32(w.budget(n) + 1394, -1);

    w.f32(w.dividends() + 4 * 1, 2.5f);
    w.f32(w.dividends() + 200 + 4 * 1, 80);
    w.i16(w.dividends() + 400 + 2 * 1, 7);
    w.text(w.assetClasses() + 576 + 21 * 9, "Bonds");
    w.f32(w.allocations() + 200 * 9 + 4 * 1, 40);
    return w;
}

TEST(DecodeScenario, ReadsEveryFieldFromItsPublishedOffset) {
    FileWriter w = sampleFile();
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    const DecodeResult r = decodeScenario(w.bytes(), *s);
    ASSERT_TRUE(r.valid);
    EXPECT_TRUE(r.preferencesComplete);

    const InitialValues& iv = s->initialValues;
    EXPECT_EQ(s->eventCount, 2);
    EXPECT_EQ(iv.initialInvestment, 1000.0f);
    EXPECT_EQ(iv.startAge, 45.0f);
    EXPECT_EQ(iv.endAge, 95.0f);
    EXPECT_EQ(iv.useBirthday, 1);
    EXPECT_EQ(iv.inflationRate, 2.5f);
    EXPECT_EQ(iv.taxRate, 28.0f);
    EXPECT_EQ(iv.retirementRate, 7.25f);
    EXPECT_EQ(iv.netWorthInTodaysDollars, 1);
    EXPECT_EQ(iv.birthMonth, 11);
    EXPECT_EQ(iv.birthDay, 30);

    const FinancialEvent& e0 = s->events[0];
    EXPECT_EQ(e0.listLine, 1000);
    EXPECT_EQ(e0.startAge, 50.0f);
    EXPECT_EQ(e0.endAge, 60.0f);
    EXPECT_EQ(e0.kind, kDeposit);
    EXPECT_EQ(e0.amount, 1234.5f);
    EXPECT_EQ(e0.beforeTax, 1);
    EXPECT_EQ(e0.account, 7);
    EXPECT_EQ(e0.name.str(), "Salary");
    EXPECT_EQ(e0.paymentAccount, -1);
    const FinancialEvent& e1 = s->events[1];
    EXPECT_EQ(e1.kind, kMortgage);
    EXPECT_EQ(e1.interestRate, 6.5f);
    EXPECT_EQ(e1.termYears, 30);
    EXPECT_EQ(e1.payFromMarker, 438);
    EXPECT_EQ(e1.appreciationRate, 3.0f);
    EXPECT_EQ(e1.sellingExpenses, 6.0f);
    EXPECT_EQ(e1.extraPrincipal, 100.0f);
    EXPECT_EQ(e1.subtype, 2);
    EXPECT_EQ(s->events[2].kind, kEmptySlot);

    const AccountTable& t = s->accountTable;
    EXPECT_EQ(t.accountCount, 2);
    EXPECT_EQ(t.accounts[0].name.str(), "Checking");
    EXPECT_EQ(t.accounts[0].accessOrder.str(), "1");
    EXPECT_EQ(t.accounts[0].initialAmount, 5000.0f);
    EXPECT_EQ(t.accounts[0].initialRate, 1.5f);
    EXPECT_EQ(t.accounts[0].type, kInvestmentSavings);
    EXPECT_EQ(t.accounts[0].accountId, 7);
    EXPECT_EQ(t.accounts[0].group, 3);
    EXPECT_EQ(t.accounts[1].penaltyFlag, 1);
    EXPECT_EQ(t.accounts[1].slotId, 1);
    EXPECT_EQ(t.nextAccountId, 9);
    EXPECT_EQ(t.assetAllocationMinimum, 1500.0f);
    EXPECT_EQ(t.rmdMode, 2);
    EXPECT_EQ(t.assetAllocationMode, 1);

    EXPECT_EQ(s->groups.name[3].str(), "Cash");
    EXPECT_EQ(s->groups.randomMinRate[3], -2.0f);
    EXPECT_EQ(s->groups.randomMaxRate[3], 12.0f);
    EXPECT_EQ(s->groups.viewSetting, 5);
    EXPECT_EQ(s->groups.randomDistribution, 2);
    EXPECT_EQ(s->groups.w0, 4);
    EXPECT_EQ(s->groups.w2, 6);
    EXPECT_EQ(s->reportTitles.title2.str(), "Second title");
    EXPECT_EQ(s->reportTitles.useTitle2, 1);

    EXPECT_EQ(s->slots.penaltyAge[1], 55.0f);
    EXPECT_EQ(s->slots.rmdCode[1], 20);
    EXPECT_EQ(s->slots.rmdPenaltyRate, 50.0f);
    EXPECT_EQ(s->slots.rmdAccount, 7);
    EXPECT_EQ(s->slots.randomDeviation[1], 12.5f);
    EXPECT_EQ(s->slots.lifeTableValues[1][2], 25.6f);
    EXPECT_EQ(lifeTableStartAge(s->slots, 0), 70);
    EXPECT_EQ(lifeTableStartAge(s->slots, 1), 71);
    EXPECT_EQ(lifeTableStartAge(s->slots, 2), 72);
    EXPECT_EQ(s->slots.lifeTableDescription[2].str(), "Joint");

    EXPECT_EQ(s->fonts[1].height, -13);
    EXPECT_EQ(s->fonts[1].faceName.str(), "Arial");
    EXPECT_EQ(s->preferences.fontScale, 2.0f);
    EXPECT_EQ(s->preferences.windowWidth, 800);
    EXPECT_EQ(s->preferences.margins[2], 500);
    EXPECT_EQ(s->preferences.orientation, 2);

    const Budget& b = s->budgets[1];
    EXPECT_EQ(b.name.str(), "Home");
    EXPECT_EQ(b.itemCount, 2);
    EXPECT_EQ(b.startAge, 40);
    EXPECT_EQ(b.endAge, 80);
    EXPECT_EQ(b.itemName[1].str(), "Food");
    EXPECT_EQ(b.itemYearly[1], 6000.0f);
    EXPECT_EQ(b.itemTrack[1], 1);
    EXPECT_EQ(b.yearlyTotal, 9000.0f);
    EXPECT_EQ(b.active, 1);
    EXPECT_EQ(b.account, 7);

    EXPECT_EQ(s->dividends.dividendRate[1], 2.5f);
    EXPECT_EQ(s->dividends.dividendTaxable[1], 80.0f);
    EXPECT_EQ(s->dividends.dividendAccount[1], 7);
    EXPECT_EQ(s->assetClasses.name[9].str(), "Bonds");
    EXPECT_EQ(s->allocations.allocation[9][1], 40.0f);
}

TEST(EncodeScenario, ReproducesALoadedFileByteForByte) {
    FileWriter w = sampleFile();
    // Reserved stretches are carried through unchanged.
    w.bytes()[70] = 0x5A;
    w.bytes()[w.groups() + 300] = 0x77;
    w.bytes()[w.allocations() + 4000] = 0x33;
    auto s = std::make_unique<Scenario>();
    ASSERT_TRUE(decodeScenario(w.bytes(), *s).valid);
    EXPECT_EQ(encodeScenario(*s), w.bytes());
}

TEST(DecodeScenario, WorkingFileTakesTheFallbacksOfTheMissingBlocks) {
    FileWriter w = sampleFile();
    Bytes working(w.bytes().begin(), w.bytes().begin() + static_cast<long>(workingFileSize(2)));
    auto s = std::make_unique<Scenario>();
    newScenario(*s);
    s->dividends.dividendRate[4] = 9; // left over from the scenario that was open
    const DecodeResult r = decodeScenario(working, *s);
    ASSERT_TRUE(r.valid);
    EXPECT_FALSE(r.preferencesComplete);
    for (int k = 0; k < kSlots; ++k) {
        EXPECT_EQ(s->dividends.dividendRate[k], 0.0f);
        EXPECT_EQ(s->dividends.dividendTaxable[k], 100.0f);
        EXPECT_EQ(s->dividends.dividendAccount[k], -1);
        EXPECT_EQ(s->accountTable.accounts[k].slotId, k);
        EXPECT_EQ(s->slots.penaltyAge[k], 59.0f);
        EXPECT_EQ(s->slots.penaltyRate[k], 10.0f);
        EXPECT_EQ(s->slots.slotStatus[k], 0);
    }
    for (int n = 0; n < kBudgets; ++n) {
        EXPECT_EQ(s->budgets[n].name.str(), "Budget " + std::to_string(n + 1));
        EXPECT_EQ(s->budgets[n].account, -1);
    }
    EXPECT_TRUE(s->reportTitles.title2.empty());
    EXPECT_EQ(s->accountTable.accounts[0].name.str(), "Checking");
}

struct TruncationCase {
    const char* label;
    std::size_t size; // bytes kept of the two-event sample
    bool valid;
    friend void PrintTo(const TruncationCase& c, std::ostream* os) { *os << c.label; }
};

class DecodeTruncated : public testing::TestWithParam<TruncationCase> {};

TEST_P(DecodeTruncated, AcceptsFilesThatEndAfterTheAccountBlock) {
    FileWriter w = sampleFile();
    Bytes bytes(w.bytes().begin(), w.bytes().begin() + static_cast<long>(GetParam().size));
    auto s = std::make_unique<Scenario>();
    EXPECT_EQ(decodeScenario(bytes, *s).valid, GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTruncated,
    testing::Values(TruncationCase{"empty", 0, false}, TruncationCase{"header79", 79, false},
                    TruncationCase{"headerOnly", 80, false},
                    TruncationCase{"secondEventShort", 80 + 160 + 159, false},
                    TruncationCase{"accountBlockShort", workingFileSize(2) - 1, false},
                    TruncationCase{"workingFile", workingFileSize(2), true},
                    TruncationCase{"groupsShort", workingFileSize(2) + 100, true},
                    TruncationCase{"titlesShort", workingFileSize(2) + 740 + 10, true},
                    TruncationCase{"preferencesShort", completeFileSize(2) - 14000, true},
                    TruncationCase{"allocationsShort", completeFileSize(2) - 1, true},
                    TruncationCase{"complete", completeFileSize(2), true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DecodeScenario, EveryTruncationPointIsHandled) {
    FileWriter w = sampleFile();
    auto s = std::make_unique<Scenario>();
    for (std::size_t size = 0; size <= w.bytes().size(); ++size) {
        const DecodeResult r = decodeScenario(std::span(w.bytes().data(), size), *s);
        ASSERT_EQ(r.valid, size >= workingFileSize(2)) << "size " << size;
        if (r.valid) {
            ASSERT_EQ(r.preferencesComplete, size >= 7460 + 320) << "size " << size;
        }
    }
}

struct CountCase {
    const char* label;
    std::size_t offset; // where the count is stored in the two-event sample
    std::int16_t value;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.label; }
};

class DecodeBadCount : public testing::TestWithParam<CountCase> {};

TEST_P(DecodeBadCount, CountsThatDoNotFitMakeTheFileInvalid) {
    FileWriter w = sampleFile();
    w.i16(GetParam().offset, GetParam().value);
    // Room for as many events as a header may announce, so only the count itself is wrong.
    w.bytes().resize(w.bytes().size() + 160 * 200);
    auto s = std::make_unique<Scenario>();
    EXPECT_FALSE(decodeScenario(w.bytes(), *s).valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeBadCount,
    testing::Values(CountCase{"negativeEvents", 0, -1}, CountCase{"tooManyEvents", 0, 151},
                    CountCase{"negativeAccounts", 80 + 320, -3},
                    CountCase{"tooManyAccounts", 80 + 320, 51},
                    CountCase{"budgetItems", 7460 + 320 + 30, 31},
                    CountCase{"negativeBudgetItems", 7460 + 320 + 1398 * 4 + 30, -1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DecodeScenario, RandomBytesNeverCrashTheLoader) {
    std::mt19937 random(20261208);
    auto s = std::make_unique<Scenario>();
    FileWriter w = sampleFile();
    for (int round = 0; round < 300; ++round) {
        Bytes bytes = w.bytes();
        bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size() + 500)(random));
        const int flips = std::uniform_int_distribution<int>(1, 200)(random);
        for (int f = 0; f < flips && !bytes.empty(); ++f)
            bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] =
                static_cast<std::uint8_t>(random());
        const DecodeResult r = decodeScenario(bytes, *s);
        if (r.valid) {
            EXPECT_GE(s->eventCount, 0);
            EXPECT_LE(s->eventCount, kEventSlots);
            EXPECT_GE(s->accountTable.accountCount, 0);
            EXPECT_LE(s->accountTable.accountCount, kMaxAccounts);
            for (const Account& a : s->accountTable.accounts)
                EXPECT_TRUE(a.slotId >= 0 && a.slotId < kSlots);
            encodeScenario(*s);
        }
    }
}

struct GroupCase {
    const char* label;
    float min, max;
    float expectedMin, expectedMax;
    friend void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.label; }
};

class DecodeGroupRates : public testing::TestWithParam<GroupCase> {};

TEST_P(DecodeGroupRates, OutOfRangeOrCrossedRatesLoadAsZero) {
    const GroupCase& c = GetParam();
    FileWriter w = sampleFile();
    w.f32(w.groups() + 210, c.min);
    w.f32(w.groups() + 250, c.max);
    auto s = std::make_unique<Scenario>();
    ASSERT_TRUE(decodeScenario(w.bytes(), *s).valid);
    EXPECT_EQ(s->groups.randomMinRate[0], c.expectedMin);
    EXPECT_EQ(s->groups.randomMaxRate[0], c.expectedMax);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeGroupRates,
                         testing::Values(GroupCase{"inRange", -50, 100, -50, 100},
                                         GroupCase{"crossed", 20, 10, 0, 0},
                                         GroupCase{"maxTooHighLeavesMinAboveIt", 5, 150, 0, 0},
                                         GroupCase{"maxTooHigh", -5, 150, -5, 0},
                                         GroupCase{"minTooLow", -51, 5, 0, 5},
                                         GroupCase{"bothOutOfRange", -70, 101, 0, 0},
                                         GroupCase{"notANumber", std::nanf(""), 5, 0, 5}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(DecodeScenario, ClampsOnlyTheWideningOfTheChosenDistribution) {
    struct Case {
        std::int16_t distribution, w0, w2, expectedW0, expectedW2;
    };
    for (const Case c : {Case{2, 15, 15, 15, 10}, Case{0, 15, -3, 10, -3}, Case{1, 15, 15, 15, 15},
                         Case{0, -4, 2, 0, 2}}) {
        FileWriter w = sampleFile();
        w.i16(w.groups() + 456, c.distribution);
        w.i16(w.groups() + 460, c.w0);
        w.i16(w.groups() + 462, c.w2);
        auto s = std::make_unique<Scenario>();
        ASSERT_TRUE(decodeScenario(w.bytes(), *s).valid);
        EXPECT_EQ(s->groups.w0, c.expectedW0) << "distribution " << c.distribution;
        EXPECT_EQ(s->groups.w2, c.expectedW2) << "distribution " << c.distribution;
    }
}

TEST(DecodeScenario, NamesEmptyBudgetsOnlyWhenMoreThanOneBudgetArrived) {
    FileWriter w = sampleFile();
    w.text(w.budget(3), std::string(30, '\0'));
    auto s = std::make_unique<Scenario>();
    ASSERT_TRUE(decodeScenario(w.bytes(), *s).valid);
    EXPECT_EQ(s->budgets[3].name.str(), "Budget 4");
    EXPECT_EQ(s->budgets[1].name.str(), "Home");
}

// Collects what an operation reports and answers questions as told.
class RecordingNotifier : public Notifier {
  public:
    explicit RecordingNotifier(bool answer = false) : m_answer(answer) {}
    void notify(const Message& m) override { messages.push_back(m); }
    bool confirm(const Message& q) override {
        questions.push_back(q);
        return m_answer;
    }
    std::vector<Message> messages;
    std::vector<Message> questions;

  private:
    bool m_answer;
};

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(LoadScenario, AFileThatCannotBeOpenedChangesNothing) {
    test::TempDir dir;
    auto doc = makeNewDocument();
    doc->scenario.eventCount = 1;
    doc->openPath = doc->savePath = "mine.ret";
    for (const std::string& path : {dir.file("missing.ret"), dir.path().string()}) {
        const Status loaded = loadScenario(*doc, path);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.message().id, kMessageCannotOpen); // start-up shows nothing for it
    }
    EXPECT_EQ(doc->scenario.eventCount, 1);
    EXPECT_EQ(doc->openPath, "mine.ret");
}

TEST(LoadScenario, AnInvalidFileIsReportedAndResetsTheScenario) {
    test::TempDir dir;
    const std::string path = dir.file("short.ret");
    writeBytes(path, Bytes(79, 0));
    auto doc = makeNewDocument();
    doc->scenario.eventCount = 1;
    const Status loaded = loadScenario(*doc, path);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.message().text,
              path + " doesn't seem to be a valid Vantrel Financial Planner file.");
    EXPECT_EQ(loaded.message().caption, "FILE WARNING");
    EXPECT_EQ(loaded.message().id, kMessageInvalidFile);
    EXPECT_EQ(doc->scenario.eventCount, 0);
    EXPECT_EQ(doc->openPath, "tmp01.ret");
    EXPECT_EQ(doc->savePath, "tmp01.ret");
}

TEST(SaveAndLoad, RoundTripKeepsEveryByte) {
    test::TempDir dir;
    FileWriter w = sampleFile();
    const std::string original = dir.file("original.ret");
    writeBytes(original, w.bytes());
    auto doc = makeNewDocument();
    RecordingNotifier notifier;
    ASSERT_TRUE(loadScenario(*doc, original).ok());
    EXPECT_EQ(doc->openPath, original);
    EXPECT_TRUE(doc->needsRun);
    EXPECT_FALSE(doc->modified);

    doc->modified = true;
    ASSERT_TRUE(saveScenarioAs(*doc, dir.file("copy.ret"), notifier).ok());
    EXPECT_FALSE(doc->modified);
    EXPECT_EQ(doc->openPath, dir.file("copy.ret"));
    EXPECT_EQ(readBytes(dir.file("copy.ret")), w.bytes());
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("copy.ret.saving")));
}

TEST(SaveScenarioAs, AsksBeforeOverwritingAndNoWritesNothing) {
    test::TempDir dir;
    const std::string path = dir.file("existing.ret");
    writeBytes(path, Bytes{1, 2, 3});
    auto doc = makeNewDocument();

    RecordingNotifier no(false);
    const Status declined = saveScenarioAs(*doc, path, no);
    ASSERT_FALSE(declined.ok());
    EXPECT_EQ(declined.message().id, kMessageDeclined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, path + " exits - Overwrite anyway?");
    EXPECT_EQ(no.questions[0].caption, "FILE WARNING");
    EXPECT_EQ(readBytes(path), (Bytes{1, 2, 3}));

    RecordingNotifier yes(true);
    EXPECT_TRUE(saveScenarioAs(*doc, path, yes).ok());
    EXPECT_EQ(readBytes(path).size(), completeFileSize(0));
}

TEST(SaveScenario, AFailedSaveKeepsWhatWasThereAndSaysSo) {
    test::TempDir dir;
    // A save path that cannot be replaced: a directory holding a file.
    const std::string target = dir.file("target.ret");
    std::filesystem::create_directory(target);
    writeBytes(dir.file("target.ret/keep"), Bytes{9});
    auto doc = makeNewDocument();
    doc->savePath = target;
    doc->modified = true;
    const Status saved = saveScenario(*doc);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.message().text, "Cannot open file!");
    EXPECT_EQ(saved.message().caption, "FILE ERROR");
    EXPECT_TRUE(doc->modified);
    EXPECT_EQ(readBytes(dir.file("target.ret/keep")), Bytes{9});
    EXPECT_FALSE(std::filesystem::exists(target + ".saving"));

    RecordingNotifier cannotCreate;
    const Status uncreated = saveScenarioAs(*doc, dir.file("no/such/dir.ret"), cannotCreate);
    ASSERT_FALSE(uncreated.ok());
    EXPECT_EQ(uncreated.message().text, "Cannot open file!");
    EXPECT_EQ(doc->savePath, target);
}

TEST(CreateWorkingFile, WritesHeaderEventsAndAccountsOnly) {
    test::TempDir dir;
    auto doc = makeNewDocument();
    doc->scenario.eventCount = 2;
    const std::string path = workingFilePath(dir.path().string(), 0);
    EXPECT_EQ(std::filesystem::path(path).filename(), "temp01.ret");
    ASSERT_TRUE(createWorkingFile(*doc, path).ok());
    EXPECT_EQ(doc->openPath, path);
    EXPECT_EQ(doc->savePath, path);
    const Bytes bytes = readBytes(path);
    EXPECT_EQ(bytes.size(), workingFileSize(2));
    EXPECT_EQ(bytes[0], 2);

    const Status created = createWorkingFile(*doc, dir.file("no/such/temp01.ret"));
    ASSERT_FALSE(created.ok());
    EXPECT_EQ(created.message().text, "Cannot open temporary file!");
}

} // namespace
} // namespace finplan
