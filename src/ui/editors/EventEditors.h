#pragma once

#include <QString>
#include <functional>
#include <memory>

class QDialog;

class QWidget;

namespace finplan {

class EditorDialog;
class Prompter;
struct Scenario;

// The commands that open an event editor, with their menu texts and keys.
struct EditorCommand {
    int id;
    const char* name; // the action's object name
    const char* text;
    const char* keys;
};
const EditorCommand* editorCommands(int& count);
// The editor command that opens event `index` of `s` (its kind and subtype), or 0.
int editorCommandFor(const Scenario& s, int index);
// An undo step's text for a change made with editor `command`.
QString editorStepText(int command, bool adding);

// Opens the editor of `command` on event `index` of `working`: an existing event, or the
// scratch slot for a new one (the caller has reset it). Returns true when the user pressed OK;
// `working` then holds the edited scenario, with a new event counted.
// `prepare` fills the editor before it shows.
bool runEventEditor(int command, Scenario& working, int index, Prompter& prompter, QWidget* parent,
                    const std::function<void(QDialog&)>& prepare = {});
// The editor of `command` on event `index` of `working`, not yet shown; null for a command
// without one.
std::unique_ptr<QDialog> makeEventEditor(int command, Scenario& working, int index,
                                         Prompter& prompter, QWidget* parent);
// The event an add command edits instead of adding one (the one allocation option), or -1.
int existingEventFor(int command, const Scenario& s);
// Command 467: the credit-card dialog as a payoff calculator; the scenario is not changed.
void runCardPayoffCalculator(const Scenario& s, Prompter& prompter, QWidget* parent);

} // namespace finplan
