#include "forms/EventForm.h"

#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

void storeDescription(FinancialEvent& e, std::string_view text) {
    e.name.assign(text.substr(0, kDescriptionChars - 1));
}

std::string todaysDollarsCaption(const Scenario& s) {
    return formatText("Use amount in age %3.1f dollars", s.initialValues.startAge);
}

Message eventTableFull() {
    return {"The scenario holds the most events it can.", "Financial Planner",
            MessageKind::Warning};
}

} // namespace finplan
