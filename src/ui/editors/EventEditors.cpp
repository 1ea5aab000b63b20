#include "ui/editors/EventEditors.h"

#include <iterator>
#include <memory>

#include "model/EventViews.h"
#include "model/Scenario.h"
#include "ui/editors/DepositDialog.h"
#include "ui/editors/FundamentalsDialog.h"
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
};

std::unique_ptr<EditorDialog> makeEditor(int command, Scenario& working, int index,
                                         Prompter& prompter, QWidget* parent) {
    switch (command) {
    case 101:
        return std::make_unique<WithdrawalDialog>(working, index, prompter, parent);
    case 106:
        return std::make_unique<DepositDialog>(working, index, prompter, parent);
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
        return TransferView{e}.isRule72T() ? 794 : 109;
    // A budget's withdrawal opens here too, with only its account open to change, until the
    // budget editor comes.
    case kWithdrawal:
        return 101;
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

bool runEventEditor(int command, Scenario& working, int index, Prompter& prompter,
                    QWidget* parent) {
    const std::unique_ptr<EditorDialog> dialog =
        makeEditor(command, working, index, prompter, parent);
    if (!dialog || dialog->exec() != QDialog::Accepted)
        return false;
    if (index == working.eventCount)
        ++working.eventCount;
    return true;
}

std::unique_ptr<EditorDialog> makeEventEditor(int command, Scenario& working, int index,
                                              Prompter& prompter, QWidget* parent) {
    return makeEditor(command, working, index, prompter, parent);
}

} // namespace finplan
