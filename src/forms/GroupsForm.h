#pragma once

#include <array>
#include <string>

#include "model/Message.h"
#include "model/Records.h"

namespace finplan {

struct Scenario;

inline constexpr int kGroupNameChars = 19;

// "Groups": ten rows of a name (UTF-8 as typed) and a random rate range. A name shorter than
// two characters leaves its group unused.
struct GroupsForm {
    struct Row {
        std::string name;
        std::string minRate;
        std::string maxRate;
    };
    std::array<Row, kGroups> rows;
};

GroupsForm groupsForm(const Scenario& s);
// OK: the rows in order; the first refused row stores nothing at all. The message's field is
// "groupMin<n>" or "groupMax<n>" (or "groupName<n>") for row n.
Status acceptGroups(const GroupsForm& f, Scenario& s);

} // namespace finplan
