#include "forms/AccountForm.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "forms/FieldChecks.h"
#include "forms/Latin1Text.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

// The account dialog reads at most 11 characters of a field.
constexpr std::size_t kAccountFieldChars = 11;

int accountCount(const Scenario& s) {
    return std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
}

int slotOf(const Account& a) {
    return a.slotId >= 0 && a.slotId < kSlots ? a.slotId : -1;
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A real checked against its bounds with the message that names them.
Status checkReal(std::string_view text, float minimum, float maximum, int code,
                 std::string_view caption, std::string_view field, float& out) {
    const NumberTextCheck check = checkNumberText(text.substr(0, kAccountFieldChars), true, minimum,
                                                  maximum, code, caption, field);
    if (check.status.ok())
        out = *check.value;
    return check.status;
}

} // namespace

Message accountTableFull() {
    return {"Maximum number of accounts reached!", "Account Warning", MessageKind::Warning};
}

bool penaltyAllowed(int type) {
    return type == kRetirementSavings || type == kTaxFreeSavings;
}

void chooseAccountType(AccountForm& f, int type) {
    f.type = type;
    if (!penaltyAllowed(type))
        f.penalty = false;
}

std::vector<GroupChoice> groupChoices(const Scenario& s) {
    std::vector<GroupChoice> choices;
    for (int g = 0; g < kGroups; ++g)
        if (s.groups.name[g].view().size() >= 2)
            choices.push_back({g, s.groups.name[g].str()});
    std::stable_sort(choices.begin(), choices.end(),
                     [](const GroupChoice& a, const GroupChoice& b) {
                         return lessIgnoringCase(a.name, b.name);
                     });
    return choices;
}

bool isNewAccount(const Scenario& s, int position) {
    return position == accountCount(s);
}

std::vector<std::string> rmdTableChoices(const Scenario& s) {
    std::vector<std::string> choices{"None"};
    for (int table = 1; table <= kLifeTables; ++table)
        choices.push_back(
            formatText("Table %d: %s", table, s.slots.lifeTableDescription[table - 1].str()));
    return choices;
}

AccountForm accountForm(const Scenario& s, int position) {
    const Account& a = s.accountTable.accounts[std::clamp(position, 0, kMaxAccounts - 1)];
    AccountForm f;
    f.name = latin1AsUtf8(a.name.view());
    f.initialAmount = formatText("%-13.2f", a.initialAmount);
    f.initialRate = formatText("%-8.3f", a.initialRate);
    f.randomMinRate = formatText("%-8.3f", a.randomMinRate);
    f.randomMaxRate = formatText("%-8.3f", a.randomMaxRate);
    f.accessOrder = a.accessOrder.str();
    f.type = a.type >= kAsset && a.type <= kTaxFreeSavings ? int{a.type} : int{kAsset};
    f.group = a.group >= 0 && a.group < kGroups ? a.group : -1;
    f.penalty = penaltyAllowed(f.type) && a.penaltyFlag == 1;
    const int slot = slotOf(a);
    f.penaltyRate = formatText("%-8.3f", slot < 0 ? 10.0f : s.slots.penaltyRate[slot]);
    f.penaltyAge = formatText("%-6.2f", slot < 0 ? 59.0f : s.slots.penaltyAge[slot]);
    f.rmdTable = slot < 0 ? 0 : std::clamp(s.slots.rmdCode[slot] / 10, 0, kLifeTables);
    return f;
}

Result<int> beginNewAccount(Scenario& s, const Account* filled) {
    const int position = accountCount(s);
    if (position >= kMaxAccounts)
        return accountTableFull();
    Account& a = s.accountTable.accounts[position];
    const std::int16_t keptSlot = a.slotId;
    if (filled) {
        a = *filled;
    } else {
        a = Account{};
        a.accessOrder.assign(" ");
    }
    a.slotId = keptSlot;
    a.type = filled ? a.type : static_cast<std::int16_t>(kAsset);
    a.penaltyFlag = filled ? a.penaltyFlag : std::int16_t{0};
    allocateSlot(s);
    return position;
}

Status acceptAccount(const AccountForm& f, Scenario& s, int position) {
    const int count = accountCount(s);
    if (position < 0 || position > count)
        return Status(accountTableFull());
    if (position == kMaxAccounts)
        return Status(accountTableFull());
    Account a = s.accountTable.accounts[position];

    const std::optional<std::string> name =
        utf8ToLatin1Strict(utf8Prefix(f.name, kAccountNameChars));
    if (!name)
        return Status(Message{"The account name holds characters that cannot be stored.",
                              "NAME ERROR", MessageKind::Error, 0, "name"});
    float amount = 0, rate = 0, minRate = 0, maxRate = 0, penaltyRate = 0, penaltyAge = 0;
    const struct {
        const std::string& text;
        float minimum, maximum;
        int code;
        const char* caption;
        const char* field;
        float& out;
    } checks[] = {
        {f.initialAmount, -1e8f, 1e8f, 2, "AMOUNT ERROR", "initialAmount", amount},
        {f.initialRate, -200, 200, 11, "RATE ERROR", "initialRate", rate},
        {f.randomMinRate, -200, 200, 11, "RATE ERROR", "randomMinRate", minRate},
        {f.randomMaxRate, -200, 200, 11, "RATE ERROR", "randomMaxRate", maxRate},
        {f.penaltyRate, -200, 200, 11, "RATE ERROR", "penaltyRate", penaltyRate},
        {f.penaltyAge, 0, 120, 3, "PENALTY AGE ERROR", "penaltyAge", penaltyAge},
    };
    for (const auto& c : checks)
        if (Status check =
                checkReal(c.text, c.minimum, c.maximum, c.code, c.caption, c.field, c.out);
            !check.ok())
            return check;

    a.name.assign(*name);
    a.initialAmount = a.balance = amount;
    a.initialRate = a.rate = rate;
    a.randomMinRate = minRate;
    a.randomMaxRate = maxRate;
    a.accessOrder.assign(std::string_view(f.accessOrder).substr(0, kAccessOrderChars));
    a.type = static_cast<std::int16_t>(std::clamp(f.type, 0, 4));
    a.penaltyFlag = penaltyAllowed(a.type) && f.penalty ? 1 : 0;
    if (f.group >= 0 && f.group < kGroups)
        a.group = static_cast<std::int16_t>(f.group);

    // Slot numbers are made distinct first: the edited record may be the one that moves.
    repairSlots(s);
    a.slotId = s.accountTable.accounts[position].slotId;
    s.accountTable.accounts[position] = a;
    const int slot = a.slotId;
    s.slots.penaltyRate[slot] = penaltyRate;
    s.slots.penaltyAge[slot] = std::trunc(penaltyAge);
    if (position == count)
        allocateAccountId(s);
    s.slots.slotStatus[slot] = kSlotInUse;
    // The tens digit names the table; the units digit is the distribution routine's own.
    const int table = std::clamp(f.rmdTable, 0, kLifeTables);
    if (s.slots.rmdCode[slot] / 10 != table) {
        s.slots.rmdCode[slot] = static_cast<std::int16_t>(table * 10);
        rebuildDerivedEvents(s);
    }
    return Status();
}

DividendForm dividendForm(const Scenario& s, int position) {
    const Account& a = s.accountTable.accounts[std::clamp(position, 0, kMaxAccounts - 1)];
    const int slot = slotOf(a);
    DividendForm f;
    f.rate = formatText("%-6.2f", slot < 0 ? 0.0f : s.dividends.dividendRate[slot]);
    f.taxable = formatText("%-6.2f", slot < 0 ? 0.0f : s.dividends.dividendTaxable[slot]);
    f.account = slot < 0 ? -1 : s.dividends.dividendAccount[slot];
    return f;
}

void acceptDividend(const DividendForm& f, Scenario& s, int position) {
    const int slot = slotOf(s.accountTable.accounts[std::clamp(position, 0, kMaxAccounts - 1)]);
    if (slot < 0)
        return;
    s.dividends.dividendRate[slot] = static_cast<float>(leadingNumber(f.rate));
    s.dividends.dividendTaxable[slot] = static_cast<float>(leadingNumber(f.taxable));
    s.dividends.dividendAccount[slot] = static_cast<std::int16_t>(f.account < 0 ? 0 : f.account);
}

} // namespace finplan
