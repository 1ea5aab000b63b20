#include "ui/printing/ReportOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/Prompter.h"
#include "ui/platform/Display.h"

namespace finplan {

ReportOptionsDialog::ReportOptionsDialog(const ReportOptionsForm& form, Prompter& prompter,
                                         QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_form(form) {
    setWindowTitle(QStringLiteral("Reports Options"));
    setObjectName(QStringLiteral("reportOptions"));

    auto* titles = new QGroupBox(QStringLiteral("Report titles"), this);
    auto* grid = new QGridLayout(titles);
    for (int n = 0; n < 3; ++n) {
        m_useTitle[n] = new QCheckBox(QStringLiteral("Title %1").arg(n + 1), titles);
        m_useTitle[n]->setObjectName(QStringLiteral("useTitle%1").arg(n + 1));
        m_useTitle[n]->setChecked(form.useTitle[n]);
        m_title[n] = new QLineEdit(QString::fromLatin1(form.title[n].c_str()), titles);
        m_title[n]->setObjectName(QStringLiteral("title%1").arg(n + 1));
        m_title[n]->setMaxLength(static_cast<int>(ReportOptionsForm::kTitleLength));
        grid->addWidget(m_useTitle[n], n, 0);
        grid->addWidget(m_title[n], n, 1);
    }
    grid->setColumnStretch(1, 1);

    m_banding = new QCheckBox(QStringLiteral("Use color banding on reports"), this);
    m_banding->setObjectName(QStringLiteral("reportBanding"));
    m_banding->setChecked(form.banding);
    m_boxes = new QCheckBox(QStringLiteral("Use rectangle boxing on reports"), this);
    m_boxes->setObjectName(QStringLiteral("reportBoxes"));
    m_boxes->setChecked(form.boxes);
    m_columns = new QCheckBox(QStringLiteral("Use columns on reports"), this);
    m_columns->setObjectName(QStringLiteral("reportColumns"));
    m_columns->setChecked(form.columns);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* fonts = buttons->addButton(QStringLiteral("Fonts"), QDialogButtonBox::ActionRole);
    fonts->setObjectName(QStringLiteral("printerFont"));
    connect(fonts, &QPushButton::clicked, this, &ReportOptionsDialog::chooseFont);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titles);
    layout->addWidget(m_banding);
    layout->addWidget(m_boxes);
    layout->addWidget(m_columns);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(440, sizeHint().height());
}

ReportOptionsForm ReportOptionsDialog::form() const {
    ReportOptionsForm form = m_form;
    for (int n = 0; n < 3; ++n) {
        form.title[n] = m_title[n]->text().toLatin1().toStdString();
        form.useTitle[n] = m_useTitle[n]->isChecked();
    }
    form.banding = m_banding->isChecked();
    form.boxes = m_boxes->isChecked();
    form.columns = m_columns->isChecked();
    return form;
}

void ReportOptionsDialog::chooseFont() {
    const QFont current = fontFromRecord(m_form.printerFont, QFont(QStringLiteral("Courier")));
    // The size is made for each page from its printable area; only the face, weight and
    // style are kept.
    if (const std::optional<QFont> chosen =
            m_prompter.chooseFont(current, QStringLiteral("Printer Font"), 6, 78))
        m_form.printerFont = recordFromFont(*chosen);
}

} // namespace finplan
