#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "forms/FieldChecks.h"
#include "model/Records.h"

// What every event editor shares: how a description is kept, how ages become whole years, the
// caption of the today's-dollars box and the widths the editors read.

namespace finplan {

struct Scenario;

// Characters read from a field whose width the editor does not fix ("text 10").
inline constexpr int kFieldChars = 10;
// The description: at most 49 characters.
inline constexpr int kDescriptionChars = 50;

// An age cut to whole years, toward zero, as the editors store it.
inline float cutToYears(float age) {
    return std::trunc(age);
}

void storeDescription(FinancialEvent& e, std::string_view text);

// "Use amount in age %3.1f dollars" with the scenario's start age.
std::string todaysDollarsCaption(const Scenario& s);

// The message of an add command when the event table has no free slot.
Message eventTableFull();

// Runs the checks of an editor in order: each `check` stores what passed and the first failure
// stops the rest. `failure` holds it.
class CheckSequence {
  public:
    // A real read from `text`; on success `store` receives it.
    template <class Store>
    CheckSequence& real(std::string_view text, int maxChars, float minimum, float maximum,
                        int messageId, std::string_view caption, std::string_view field,
                        Store&& store) {
        if (m_failure.ok()) {
            const Result<float> value =
                checkDialogNumber({text, maxChars}, minimum, maximum, messageId, caption, field);
            if (value)
                store(*value);
            else
                m_failure = value.status();
        }
        return *this;
    }
    template <class Store>
    CheckSequence& integer(std::string_view text, int maxChars, int minimum, int maximum,
                           int messageId, std::string_view caption, std::string_view field,
                           Store&& store) {
        if (m_failure.ok()) {
            const Result<int> value =
                checkDialogInteger({text, maxChars}, minimum, maximum, messageId, caption, field);
            if (value)
                store(*value);
            else
                m_failure = value.status();
        }
        return *this;
    }
    // Any other check, run only while every earlier one passed.
    template <class Check> CheckSequence& then(Check&& check) {
        if (m_failure.ok())
            m_failure = check();
        return *this;
    }
    const Status& failure() const { return m_failure; }

  private:
    Status m_failure;
};

} // namespace finplan
