#include "forms/DistributionOptionsForm.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/Money.h"
#include "forms/EventForm.h"
#include "forms/FieldChecks.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

// What the window shows where a table holds 0: the uniform lifetime periods for ages 70..99
// as the IRS published them in 2002.
constexpr float kTemplateValues[kLifeTableValues] = {
    27.4f, 26.5f, 25.6f, 24.7f, 23.8f, 22.9f, 22.0f, 21.2f, 20.3f, 19.5f,
    18.7f, 17.9f, 17.1f, 16.3f, 15.5f, 14.8f, 14.1f, 13.4f, 12.7f, 12.0f,
    11.4f, 10.8f, 10.2f, 9.6f,  9.1f,  8.6f,  8.1f,  7.6f,  7.1f,  6.7f};

// Characters read from the description ("text 30") and from the age and value fields.
constexpr std::size_t kDescriptionRead = 29;
constexpr std::size_t kNumberRead = 12;

std::string head(const std::string& text, std::size_t chars) {
    return text.substr(0, std::min(chars, text.size()));
}

std::string valueText(float value) {
    return compactNumber(formatText("%4.1f", static_cast<double>(value)));
}

Message valueWarning(std::string text) {
    return {std::move(text), "Probable RMD Value Error", MessageKind::Warning};
}

// "age,value" or "age1,age2,value" rows after a header row.
using IrsTable = std::map<std::pair<int, int>, float>;
Result<IrsTable> readIrsTable(const std::string& dataDir, const char* name, bool joint) {
    const std::filesystem::path path = std::filesystem::path(dataDir) / name;
    std::ifstream in(path);
    if (!in)
        return Message{
            formatText("The IRS table file %s cannot be read.\nIt belongs in %s.", name, dataDir),
            "Life Expectancy Table", MessageKind::Error, kMessageCannotOpen};
    IrsTable table;
    std::string line;
    std::getline(in, line); // the column titles
    while (std::getline(in, line)) {
        const std::size_t first = line.find(',');
        if (first == std::string::npos)
            continue;
        const std::size_t second = joint ? line.find(',', first + 1) : first;
        if (second == std::string::npos)
            continue;
        const int age1 = leadingInteger(line);
        const int age2 = joint ? leadingInteger(std::string_view(line).substr(first + 1)) : 0;
        table[{age1, age2}] =
            static_cast<float>(leadingNumber(std::string_view(line).substr(second + 1)));
    }
    if (table.empty())
        return Message{formatText("The IRS table file %s holds no values.", name),
                       "Life Expectancy Table", MessageKind::Error, kMessageInvalidFile};
    return table;
}

} // namespace

DistributionOptionsForm distributionOptionsForm(const Scenario& s) {
    DistributionOptionsForm form;
    const int mode = s.accountTable.rmdMode;
    form.mode = mode == 1 || mode == 2 ? mode : 3;
    form.penaltyRate = s.slots.rmdPenaltyRate != 0
                           ? formatText("%-6.2f", static_cast<double>(s.slots.rmdPenaltyRate))
                           : std::string("50.0");
    form.account = s.slots.rmdAccount;
    return form;
}

Result<std::optional<Message>> acceptDistributionOptions(Scenario& s,
                                                         const DistributionOptionsForm& form) {
    const Result<float> rate = checkDialogNumber({form.penaltyRate, kFieldChars}, 0, 100,
                                                 kRateBoundsMessage, "RATE ERROR", "penaltyRate");
    if (!rate)
        return rate.status();
    s.accountTable.rmdMode =
        static_cast<std::int16_t>(form.mode >= 1 && form.mode <= 3 ? form.mode : 3);
    s.slots.rmdPenaltyRate = *rate;
    s.slots.rmdAccount = static_cast<std::int16_t>(form.account);
    std::optional<Message> warning;
    if (const Account* a = accountById(s, form.account);
        a && (a->type == kRetirementSavings || a->type == kTaxFreeSavings))
        warning = Message{"You probably cannot transfer RMD funds to another Tax Free or "
                          "Retirement account.\nPlease check the RMD regulations.",
                          "Probable RMD Account Error", MessageKind::Warning};
    return warning;
}

std::array<std::string, kLifeTableValues> lifeTableAges(int startAge) {
    std::array<std::string, kLifeTableValues> ages;
    for (int row = 0; row < kLifeTableValues; ++row) {
        const int age = startAge + row;
        ages[row] = formatText(age < 10 ? "%1d" : age < 100 ? "%2d" : "%3d", age);
    }
    return ages;
}

LifeTableForm lifeTableForm(const Scenario& s, int table) {
    LifeTableForm form;
    table = std::clamp(table, 1, kLifeTables);
    form.table = table;
    form.title = formatText("Table %2d", table);
    const std::string description = s.slots.lifeTableDescription[table - 1].str();
    form.description = description.empty() ? std::string("IRA") : description;
    const int start = lifeTableStartAge(s.slots, table - 1);
    form.startAge = formatText("%-3d", start);
    form.ages = lifeTableAges(start);
    for (int row = 0; row < kLifeTableValues; ++row) {
        const float v = s.slots.lifeTableValues[table - 1][row];
        form.values[row] =
            formatText("%-4.1f", static_cast<double>(v != 0 ? v : kTemplateValues[row]));
    }
    return form;
}

std::vector<Message> lifeTablePlausibility(const float* values, int startAge) {
    std::vector<Message> messages;
    for (int i = 0; i + 1 < kLifeTableValues; ++i) {
        const float here = values[i];
        const float next = values[i + 1];
        if (here > next && here != 0 && next != 0)
            continue;
        const bool nextIsZero = next == 0;
        const float named = nextIsZero ? next : here;
        const int age = startAge + i + (nextIsZero ? 1 : 0);
        messages.push_back(valueWarning(
            formatText("Possible incorrect value %s at age %2d.\nPlease check the IRS RMD Life "
                       "Expectancy Tables.",
                       valueText(named), age)));
        // The first zero ends the table: what follows is not looked at.
        if (here == 0 || next == 0)
            break;
    }
    return messages;
}

Result<LifeTableOutcome> acceptLifeTable(Scenario& s, const LifeTableForm& form) {
    const int table = std::clamp(form.table, 1, kLifeTables) - 1;
    const NumberTextCheck start = checkNumberText(head(form.startAge, kNumberRead), false, 1, 120,
                                                  3, "AGE ERROR", "startAge");
    if (!start.status.ok())
        return start.status;
    const int startAge = static_cast<int>(*start.value);
    LifeTableOutcome outcome;
    float values[kLifeTableValues] = {};
    for (int row = 0; row < kLifeTableValues; ++row) {
        const NumberTextCheck v = checkNumberText(head(form.values[row], kNumberRead), true, 0, 50,
                                                  70 + row, "Probable RMD Value Error");
        values[row] = v.value.value_or(0);
        // The message names the row's own age, whatever age the table starts at.
        if (!v.status.ok())
            outcome.messages.push_back(valueWarning(
                formatText("The value %s for age %2d seems out of range. Please check your Life "
                           "Expectancy Tables.",
                           valueText(values[row]), startAge + row)));
    }
    for (const Message& m : lifeTablePlausibility(values, startAge))
        outcome.messages.push_back(m);

    s.slots.lifeTableDescription[table].assign(head(form.description, kDescriptionRead));
    setLifeTableStartAge(s.slots, table, startAge);
    std::copy(values, values + kLifeTableValues, s.slots.lifeTableValues[table]);
    rebuildDerivedEvents(s);
    return outcome;
}

Result<std::array<float, kLifeTableValues>> irsLifeTableValues(const std::string& dataDir,
                                                               int startAge, int spouseYounger) {
    const bool joint = spouseYounger > kJointTableAgeGap;
    const Result<IrsTable> read =
        readIrsTable(dataDir, joint ? kJointLastSurvivorFile : kUniformLifetimeFile, joint);
    if (!read)
        return read.status();
    const IrsTable& table = *read;
    const int firstAge = table.begin()->first.first;
    const int lastAge = table.rbegin()->first.first;
    std::array<float, kLifeTableValues> values{};
    for (int row = 0; row < kLifeTableValues; ++row) {
        const int age = std::min(startAge + row, lastAge);
        const int spouse = std::max(0, age - spouseYounger);
        const auto found = table.find({age, joint ? spouse : 0});
        if (age < firstAge || found == table.end())
            return Message{formatText("The IRS table has no value for age %d.", age),
                           "Life Expectancy Table", MessageKind::Error};
        values[row] = found->second;
    }
    return values;
}

void showLifeTableValues(LifeTableForm& form, const std::array<float, kLifeTableValues>& values) {
    for (int row = 0; row < kLifeTableValues; ++row)
        form.values[row] = formatText("%-4.1f", static_cast<double>(values[row]));
}

} // namespace finplan
