#include "ui/dialogs/BudgetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "ui/app/Prompter.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

namespace {

QString latin(const std::string& text) {
    return QString::fromLatin1(text.c_str()).trimmed();
}

// The item list's columns: title, share of the width and alignment.
const struct {
    const char* title;
    int parts;
    Qt::Alignment align;
} kColumns[] = {{"Name", 86, Qt::AlignLeft},       {"Amount", 53, Qt::AlignRight},
                {"Monthly", 40, Qt::AlignHCenter}, {"Applied Rate", 60, Qt::AlignRight},
                {"Yearly", 53, Qt::AlignRight},    {"T", 14, Qt::AlignLeft}};

QPushButton* addButton(QBoxLayout* row, const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

BudgetDialog::BudgetDialog(Scenario& working, int number, Prompter& prompter, BudgetActions actions,
                           QWidget* parent)
    : EditorDialog(QStringLiteral("Budget"), working, prompter, parent), m_number(number),
      m_budget(working.budgets[std::clamp(number, 1, kBudgets) - 1]),
      m_actions(std::move(actions)) {
    setObjectName(QStringLiteral("budget"));
    setHelpTopic(help::kBudget);
    sortBudgetItems(m_budget);
    updateBudgetTotals(m_budget);
    const BudgetForm f = budgetForm(m_budget);
    m_name = addText("name", QStringLiteral("Budget Name"), f.name);
    m_name->setMaxLength(28);
    m_startAge = addText("startAge", QStringLiteral("Start Age"), f.startAge);
    m_endAge = addText("endAge", QStringLiteral("End Age"), f.endAge);
    m_startAge->setMaxLength(3);
    m_endAge->setMaxLength(3);
    m_active = addCheck("active", QStringLiteral("Activate this budget"), f.active);
    m_todaysDollars = addCheck(
        "todaysDollars",
        QString::fromStdString(formatText("Use amounts in age %3.1f dollars",
                                          static_cast<double>(working.initialValues.startAge))),
        f.todaysDollars);
    m_account = addAccounts("account", QStringLiteral("Withdraw from account:"), true, f.account);

    m_items = new QTreeWidget(this);
    m_items->setObjectName(QStringLiteral("items"));
    m_items->setRootIsDecorated(false);
    m_items->setAlternatingRowColors(true);
    m_items->setSelectionMode(QAbstractItemView::SingleSelection);
    m_items->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_items->setMinimumHeight(fontMetrics().height() * 10);
    m_items->viewport()->installEventFilter(this);
    QStringList titles;
    for (const auto& c : kColumns)
        titles << QString::fromLatin1(c.title);
    m_items->setHeaderLabels(titles);
    for (int c = 0; c < 6; ++c)
        m_items->headerItem()->setTextAlignment(c, kColumns[c].align | Qt::AlignVCenter);
    connect(m_items, &QTreeWidget::itemClicked, this, &BudgetDialog::itemChosen);
    connect(m_items, &QTreeWidget::itemDoubleClicked, this, &BudgetDialog::itemChosen);
    connect(m_items, &QTreeWidget::currentItemChanged, this, &BudgetDialog::itemChosen);

    m_total = new QLineEdit(this);
    m_total->setObjectName(QStringLiteral("yearlyTotal"));
    m_total->setReadOnly(true);
    m_total->setFocusPolicy(Qt::NoFocus);
    auto* totalRow = new QFormLayout;
    totalRow->addRow(QStringLiteral("Yearly Total"), m_total);

    auto* itemBox = new QGroupBox(QStringLiteral("Add / Edit Budget Item"), this);
    auto* itemForm = new QFormLayout;
    auto edit = [itemBox](const char* name) {
        auto* e = new QLineEdit(itemBox);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    m_itemName = edit("itemName");
    m_itemName->setMaxLength(kItemNameChars);
    m_itemAmount = edit("itemAmount");
    m_itemRate = edit("itemRate");
    itemForm->addRow(QStringLiteral("Name"), m_itemName);
    itemForm->addRow(QStringLiteral("Amount"), m_itemAmount);
    itemForm->addRow(QStringLiteral("Apply Rate"), m_itemRate);
    auto check = [itemBox](const char* name, const char* text) {
        auto* c = new QCheckBox(QString::fromLatin1(text), itemBox);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    m_monthly = check("itemMonthly", "Monthly");
    m_track = check("itemTrack", "Track");
    m_inflation = check("itemInflation", "Apply inflation rate to withdrawal");
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_monthly);
    checks->addWidget(m_track);
    checks->addWidget(m_inflation);
    checks->addStretch();
    itemForm->addRow(checks);
    auto* itemButtons = new QHBoxLayout;
    QPushButton* enter = addButton(itemButtons, "enter", "Enter", itemBox);
    QPushButton* clear = addButton(itemButtons, "clear", "Clear", itemBox);
    QPushButton* remove = addButton(itemButtons, "delete", "Delete", itemBox);
    QPushButton* clearAll = addButton(itemButtons, "clearAll", "Clear All", itemBox);
    itemButtons->addStretch();
    auto* itemLayout = new QVBoxLayout(itemBox);
    itemLayout->addLayout(itemForm);
    itemLayout->addLayout(itemButtons);
    connect(enter, &QPushButton::clicked, this, &BudgetDialog::enterItem);
    connect(clear, &QPushButton::clicked, this, &BudgetDialog::clearItem);
    connect(remove, &QPushButton::clicked, this, &BudgetDialog::deleteItem);
    connect(clearAll, &QPushButton::clicked, this, &BudgetDialog::clearAll);
    connect(m_itemName, &QLineEdit::returnPressed, this, &BudgetDialog::enterItem);
    connect(m_itemAmount, &QLineEdit::returnPressed, this, &BudgetDialog::enterItem);
    connect(m_itemRate, &QLineEdit::returnPressed, this, &BudgetDialog::enterItem);

    auto* fileButtons = new QHBoxLayout;
    QPushButton* copy = addButton(fileButtons, "copyAll", "Copy All", this);
    QPushButton* paste = addButton(fileButtons, "pasteAll", "Paste All", this);
    fileButtons->addStretch();
    QPushButton* print = addButton(fileButtons, "print", "Print", this);
    QPushButton* report = addButton(fileButtons, "printReport", "Print Report", this);
    copy->setToolTip(QStringLiteral("Keep this budget's items to paste into another budget"));
    paste->setToolTip(QStringLiteral("Replace this budget with the budget copied last"));
    connect(copy, &QPushButton::clicked, this, &BudgetDialog::copyAll);
    connect(paste, &QPushButton::clicked, this, &BudgetDialog::pasteAll);
    connect(print, &QPushButton::clicked, this, &BudgetDialog::printItems);
    connect(report, &QPushButton::clicked, this, &BudgetDialog::printReport);

    mainLayout()->insertWidget(1, m_items, 1);
    mainLayout()->insertLayout(2, totalRow);
    mainLayout()->insertWidget(3, itemBox);
    mainLayout()->insertLayout(4, fileButtons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 90);
    fillList();
    m_itemName->setFocus();
}

bool BudgetDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_items->viewport() && event->type() == QEvent::Resize) {
        const int width = m_items->viewport()->width() - 40;
        for (int c = 0; c < 6; ++c)
            m_items->setColumnWidth(c, std::max(12, width * kColumns[c].parts / 305));
    }
    return EditorDialog::eventFilter(watched, event);
}

BudgetForm BudgetDialog::fields() const {
    BudgetForm f;
    f.name = text(m_name);
    f.startAge = text(m_startAge);
    f.endAge = text(m_endAge);
    f.active = m_active->isChecked();
    f.todaysDollars = m_todaysDollars->isChecked();
    f.account = chosenAccount(m_account);
    return f;
}

BudgetItemFields BudgetDialog::itemFields() const {
    BudgetItemFields f;
    f.name = text(m_itemName);
    f.amount = text(m_itemAmount);
    f.rate = text(m_itemRate);
    f.monthly = m_monthly->isChecked();
    f.track = m_track->isChecked();
    f.inflation = m_inflation->isChecked();
    return f;
}

void BudgetDialog::showBudget() {
    const BudgetForm f = budgetForm(m_budget);
    m_name->setText(latin(f.name));
    m_startAge->setText(latin(f.startAge));
    m_endAge->setText(latin(f.endAge));
    fillList();
}

void BudgetDialog::fillList() {
    updateBudgetTotals(m_budget);
    m_items->clear();
    for (const BudgetRow& row : budgetRows(m_budget)) {
        auto* item = new QTreeWidgetItem(m_items);
        for (int c = 0; c < 6; ++c) {
            item->setText(c, latin(row.cells[c]));
            item->setTextAlignment(c, kColumns[c].align | Qt::AlignVCenter);
        }
    }
    m_total->setText(latin(budgetTotalText(m_budget)));
}

void BudgetDialog::itemChosen() {
    const int row = m_items->indexOfTopLevelItem(m_items->currentItem());
    if (row < 0)
        return;
    const BudgetItemFields f = budgetItemFields(m_budget, row);
    m_itemName->setText(latin(f.name));
    m_itemAmount->setText(latin(f.amount));
    m_itemRate->setText(latin(f.rate));
    m_monthly->setChecked(f.monthly);
    m_track->setChecked(f.track);
    m_inflation->setChecked(f.inflation);
}

void BudgetDialog::enterItem() {
    if (!passed(enterBudgetItem(m_budget, itemFields())))
        return;
    fillList();
}

void BudgetDialog::clearItem() {
    m_itemName->clear();
    m_itemAmount->clear();
    m_itemRate->clear();
    m_itemName->setFocus();
}

void BudgetDialog::deleteItem() {
    deleteBudgetItem(m_budget, text(m_itemName));
    fillList();
}

void BudgetDialog::clearAll() {
    clearBudgetItems(m_budget);
    fillList();
}

std::string BudgetDialog::workFile(const char* name) const {
    return (std::filesystem::path(m_actions.workDir) / name).string();
}

void BudgetDialog::copyAll() {
    storeBudgetHeading(m_budget, fields());
    passed(writeBudgetCopy(m_budget, workFile(kBudgetCopyFile)));
}

void BudgetDialog::pasteAll() {
    if (!passed(readBudgetCopy(m_budget, workFile(kBudgetCopyFile))))
        return;
    showBudget();
}

void BudgetDialog::printItems() {
    if (!passed(writeBudgetItemsPage(m_budget, workFile(kBudgetPrintFile))))
        return;
    if (m_actions.printItems)
        m_actions.printItems(m_name->text());
}

void BudgetDialog::printReport() {
    storeBudgetHeading(m_budget, fields());
    if (!passed(writeBudgetCopy(m_budget, workFile(kBudgetReportFile))))
        return;
    if (m_actions.showReport)
        m_actions.showReport(m_budget, this);
}

bool BudgetDialog::apply() {
    return passed(acceptBudget(working(), m_number, m_budget, fields()));
}

} // namespace finplan
