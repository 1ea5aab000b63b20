#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

// "Required Minimum Distribution Options": how the distributions are drawn, their penalty
// rate and the account they go to.
struct DistributionOptionsForm {
    int mode = 3; // 1 proportional, 2 equal, 3 account order
    std::string penaltyRate;
    int account = -1; // the receiving account's number
};

DistributionOptionsForm distributionOptionsForm(const Scenario& s);
// OK: a refused penalty rate changes nothing; otherwise the options are stored, and a
// receiving account of the retirement or tax-free kind brings a warning (the choice stays).
Result<std::optional<Message>> acceptDistributionOptions(Scenario& s,
                                                         const DistributionOptionsForm& form);

// "Life Expectancy Values From IRS Tables": one of the three tables (1..3).
struct LifeTableForm {
    int table = 1;
    std::string title; // "Table  1"
    std::string description;
    std::string startAge;
    std::array<std::string, kLifeTableValues> ages; // the labels
    std::array<std::string, kLifeTableValues> values;
};

LifeTableForm lifeTableForm(const Scenario& s, int table);
// The age labels of a start age typed into the form.
std::array<std::string, kLifeTableValues> lifeTableAges(int startAge);

// OK: a refused start age changes nothing. Otherwise the table is stored with every value
// (one out of range is kept but reported), the plausibility of the values is reported, and
// the RMD events are rebuilt. `messages` holds the reports in order.
struct LifeTableOutcome {
    std::vector<Message> messages;
};
Result<LifeTableOutcome> acceptLifeTable(Scenario& s, const LifeTableForm& form);

// The reports of the plausibility pass over 30 values starting at `startAge`.
std::vector<Message> lifeTablePlausibility(const float* values, int startAge);

// The published tables shipped beside the program.
inline constexpr const char* kUniformLifetimeFile = "uniform_lifetime_2022.csv";
inline constexpr const char* kJointLastSurvivorFile = "joint_last_survivor_2022.csv";
// A spouse more than this many years younger makes the joint table the one to use.
inline constexpr int kJointTableAgeGap = 10;

// The 30 values of the Uniform Lifetime Table from `startAge` on, read from `dataDir`; with
// `spouseYounger` above 10, those of the Joint and Last Survivor Table for the owner's age and
// the spouse's. Ages past the table's last take its last value.
Result<std::array<float, kLifeTableValues>> irsLifeTableValues(const std::string& dataDir,
                                                               int startAge, int spouseYounger);
// The values as the form shows them.
void showLifeTableValues(LifeTableForm& form, const std::array<float, kLifeTableValues>& values);

} // namespace finplan
