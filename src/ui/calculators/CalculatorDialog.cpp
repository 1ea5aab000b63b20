#include "ui/calculators/CalculatorDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/Prompter.h"
#include "ui/help/HelpWindow.h"

namespace finplan {

void makeResultField(QLineEdit* field) {
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette shade = field->palette();
    shade.setColor(QPalette::Base, shade.color(QPalette::Window));
    field->setPalette(shade);
}

CalculatorDialog::CalculatorDialog(const QString& title, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_layout(new QVBoxLayout(this)),
      m_buttons(new QDialogButtonBox(this)) {
    setWindowTitle(title);
    m_buttons->setObjectName(QStringLiteral("buttons"));
}

void CalculatorDialog::finish() {
    m_layout->addStretch();
    m_layout->addWidget(m_buttons);
}

QLineEdit* CalculatorDialog::addField(QFormLayout* form, const char* name, const QString& label,
                                      const std::string& text, int maxLength) {
    auto* edit = new QLineEdit(QString::fromStdString(text).trimmed(), this);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    form->addRow(label, edit);
    return edit;
}

QLineEdit* CalculatorDialog::addResult(QFormLayout* form, const char* name, const QString& label,
                                       const std::string& text) {
    QLineEdit* edit = addField(form, name, label, text);
    makeResultField(edit);
    return edit;
}

QFormLayout* CalculatorDialog::addFrame(QBoxLayout* layout, const QString& title,
                                        const char* name) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QLatin1String(name));
    auto* form = new QFormLayout(frame);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addWidget(frame);
    return form;
}

QPushButton* CalculatorDialog::addButton(const char* name, const QString& text) {
    QPushButton* button = m_buttons->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void CalculatorDialog::setHelpTopic(int topic) {
    QPushButton* help = m_buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QPushButton::clicked, this, [this, topic] { openHelpTopic(this, topic); });
}

std::string CalculatorDialog::text(const QLineEdit* field) {
    return field->text().toLatin1().toStdString();
}

void CalculatorDialog::showText(QLineEdit* field, const std::string& text) {
    field->setText(QString::fromStdString(text).trimmed());
}

bool CalculatorDialog::passed(const Status& outcome) {
    if (outcome.ok())
        return true;
    m_prompter.notify(outcome.message());
    const std::string& field = outcome.message().field;
    if (!field.empty())
        if (auto* edit = findChild<QLineEdit*>(QString::fromStdString(field))) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    return false;
}

} // namespace finplan
