#include "ui/editors/EditorDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "forms/AccountChoices.h"
#include "model/Scenario.h"
#include "ui/app/Prompter.h"
#include "ui/help/HelpWindow.h"

namespace finplan {

EditorDialog::EditorDialog(const QString& title, Scenario& working, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_working(working), m_prompter(prompter), m_layout(new QVBoxLayout(this)),
      m_form(new QFormLayout),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(title);
    // Room for a description of the full 49 characters at a glance.
    setMinimumWidth(fontMetrics().averageCharWidth() * 56);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_layout->addLayout(m_form);
    m_layout->addStretch();
    m_layout->addWidget(m_buttons);
    m_buttons->setObjectName(QStringLiteral("buttons"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &EditorDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &EditorDialog::reject);
}

void EditorDialog::accept() {
    if (apply())
        QDialog::accept();
}

void EditorDialog::setHelpTopic(int topic) {
    m_buttons->addButton(QDialogButtonBox::Help);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this,
            [this, topic] { openHelpTopic(this, topic); });
}

QLineEdit* EditorDialog::addText(const char* field, const QString& label, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text).trimmed(), this);
    edit->setObjectName(QLatin1String(field));
    m_form->addRow(label, edit);
    return edit;
}

QLineEdit* EditorDialog::addResult(const char* field, const QString& label,
                                   const std::string& text) {
    QLineEdit* edit = addText(field, label, text);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette shade = edit->palette();
    shade.setColor(QPalette::Base, shade.color(QPalette::Window));
    edit->setPalette(shade);
    return edit;
}

QCheckBox* EditorDialog::addCheck(const char* field, const QString& label, bool checked) {
    auto* box = new QCheckBox(label, this);
    box->setObjectName(QLatin1String(field));
    box->setChecked(checked);
    m_form->addRow(box);
    return box;
}

QComboBox* EditorDialog::addAccounts(const char* field, const QString& label, bool withNoSelection,
                                     int accountId) {
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(field));
    for (const std::string& entry : accountChoices(m_working, withNoSelection).entries)
        list->addItem(QString::fromLatin1(entry.c_str()));
    list->setCurrentIndex(accountChoiceEntry(m_working, accountId, withNoSelection));
    list->setProperty("withNoSelection", withNoSelection);
    m_form->addRow(label, list);
    return list;
}

int EditorDialog::chosenAccount(const QComboBox* list) const {
    return accountChoiceId(m_working, list->currentIndex(),
                           list->property("withNoSelection").toBool());
}

std::string EditorDialog::text(const QLineEdit* field) {
    return field->text().toLatin1().toStdString();
}

void EditorDialog::setFieldEnabled(QWidget* field, bool enabled) {
    field->setEnabled(enabled);
    if (QWidget* label = m_form->labelForField(field))
        label->setEnabled(enabled);
}

bool EditorDialog::passed(const Status& outcome) {
    if (outcome.ok())
        return true;
    m_prompter.notify(outcome.message());
    const std::string& field = outcome.message().field;
    if (!field.empty())
        if (auto* widget = findChild<QWidget*>(QString::fromStdString(field))) {
            widget->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                edit->selectAll();
        }
    return false;
}

} // namespace finplan
