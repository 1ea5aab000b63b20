#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/Message.h"

// The checks every editor applies to what the user typed: a fixed range and a fixed message.
// A text that is not a number reads as 0 and is then checked like any other value, so an empty
// down payment passes as 0 and an empty amount is refused.

namespace finplan {

// The editors' numbered validation messages 2 to 12; empty for another number.
std::string_view validationText(int id);

// The message number that names both bounds of a rate instead of a fixed text.
inline constexpr int kRateBoundsMessage = 2000;

// A field as a dialog checks it: at most `maxChars` - 1 characters of its text are read.
struct NumberField {
    std::string_view text;
    int maxChars = 0;
};

// A real in [minimum, maximum], compared in single precision; otherwise the message numbered
// `messageId` with `caption`, about `field`.
Result<float> checkDialogNumber(NumberField input, float minimum, float maximum, int messageId,
                                std::string_view caption, std::string_view field = {});
// A whole number in [minimum, maximum] ("12.7" reads as 12).
Result<int> checkDialogInteger(NumberField input, int minimum, int maximum, int messageId,
                               std::string_view caption, std::string_view field = {});

// The check of a text already read, whose message names the bounds. With `code` 70 or more the
// text is a life-table value for age `code`: out of range it is still kept (`value` holds it)
// while the check fails with the life-table message.
struct NumberTextCheck {
    Status status;
    std::optional<float> value; // what to store; empty when nothing is
};
NumberTextCheck checkNumberText(std::string_view text, bool isReal, float minimum, float maximum,
                                int code, std::string_view caption, std::string_view field = {});

// `status` about `field`, so that the dialog puts the focus there.
Status aboutField(Status status, std::string_view field);

} // namespace finplan
