#include "ui/editors/EventEditors.h"

#include <iterator>
#include <memory>

#include "model/EventViews.h"
#include "model/Scenario.h"
#include "ui/editors/AssetAllocationDialog.h"
#include "ui/editors/CreditCardDialog.h"
#include "ui/editors/DepositDialog.h"
#include "ui/editors/FundamentalsDialog.h"
#include "ui/editors/LoanDialog.h"
#include "ui/editors/MortgageDialog.h"
#include "ui/editors/Rule72TDialog.h"
#include "ui/editors/TransferDialog.h"
#include "ui/editors/WithdrawalDialog.h"

namespace finplan {

namespace {

// Menu order. Each editor's command is listed once its dialog exists.
constexpr EditorCommand kEditorCommands[] = {
    {101, "withdrawal", "&Withdrawal", "Alt+W"},
    {106, "deposit", "&Deposit", "Alt+D"},
    {109, "transfer", "&Transfer", "Alt+T"},
    {110, "fundamentals", "&Fundamentals", "Alt+F"},
    {107, "loan", "&Loan", "Alt+L"},
    {108, "mortgage", "&Mortgage", "Alt+M"},
    {466, "creditCard", "Credit Card Debt", "Alt+Z"},
    {888, "assetAllocationOption", "Asset Allocation Withdrawal Options", ""},
    {794, "rule72T", "Rule 72T Transfer", ""},
};

std::unique_ptr<EditorDialog> makeEditor(int command, Scenario& working, int index,
                                         Prompter& prompter, QWidget* parent) {
    switch (command) {
    case 101:
        return std::make_unique<WithdrawalDialog>(working, index, prompter, parent);
    case 106:
        return std::make_unique<DepositDialog>(working, index, prompter, parent);
    case 107:
        return std::make_unique<LoanDialog>(working, index, prompter, parent);
    case 108:
        return std::make_unique<MortgageDialog>(working, index, prompter, parent);
    case 466:
        return std::make_unique<CreditCardDialog>(working, index, prompter, parent);
    case 888:
        return std::make_unique<AssetAllocationDialog>(working, index, prompter, parent);
    case 794:
        return std::make_unique<Rule72TDialog>(working, index, prompter, parent);
    case 109:
        return std::make_unique<TransferDialog>(working, index, prompter, parent);
    case 110:
        return std::make_unique<FundamentalsDialog>(working, index, prompter, parent);
    default:
        return nullptr;
    }
}

} // namespace

const EditorCommand* editorCommands(int& count) {
    count = static_cast<int>(std::size(kEditorCommands));
    return kEditorCommands;
}

int editorCommandFor(const Scenario& s, int index) {
    if (index < 0 || index >= s.eventCount)
        return 0;
    const FinancialEvent& e = s.events[index];
    switch (e.kind) {
    case kDeposit:
        return 106;
    case kRateChange:
        return 110;
    case kTransfer:
        return isRule72T(e) ? 794 : 109;
    // The window opens a budget's withdrawal in its budget's editor instead.
    case kWithdrawal:
        return 101;
    case kLoan:
        return isCreditCard(e) ? 466 : 107;
    case kMortgage:
        return 108;
    case kAssetAllocation:
        return 888;
    default:
        return 0;
    }
}

QString editorStepText(int command, bool adding) {
    for (const EditorCommand& c : kEditorCommands)
        if (c.id == command) {
            QString what = QString::fromLatin1(c.text).remove(QLatin1Char('&'));
            return (adding ? QStringLiteral("Add %1") : QStringLiteral("Edit %1")).arg(what);
        }
    return adding ? QStringLiteral("Add Event") : QStringLiteral("Edit Event");
}

bool runEventEditor(int command, Scenario& working, int index, Prompter& prompter, QWidget* parent,
                    const std::function<void(QDialog&)>& prepare) {
    const std::unique_ptr<EditorDialog> dialog =
        makeEditor(command, working, index, prompter, parent);
    if (dialog && prepare)
        prepare(*dialog);
    if (!dialog || dialog->exec() != QDialog::Accepted)
        return false;
    // A new slot the editor left empty (the allocation option turned off) adds nothing.
    if (index == working.eventCount && working.events[index].kind != kEmptySlot)
        ++working.eventCount;
    return true;
}

std::unique_ptr<QDialog> makeEventEditor(int command, Scenario& working, int index,
                                         Prompter& prompter, QWidget* parent) {
    if (command == 467) {
        working.eventCount = 0;
        resetEventSlot(working.events[0]);
        return std::make_unique<CreditCardDialog>(working, 0, prompter, parent, true);
    }
    return makeEditor(command, working, index, prompter, parent);
}

int existingEventFor(int command, const Scenario& s) {
    // The allocation option has one event at most: its command edits it when there is one.
    if (command == 888)
        for (int i = 0; i < s.eventCount && i < kEventSlots; ++i)
            if (s.events[i].kind == kAssetAllocation)
                return i;
    return -1;
}

void runCardPayoffCalculator(const Scenario& s, Prompter& prompter, QWidget* parent) {
    // The dialog works on a throwaway copy: its accounts are listed, nothing is kept.
    auto working = std::make_unique<Scenario>(s);
    sortAccountsByName(*working);
    makeEventEditor(467, *working, 0, prompter, parent)->exec();
}

} // namespace finplan
