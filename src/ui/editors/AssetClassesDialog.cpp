#include "ui/editors/AssetClassesDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "model/Scenario.h"
#include "ui/app/Prompter.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

namespace {

constexpr int kTotalColumn = kAssetClasses;

} // namespace

AssetClassesDialog::AssetClassesDialog(Scenario& working, Prompter& prompter, QWidget* parent)
    : EditorDialog(QStringLiteral("Asset Allocation"), working, prompter, parent),
      m_form(assetClassesForm(working)), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("assetClassesDialog"));
    auto* classes = new QGroupBox(QStringLiteral("Asset classes"), this);
    auto* grid = new QGridLayout(classes);
    for (int c = 0; c < kAssetClasses; ++c) {
        auto* edit = new QLineEdit(
            QString::fromStdString(m_form.names[static_cast<std::size_t>(c)]), classes);
        edit->setObjectName(QStringLiteral("name%1").arg(c));
        edit->setMaxLength(20);
        auto* label = new QLabel(QStringLiteral("&%1:").arg(c + 1 == 10 ? 0 : c + 1), classes);
        label->setBuddy(edit);
        const int row = c % 5, column = (c / 5) * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        connect(edit, &QLineEdit::textChanged, this, [this] { showClassNames(); });
        m_names[static_cast<std::size_t>(c)] = edit;
    }

    m_table->setObjectName(QStringLiteral("allocations"));
    m_table->setColumnCount(kAssetClasses + 1);
    m_table->setRowCount(static_cast<int>(m_form.accounts.size()));
    for (int k = 0; k < m_table->rowCount(); ++k) {
        const AssetClassesForm::Account& a = m_form.accounts[static_cast<std::size_t>(k)];
        m_table->setVerticalHeaderItem(k, new QTableWidgetItem(QString::fromStdString(a.name)));
        for (int c = 0; c < kAssetClasses; ++c) {
            auto* item =
                new QTableWidgetItem(QString::fromStdString(a.shares[static_cast<std::size_t>(c)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(k, c, item);
        }
        auto* total = new QTableWidgetItem;
        total->setFlags(Qt::ItemIsEnabled);
        total->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(k, kTotalColumn, total);
        showTotal(k);
    }
    showClassNames();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setMinimumSectionSize(fontMetrics().averageCharWidth() * 8);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != kTotalColumn)
            showTotal(item->row());
    });

    auto* shares = new QLabel(
        QStringLiteral("Percent of each account held in each class: 100 in all, or all 0."), this);
    shares->setWordWrap(true);
    mainLayout()->insertWidget(0, classes);
    mainLayout()->insertWidget(1, shares);
    mainLayout()->insertWidget(2, m_table, 1);
    setHelpTopic(help::kAccountsPanel);
    resize(fontMetrics().averageCharWidth() * 130, 520);
    if (m_names[0])
        m_names[0]->setFocus();
}

void AssetClassesDialog::showClassNames() {
    QStringList titles;
    for (int c = 0; c < kAssetClasses; ++c) {
        const QString name = m_names[static_cast<std::size_t>(c)]->text().trimmed();
        titles << (name.isEmpty() ? QString::number(c + 1) : name);
    }
    titles << QStringLiteral("Total");
    m_table->setHorizontalHeaderLabels(titles);
}

void AssetClassesDialog::showTotal(int row) {
    const AssetClassesForm form = formFromFields();
    if (row < 0 || row >= static_cast<int>(form.accounts.size()))
        return;
    const float total = shareTotal(form.accounts[static_cast<std::size_t>(row)]);
    QTableWidgetItem* item = m_table->item(row, kTotalColumn);
    if (!item)
        return;
    const QSignalBlocker block(m_table);
    item->setText(QString::number(static_cast<double>(total), 'g', 6));
    const bool fine = total == 0 || std::abs(total - 100) <= 0.005f;
    item->setForeground(fine ? palette().text() : QBrush(Qt::red));
}

AssetClassesForm AssetClassesDialog::formFromFields() const {
    AssetClassesForm form = m_form;
    for (int c = 0; c < kAssetClasses; ++c)
        if (m_names[static_cast<std::size_t>(c)])
            form.names[static_cast<std::size_t>(c)] =
                m_names[static_cast<std::size_t>(c)]->text().trimmed().toStdString();
    for (int k = 0; k < static_cast<int>(form.accounts.size()); ++k)
        for (int c = 0; c < kAssetClasses; ++c)
            if (const QTableWidgetItem* item = m_table->item(k, c))
                form.accounts[static_cast<std::size_t>(k)].shares[static_cast<std::size_t>(c)] =
                    item->text().trimmed().toStdString();
    return form;
}

bool AssetClassesDialog::apply() {
    const Status accepted = acceptAssetClasses(formFromFields(), working());
    if (accepted)
        return true;
    const std::string& field = accepted.message().field;
    int account = 0, column = 0;
    if (std::sscanf(field.c_str(), "share:%d:%d", &account, &column) == 2) {
        prompter().notify(accepted.message());
        m_table->setFocus();
        m_table->setCurrentCell(account, column);
        return false;
    }
    return passed(accepted);
}

bool runAssetClassesDialog(Scenario& working, Prompter& prompter, QWidget* parent) {
    AssetClassesDialog dialog(working, prompter, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace finplan
