#pragma once

#include <QDialog>
#include <string>

#include "model/Message.h"

class QBoxLayout;
class QDialogButtonBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace finplan {

class Prompter;

// What the calculators' dialogs share: fields named after their form fields, read-only results,
// a button row, a Help button and a refused check shown with the focus on its field.
class CalculatorDialog : public QDialog {
    Q_OBJECT
  public:
    CalculatorDialog(const QString& title, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    QLineEdit* addField(QFormLayout* form, const char* name, const QString& label,
                        const std::string& text, int maxLength = 0);
    QLineEdit* addResult(QFormLayout* form, const char* name, const QString& label,
                         const std::string& text = {});
    // A frame with a form inside, added to `layout`.
    QFormLayout* addFrame(QBoxLayout* layout, const QString& title, const char* name);
    QPushButton* addButton(const char* name, const QString& text);
    void setHelpTopic(int topic);
    // The button row goes below whatever the dialog has laid out.
    void finish();
    static std::string text(const QLineEdit* field);
    static void showText(QLineEdit* field, const std::string& text);
    bool passed(const Status& outcome);

    QBoxLayout* mainLayout() const { return m_layout; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    Prompter& prompter() const { return m_prompter; }

  private:
    Prompter& m_prompter;
    QBoxLayout* m_layout;
    QDialogButtonBox* m_buttons;
};

// A calculator result that reads like a label but can still be selected and copied.
void makeResultField(QLineEdit* field);

} // namespace finplan
