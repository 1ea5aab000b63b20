#pragma once

#include <QString>
#include <memory>

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
bool runEventEditor(int command, Scenario& working, int index, Prompter& prompter, QWidget* parent);
// The dialog of editor `command` over event `index` of `working`, not yet shown; null for a
// command without one. For pictures of the editors.
std::unique_ptr<EditorDialog> makeEventEditor(int command, Scenario& working, int index,
                                              Prompter& prompter, QWidget* parent);

} // namespace finplan
