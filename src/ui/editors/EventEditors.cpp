#include "ui/editors/EventEditors.h"

#include <iterator>
#include <memory>

#include "model/Scenario.h"
#include "ui/editors/DepositDialog.h"

namespace finplan {

namespace {

// Menu order. Each editor's command is listed once its dialog exists.
constexpr EditorCommand kEditorCommands[] = {
    {106, "deposit", "&Deposit", "Alt+D"},
};

std::unique_ptr<EditorDialog> makeEditor(int command, Scenario& working, int index,
                                         Prompter& prompter, QWidget* parent) {
    switch (command) {
    case 106:
        return std::make_unique<DepositDialog>(working, index, prompter, parent);
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
    switch (s.events[index].kind) {
    case kDeposit:
        return 106;
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

} // namespace finplan
