#pragma once

#include <QDialog>
#include <string>

#include "model/Message.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLineEdit;
class QVBoxLayout;

namespace finplan {

class Prompter;
struct Scenario;

// The frame every event editor shares: labelled fields in a form layout, OK and Cancel, and a
// refused OK shown with the focus on the field it is about. An editor works on a copy of the
// scenario; OK leaves the edited copy for the window to commit, Cancel drops it.
class EditorDialog : public QDialog {
    Q_OBJECT
  public:
    EditorDialog(const QString& title, Scenario& working, Prompter& prompter,
                 QWidget* parent = nullptr);

  protected:
    // Checks the fields and stores them into the working copy; false keeps the dialog open.
    virtual bool apply() = 0;
    void accept() override;

    // Fields, named after the record field they show so that a refused check finds them.
    QLineEdit* addText(const char* field, const QString& label, const std::string& text);
    QCheckBox* addCheck(const char* field, const QString& label, bool checked);
    // The account pick list: the working copy's accounts in name order, the entry of
    // `accountId` selected.
    QComboBox* addAccounts(const char* field, const QString& label, bool withNoSelection,
                           int accountId);
    // The account number chosen in a list made by addAccounts, or -1.
    int chosenAccount(const QComboBox* list) const;
    static std::string text(const QLineEdit* field);
    // Enables or disables a field together with its label.
    void setFieldEnabled(QWidget* field, bool enabled);

    // A computed value the user reads but does not type: shown like a label, still selectable.
    QLineEdit* addResult(const char* field, const QString& label, const std::string& text);

    // Adds a Help button that opens the help window at `topic` (help/HelpTopics.h).
    void setHelpTopic(int topic);

    // Shows a failed check and puts the focus on its field; returns whether it passed.
    bool passed(const Status& outcome);

    QFormLayout* form() const { return m_form; }
    QVBoxLayout* mainLayout() const { return m_layout; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    Scenario& working() const { return m_working; }
    Prompter& prompter() const { return m_prompter; }

  private:
    Scenario& m_working;
    Prompter& m_prompter;
    QVBoxLayout* m_layout;
    QFormLayout* m_form;
    QDialogButtonBox* m_buttons;
};

} // namespace finplan
