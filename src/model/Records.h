#pragma once

// The scenario's records with the fields, widths and order of the scenario file: f32 amounts,
// rates (in percent) and ages, i16 flags, codes and references, fixed text fields, and the
// reserved stretches that a load and save carry unchanged. Single precision is part of the
// results, so the engine computes in f32 where these do.
//
// In memory the records keep their natural alignment; `describe` lists each record's fields in
// file order, and the codec (model/RecordCodec.h) reads and writes them byte for byte from it.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "model/FixedText.h"

namespace finplan {

inline constexpr int kEventSlots = 150;
inline constexpr int kMaxAccounts = 50;
inline constexpr int kSlots = 50;
inline constexpr int kGroups = 10;
inline constexpr int kBudgets = 5;
inline constexpr int kBudgetItems = 30;
inline constexpr int kLifeTables = 3;
inline constexpr int kLifeTableValues = 30;
inline constexpr int kAssetClasses = 10;
inline constexpr int kFonts = 3;

// The marker of an event's `termYears` or `payFromMarker`: take the money from the chosen account.
inline constexpr std::int16_t kFromChosenAccount = 438;
// `slotStatus` values.
inline constexpr std::int16_t kSlotInUse = 0;
inline constexpr std::int16_t kSlotInAllocation = 1;
inline constexpr std::int16_t kSlotFree = 9999;

enum EventKind : std::int16_t {
    kBudgetEvent = -2,
    kRequiredDistribution = -1,
    kNoAction = 0,
    kRateChange = 1,
    kDeposit = 2,
    kLoan = 3,
    kMortgage = 4,
    kTransfer = 5,
    kWithdrawal = 6,
    kAssetAllocation = 7,
    kEmptySlot = 99,
};

enum AccountType : std::int16_t {
    kAsset = 0,
    kEquity = 1,
    kInvestmentSavings = 2,
    kRetirementSavings = 3,
    kTaxFreeSavings = 4,
};

inline constexpr std::int16_t kCreditCardMarker =
    -1000; // `inflationAdjust` of a kind-3 credit card
inline constexpr std::int16_t kRule72TSubtype = 72;
inline constexpr std::int16_t kBudgetWithdrawalSubtype = 1;

struct InitialValues {
    std::int16_t eventCount;
    float reserved0;
    float initialInvestment;
    float initialTaxFree;
    float initialRetirement;
    float initialEquity;
    float initialAssets;
    float startAge;
    float endAge;
    std::int16_t useBirthday;
    float inflationRate;
    float equityAppreciationRate;
    float assetDepreciationRate;
    float taxRate;
    float reserved1;
    float investmentRate;
    float taxFreeRate;
    float retirementRate;
    std::int16_t netWorthInTodaysDollars;
    std::uint8_t reserved2[6];
    std::int16_t birthMonth;
    std::int16_t birthDay;
};

struct FinancialEvent {
    std::int16_t listLine;
    float startAge;
    float endAge;
    float adjustRate;
    std::int16_t oneTime;
    std::int16_t kind;
    float amount;
    std::int16_t beforeTax;
    std::int16_t account;
    std::int16_t inflationAdjust;
    float currentAmount;
    float downPayment;
    float monthlyPayment;
    float interestRate;
    std::int16_t termYears;
    float runBalance;
    float principalPaid;
    float interestPaid;
    std::int16_t payFromMarker;
    float appreciationRate;
    std::int16_t budgetNo;
    std::int16_t allFunds;
    std::int16_t runState;
    FixedText<64> name;
    float propertyTax;
    float closingCosts;
    float sellingExpenses;
    float extraPrincipal;
    std::int16_t todaysDollars;
    std::int16_t reserved;
    std::int16_t paidOffFlag;
    std::int16_t subtype;
    std::int16_t paymentAccount;
};

struct Account {
    FixedText<30> name;
    FixedText<4> accessOrder;
    float balance;
    float rate;
    float initialAmount;
    float initialRate;
    std::int16_t type;
    float randomMinRate;
    float randomMaxRate;
    std::int16_t accountId;
    std::int16_t penaltyFlag;
    float statLowRate;
    float statHighRate;
    float statRateSum;
    std::int16_t reserved;
    std::int16_t group;
    std::int16_t slotId;
};

// Block 3: the account table and its trailer.
struct AccountTable {
    std::int16_t accountCount;
    Account accounts[kMaxAccounts];
    std::int32_t nextAccountId;
    float assetAllocationMinimum;
    float assetAllocationStartAge;
    std::uint8_t reserved0[4];
    std::int16_t rmdMode;
    std::uint8_t reserved1[2];
    std::int16_t assetAllocationMode;
};

// Block 4: the ten account groups, column by column, and the random-rate settings.
struct GroupsBlock {
    FixedText<21> name[kGroups];
    float randomMinRate[kGroups];
    float randomMaxRate[kGroups];
    std::uint8_t reserved0[162];
    std::int16_t viewSetting;
    std::uint8_t reserved1[2];
    std::int16_t randomDistribution;
    std::uint8_t reserved2[2];
    std::int16_t w0;
    std::int16_t w2;
    std::uint8_t reserved3[276];
};

// Block 5.
struct ReportTitles {
    FixedText<60> title1;
    FixedText<60> title2;
    FixedText<60> title3;
    std::int16_t useTitle1;
    std::int16_t useTitle2;
    std::int16_t useTitle3;
    std::uint8_t reserved[60];
};

// Block 6: per-slot tables (indexed by an account's `slotId`) and the RMD settings with the
// three life-expectancy tables, whose fields lie scattered through the block.
struct SlotSettings {
    float penaltyAge[kSlots];
    float penaltyRate[kSlots];
    float drawCount[kSlots];
    std::int16_t slotStatus[kSlots];
    std::int16_t firstPenaltyAge[kSlots];
    std::int16_t rmdCode[kSlots];
    std::int32_t lifeTable1StartAge;
    float rmdAmount;
    std::uint8_t reserved0[4];
    float rmdPenaltyRate;
    std::int16_t rmdAccount;
    std::uint8_t reserved1[120];
    float randomDeviation[kSlots];
    std::int16_t slotAux[kSlots];
    float lifeTableValues[kLifeTables][kLifeTableValues];
    std::int32_t lifeTable23StartAge[2];
    std::uint8_t reserved2[32];
    FixedText<32> lifeTableDescription[kLifeTables];
    std::uint8_t reserved3[104];
};

// Blocks 7 to 9: the windowing system's logical-font record.
struct FontRecord {
    std::int32_t height;
    std::int32_t width;
    std::int32_t escapement;
    std::int32_t orientation;
    std::int32_t weight;
    std::uint8_t italic;
    std::uint8_t underline;
    std::uint8_t strikeOut;
    std::uint8_t charSet;
    std::uint8_t outPrecision;
    std::uint8_t clipPrecision;
    std::uint8_t quality;
    std::uint8_t pitchAndFamily;
    FixedText<32> faceName;
};

// Block 10, also the whole content of the preferences file.
struct Preferences {
    std::int32_t windowLeft;
    std::int32_t windowTop;
    std::int32_t reportColumns;
    std::int32_t screenBanding;
    std::int32_t reportBanding;
    std::int32_t hideMakerFolder;
    std::int32_t reportBoxes;
    std::int32_t defaultFonts;
    std::int32_t defaultFonts2;
    std::int32_t fontSwitch;
    float fontScale;
    std::uint8_t reserved[80];
    std::int32_t windowWidth;
    std::int32_t windowHeight;
    std::int32_t margins[4]; // left, top, right, bottom in thousandths of an inch
    std::int32_t orientation;
};

// One of the five budgets of block 11; items are stored column by column.
struct Budget {
    FixedText<30> name;
    std::int16_t itemCount;
    std::int16_t startAge;
    std::int16_t endAge;
    FixedText<21> itemName[kBudgetItems];
    float itemYearly[kBudgetItems];
    float itemAmount[kBudgetItems];
    float itemWorking[kBudgetItems];
    float itemRate[kBudgetItems];
    std::int16_t itemMonthly[kBudgetItems];
    std::int16_t itemInflation[kBudgetItems];
    std::uint8_t reserved[60];
    std::int16_t itemTrack[kBudgetItems];
    float yearlyTotal;
    std::int16_t active;
    std::int16_t todaysDollars;
    std::int32_t account; // the low 16 bits are an accountId
};

// Block 12, indexed by `slotId`.
struct DividendBlock {
    float dividendRate[kSlots];
    float dividendTaxable[kSlots];
    std::int16_t dividendAccount[kSlots];
    std::uint8_t reserved[600];
};

// Block 13.
struct AssetClassBlock {
    std::uint8_t reserved[576];
    FixedText<21> name[kAssetClasses];
};

// Block 14: per asset class, the share of each slot's account held in it, in percent.
struct AllocationBlock {
    float allocation[kAssetClasses][kSlots];
    std::uint8_t reserved[3060];
};

// `describe(record, visitor)` calls visitor(name, field) for each field in file order; reserved
// stretches are named kReserved. One template serves const and mutable records.
inline constexpr const char* kReserved = nullptr;

#define FINPLAN_DESCRIBE(Type)                                                                     \
    template <class R, class V>                                                                    \
    requires std::same_as<std::remove_const_t<R>, Type>                                            \
    constexpr void describe(R& r, V&& v)

FINPLAN_DESCRIBE(InitialValues) {
    v("eventCount", r.eventCount);
    v(kReserved, r.reserved0);
    v("initialInvestment", r.initialInvestment);
    v("initialTaxFree", r.initialTaxFree);
    v("initialRetirement", r.initialRetirement);
    v("initialEquity", r.initialEquity);
    v("initialAssets", r.initialAssets);
    v("startAge", r.startAge);
    v("endAge", r.endAge);
    v("useBirthday", r.useBirthday);
    v("inflationRate", r.inflationRate);
    v("equityAppreciationRate", r.equityAppreciationRate);
    v("assetDepreciationRate", r.assetDepreciationRate);
    v("taxRate", r.taxRate);
    v(kReserved, r.reserved1);
    v("investmentRate", r.investmentRate);
    v("taxFreeRate", r.taxFreeRate);
    v("retirementRate", r.retirementRate);
    v("netWorthInTodaysDollars", r.netWorthInTodaysDollars);
    v(kReserved, r.reserved2);
    v("birthMonth", r.birthMonth);
    v("birthDay", r.birthDay);
}

FINPLAN_DESCRIBE(FinancialEvent) {
    v("listLine", r.listLine);
    v("startAge", r.startAge);
    v("endAge", r.endAge);
    v("adjustRate", r.adjustRate);
    v("oneTime", r.oneTime);
    v("kind", r.kind);
    v("amount", r.amount);
    v("beforeTax", r.beforeTax);
    v("account", r.account);
    v("inflationAdjust", r.inflationAdjust);
    v("currentAmount", r.currentAmount);
    v("downPayment", r.downPayment);
    v("monthlyPayment", r.monthlyPayment);
    v("interestRate", r.interestRate);
    v("termYears", r.termYears);
    v("runBalance", r.runBalance);
    v("principalPaid", r.principalPaid);
    v("interestPaid", r.interestPaid);
    v("payFromMarker", r.payFromMarker);
    v("appreciationRate", r.appreciationRate);
    v("budgetNo", r.budgetNo);
    v("allFunds", r.allFunds);
    v("runState", r.runState);
    v("name", r.name);
    v("propertyTax", r.propertyTax);
    v("closingCosts", r.closingCosts);
    v("sellingExpenses", r.sellingExpenses);
    v("extraPrincipal", r.extraPrincipal);
    v("todaysDollars", r.todaysDollars);
    v(kReserved, r.reserved);
    v("paidOffFlag", r.paidOffFlag);
    v("subtype", r.subtype);
    v("paymentAccount", r.paymentAccount);
}

FINPLAN_DESCRIBE(Account) {
    v("name", r.name);
    v("accessOrder", r.accessOrder);
    v("balance", r.balance);
    v("rate", r.rate);
    v("initialAmount", r.initialAmount);
    v("initialRate", r.initialRate);
    v("type", r.type);
    v("randomMinRate", r.randomMinRate);
    v("randomMaxRate", r.randomMaxRate);
    v("accountId", r.accountId);
    v("penaltyFlag", r.penaltyFlag);
    v("statLowRate", r.statLowRate);
    v("statHighRate", r.statHighRate);
    v("statRateSum", r.statRateSum);
    v(kReserved, r.reserved);
    v("group", r.group);
    v("slotId", r.slotId);
}

FINPLAN_DESCRIBE(AccountTable) {
    v("accountCount", r.accountCount);
    v("accounts", r.accounts);
    v("nextAccountId", r.nextAccountId);
    v("assetAllocationMinimum", r.assetAllocationMinimum);
    v("assetAllocationStartAge", r.assetAllocationStartAge);
    v(kReserved, r.reserved0);
    v("rmdMode", r.rmdMode);
    v(kReserved, r.reserved1);
    v("assetAllocationMode", r.assetAllocationMode);
}

FINPLAN_DESCRIBE(GroupsBlock) {
    v("name", r.name);
    v("randomMinRate", r.randomMinRate);
    v("randomMaxRate", r.randomMaxRate);
    v(kReserved, r.reserved0);
    v("viewSetting", r.viewSetting);
    v(kReserved, r.reserved1);
    v("randomDistribution", r.randomDistribution);
    v(kReserved, r.reserved2);
    v("w0", r.w0);
    v("w2", r.w2);
    v(kReserved, r.reserved3);
}

FINPLAN_DESCRIBE(ReportTitles) {
    v("title1", r.title1);
    v("title2", r.title2);
    v("title3", r.title3);
    v("useTitle1", r.useTitle1);
    v("useTitle2", r.useTitle2);
    v("useTitle3", r.useTitle3);
    v(kReserved, r.reserved);
}

FINPLAN_DESCRIBE(SlotSettings) {
    v("penaltyAge", r.penaltyAge);
    v("penaltyRate", r.penaltyRate);
    v("drawCount", r.drawCount);
    v("slotStatus", r.slotStatus);
    v("firstPenaltyAge", r.firstPenaltyAge);
    v("rmdCode", r.rmdCode);
    v("lifeTable1StartAge", r.lifeTable1StartAge);
    v("rmdAmount", r.rmdAmount);
    v(kReserved, r.reserved0);
    v("rmdPenaltyRate", r.rmdPenaltyRate);
    v("rmdAccount", r.rmdAccount);
    v(kReserved, r.reserved1);
    v("randomDeviation", r.randomDeviation);
    v("slotAux", r.slotAux);
    v("lifeTableValues", r.lifeTableValues);
    v("lifeTable23StartAge", r.lifeTable23StartAge);
    v(kReserved, r.reserved2);
    v("lifeTableDescription", r.lifeTableDescription);
    v(kReserved, r.reserved3);
}

FINPLAN_DESCRIBE(FontRecord) {
    v("height", r.height);
    v("width", r.width);
    v("escapement", r.escapement);
    v("orientation", r.orientation);
    v("weight", r.weight);
    v("italic", r.italic);
    v("underline", r.underline);
    v("strikeOut", r.strikeOut);
    v("charSet", r.charSet);
    v("outPrecision", r.outPrecision);
    v("clipPrecision", r.clipPrecision);
    v("quality", r.quality);
    v("pitchAndFamily", r.pitchAndFamily);
    v("faceName", r.faceName);
}

FINPLAN_DESCRIBE(Preferences) {
    v("windowLeft", r.windowLeft);
    v("windowTop", r.windowTop);
    v("reportColumns", r.reportColumns);
    v("screenBanding", r.screenBanding);
    v("reportBanding", r.reportBanding);
    v("hideMakerFolder", r.hideMakerFolder);
    v("reportBoxes", r.reportBoxes);
    v("defaultFonts", r.defaultFonts);
    v("defaultFonts2", r.defaultFonts2);
    v("fontSwitch", r.fontSwitch);
    v("fontScale", r.fontScale);
    v(kReserved, r.reserved);
    v("windowWidth", r.windowWidth);
    v("windowHeight", r.windowHeight);
    v("margins", r.margins);
    v("orientation", r.orientation);
}

FINPLAN_DESCRIBE(Budget) {
    v("name", r.name);
    v("itemCount", r.itemCount);
    v("startAge", r.startAge);
    v("endAge", r.endAge);
    v("itemName", r.itemName);
    v("itemYearly", r.itemYearly);
    v("itemAmount", r.itemAmount);
    v("itemWorking", r.itemWorking);
    v("itemRate", r.itemRate);
    v("itemMonthly", r.itemMonthly);
    v("itemInflation", r.itemInflation);
    v(kReserved, r.reserved);
    v("itemTrack", r.itemTrack);
    v("yearlyTotal", r.yearlyTotal);
    v("active", r.active);
    v("todaysDollars", r.todaysDollars);
    v("account", r.account);
}

FINPLAN_DESCRIBE(DividendBlock) {
    v("dividendRate", r.dividendRate);
    v("dividendTaxable", r.dividendTaxable);
    v("dividendAccount", r.dividendAccount);
    v(kReserved, r.reserved);
}

FINPLAN_DESCRIBE(AssetClassBlock) {
    v(kReserved, r.reserved);
    v("name", r.name);
}

FINPLAN_DESCRIBE(AllocationBlock) {
    v("allocation", r.allocation);
    v(kReserved, r.reserved);
}

#undef FINPLAN_DESCRIBE

} // namespace finplan
