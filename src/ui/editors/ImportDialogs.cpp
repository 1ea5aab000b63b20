#include "ui/editors/ImportDialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forms/AccountImport.h"
#include "forms/Latin1Text.h"
#include "ui/help/HelpWindow.h"

namespace finplan {

ChoiceDialog::ChoiceDialog(const QString& title, const QStringList& options, int helpTopic,
                           QWidget* parent)
    : QDialog(parent), m_options(new QButtonGroup(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    for (int k = 0; k < options.size(); ++k) {
        auto* option = new QRadioButton(options[k], this);
        option->setObjectName(QStringLiteral("option%1").arg(k));
        option->setChecked(k == 0);
        m_options->addButton(option, k);
        layout->addWidget(option);
    }
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this, helpTopic] { openHelpTopic(this, helpTopic); });
    layout->addWidget(buttons);
}

int ChoiceDialog::chosen() const {
    return m_options->checkedId();
}

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan& plan, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Import Preview"));
    const int used = plan.usedCount();
    const int skipped = static_cast<int>(plan.lines.size()) - used;
    auto* summary = new QLabel(QStringLiteral("%1\n%2 of %3 lines give accounts; %4 are skipped.")
                                   .arg(QString::fromStdString(plan.path))
                                   .arg(used)
                                   .arg(plan.lines.size())
                                   .arg(skipped),
                               this);
    summary->setObjectName(QStringLiteral("importSummary"));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* table = new QTableWidget(static_cast<int>(plan.lines.size()), 5, this);
    table->setObjectName(QStringLiteral("importLines"));
    table->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Text"),
                                      QStringLiteral("Account"), QStringLiteral("Amount"),
                                      QStringLiteral("Skipped because")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    const QColor dim = palette().color(QPalette::Disabled, QPalette::Text);
    for (int r = 0; r < table->rowCount(); ++r) {
        const ImportLine& line = plan.lines[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::number(line.number), QString::fromStdString(line.text),
                                 QString::fromStdString(latin1AsUtf8(line.name)),
                                 QString::fromStdString(line.amount),
                                 QString::fromStdString(line.skipped)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!line.used())
                item->setForeground(dim);
            if (c == 0 || c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Import"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(used > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    resize(720, 420);
}

} // namespace finplan
