#include "forms/AssetClassesForm.h"

#include <algorithm>
#include <cmath>

#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

constexpr const char* kCaption = "Asset Allocation";
// Shares are typed with two decimals: a total this close to 100 is 100.
constexpr float kTotalTolerance = 0.005f;

int slotOf(const Account& a) {
    return std::clamp<int>(a.slotId, 0, kSlots - 1);
}

std::string shareText(float value) {
    std::string text = formatText("%.2f", static_cast<double>(value));
    // "25.00" -> "25", "12.50" -> "12.5": the share as a person would type it.
    while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
        const bool dot = text.back() == '.';
        text.pop_back();
        if (dot)
            break;
    }
    return text;
}

float typed(const std::string& text) {
    return static_cast<float>(leadingNumber(text));
}

} // namespace

AssetClassesForm assetClassesForm(const Scenario& s) {
    AssetClassesForm form;
    for (int c = 0; c < kAssetClasses; ++c)
        form.names[static_cast<std::size_t>(c)] = s.assetClasses.name[c].str();
    const int count = std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
    for (int k = 0; k < count; ++k) {
        const Account& a = s.accountTable.accounts[k];
        AssetClassesForm::Account row;
        row.name = a.name.str();
        row.slot = slotOf(a);
        for (int c = 0; c < kAssetClasses; ++c)
            row.shares[static_cast<std::size_t>(c)] =
                shareText(s.allocations.allocation[c][row.slot]);
        form.accounts.push_back(std::move(row));
    }
    return form;
}

float shareTotal(const AssetClassesForm::Account& account) {
    float total = 0;
    for (const std::string& share : account.shares)
        total += typed(share);
    return total;
}

Status acceptAssetClasses(const AssetClassesForm& form, Scenario& s) {
    for (int c = 0; c < kAssetClasses; ++c)
        if (form.names[static_cast<std::size_t>(c)].size() > 20)
            return Message{"An asset class name can be at most 20 characters long.", kCaption,
                           MessageKind::Error, 0, formatText("name%d", c)};
    for (std::size_t k = 0; k < form.accounts.size(); ++k) {
        const AssetClassesForm::Account& a = form.accounts[k];
        for (int c = 0; c < kAssetClasses; ++c) {
            const float share = typed(a.shares[static_cast<std::size_t>(c)]);
            if (!(share >= 0 && share <= 100))
                return Message{"A share must be between 0% and 100%.", kCaption, MessageKind::Error,
                               0, formatText("share:%d:%d", k, c)};
        }
        const float total = shareTotal(a);
        if (total != 0 && std::abs(total - 100) > kTotalTolerance)
            return Message{formatText("The shares of %s add up to %s%%.\nThey must add up to "
                                      "100%% or all be 0.",
                                      a.name.c_str(), shareText(total).c_str()),
                           kCaption, MessageKind::Error, 0, formatText("share:%d:0", k)};
    }
    for (int c = 0; c < kAssetClasses; ++c)
        s.assetClasses.name[c].assign(form.names[static_cast<std::size_t>(c)]);
    for (const AssetClassesForm::Account& a : form.accounts) {
        const int slot = std::clamp(a.slot, 0, kSlots - 1);
        for (int c = 0; c < kAssetClasses; ++c)
            s.allocations.allocation[c][slot] = typed(a.shares[static_cast<std::size_t>(c)]);
    }
    return {};
}

} // namespace finplan
