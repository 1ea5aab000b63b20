#include "forms/FieldChecks.h"

#include <array>

#include "engine/Money.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

constexpr std::array<std::string_view, 13> kValidationTexts{
    "",
    "",
    "This amount must be greater than 0.00 and less than 99999999.00.",
    "This age must be between 1 and 120.0.",
    "This rate must be between 0.0% and 1000.0%.",
    "The number of years must be between 1 and 100.",
    "Loan/Mortgage rates must be greater than 0.0 and less than 1000.0.",
    "This age must be between 1.0 and 120.0.",
    "The Applied Rate must be between -20.0% and 20.0%",
    "The birth month value must between 1 and 12",
    "The birth day value must be between 1 and 31",
    "This rate must be between -99.0% and 99.0%",
    "This age must be less than 120.0",
};

std::string_view readable(NumberField input) {
    const std::size_t limit = input.maxChars > 1 ? static_cast<std::size_t>(input.maxChars - 1) : 0;
    return input.text.substr(0, std::min(limit, input.text.size()));
}

Status failure(std::string text, std::string_view caption, int id, std::string_view field) {
    return Message{std::move(text), std::string(caption), MessageKind::Error, id,
                   std::string(field)};
}

Status rangeFailure(int messageId, float minimum, float maximum, std::string_view caption,
                    std::string_view field) {
    // The rate message names its bounds; two decimals, as a user reads a rate.
    if (messageId == kRateBoundsMessage)
        return failure(
            formatText("This rate must be greater than %.2f and less than %.2f", minimum, maximum),
            caption, messageId, field);
    return failure(std::string(validationText(messageId)), caption, messageId, field);
}

} // namespace

std::string_view validationText(int id) {
    return id >= 0 && id < static_cast<int>(kValidationTexts.size()) ? kValidationTexts[id] : "";
}

Status aboutField(Status status, std::string_view field) {
    if (status.ok())
        return status;
    Message message = status.message();
    message.field = std::string(field);
    return message;
}

Result<float> checkDialogNumber(NumberField input, float minimum, float maximum, int messageId,
                                std::string_view caption, std::string_view field) {
    const auto value = static_cast<float>(leadingNumber(readable(input)));
    if (value >= minimum && value <= maximum)
        return value;
    return rangeFailure(messageId, minimum, maximum, caption, field);
}

Result<int> checkDialogInteger(NumberField input, int minimum, int maximum, int messageId,
                               std::string_view caption, std::string_view field) {
    const int value = leadingInteger(readable(input));
    if (value >= minimum && value <= maximum)
        return value;
    return rangeFailure(messageId, static_cast<float>(minimum), static_cast<float>(maximum),
                        caption, field);
}

NumberTextCheck checkNumberText(std::string_view text, bool isReal, float minimum, float maximum,
                                int code, std::string_view caption, std::string_view field) {
    if (isReal) {
        const auto value = static_cast<float>(leadingNumber(text));
        if (value >= minimum && value <= maximum)
            return {Status(), value};
        if (code >= 70)
            return {failure(formatText("The value %s for age %2d seems out of range. Please "
                                       "check your Life Expectancy Tables.",
                                       compactNumber(formatText("%4.1f", value)), code),
                            caption, code, field),
                    value};
        return {failure(formatText("This amount must be greater than %s and less than %s.",
                                   compactNumber(formatText("%13.2f", minimum)),
                                   compactNumber(formatText("%13.2f", maximum))),
                        caption, code, field),
                std::nullopt};
    }
    const int value = leadingInteger(text);
    const auto low = static_cast<int>(minimum);
    const auto high = static_cast<int>(maximum);
    if (value >= low && value <= high)
        return {Status(), static_cast<float>(value)};
    return {failure(formatText("This rate must be greater than %s and less than %s.",
                               compactNumber(formatText("%9.3f", minimum)),
                               compactNumber(formatText("%9.3f", maximum))),
                    caption, code, field),
            std::nullopt};
}

} // namespace finplan
