#include "forms/GroupsForm.h"

#include "forms/Latin1Text.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

Status refused(const char* text, std::string field) {
    return Status(Message{text, "Rate Error", MessageKind::Warning, 0, std::move(field)});
}

} // namespace

GroupsForm groupsForm(const Scenario& s) {
    GroupsForm f;
    for (int g = 0; g < kGroups; ++g) {
        GroupsForm::Row& row = f.rows[static_cast<std::size_t>(g)];
        if (s.groups.name[g].empty())
            continue;
        row.name = latin1AsUtf8(s.groups.name[g].view());
        row.minRate = formatText("%-9.3f", s.groups.randomMinRate[g]);
        row.maxRate = formatText("%-9.3f", s.groups.randomMaxRate[g]);
    }
    return f;
}

namespace {
constexpr float kLowestGroupRate = -50;
constexpr float kHighestGroupRate = 100;
constexpr const char* kGroupRateMessage = "The rate must be between -50.00% and 100.00%.";
} // namespace

Status acceptGroups(const GroupsForm& f, Scenario& s) {
    GroupsBlock groups = s.groups;
    for (int g = 0; g < kGroups; ++g) {
        const GroupsForm::Row& row = f.rows[static_cast<std::size_t>(g)];
        const std::string n = std::to_string(g);
        const std::optional<std::string> name =
            utf8ToLatin1Strict(utf8Prefix(row.name, kGroupNameChars));
        if (!name)
            return Status(Message{"The group name holds characters that cannot be stored.",
                                  "NAME ERROR", MessageKind::Error, 0, "groupName" + n});
        groups.name[g].assign(*name);
        if (name->size() < 2) {
            groups.randomMinRate[g] = groups.randomMaxRate[g] = 0;
            continue;
        }
        // A field of ten characters: nine are read.
        const auto minimum =
            static_cast<float>(leadingNumber(std::string_view(row.minRate).substr(0, 9)));
        const auto maximum =
            static_cast<float>(leadingNumber(std::string_view(row.maxRate).substr(0, 9)));
        // The range a saved plan keeps: a rate beyond it would load as 0.
        if (!(minimum >= kLowestGroupRate && minimum <= kHighestGroupRate))
            return refused(kGroupRateMessage, "groupMin" + n);
        if (!(maximum >= kLowestGroupRate && maximum <= kHighestGroupRate))
            return refused(kGroupRateMessage, "groupMax" + n);
        if (minimum > maximum)
            return refused("The minimum rate must be less than the maximum rate.", "groupMin" + n);
        groups.randomMinRate[g] = minimum;
        groups.randomMaxRate[g] = maximum;
    }
    s.groups = groups;
    return Status();
}

} // namespace finplan
