#include "ui/folders/AccountsFolder.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Icons.h"

namespace finplan {

class AccountsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const Scenario* s, std::vector<int> order) {
        beginResetModel();
        m_scenario = s;
        m_order = std::move(order);
        endResetModel();
    }
    int positionOf(int row) const {
        return row >= 0 && row < static_cast<int>(m_order.size())
                   ? m_order[static_cast<std::size_t>(row)]
                   : -1;
    }
    int rowOf(int position) const {
        for (std::size_t r = 0; r < m_order.size(); ++r)
            if (m_order[r] == position)
                return static_cast<int>(r);
        return -1;
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_order.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kAccountColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_scenario)
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return {};
        return QString::fromLatin1(
            accountCell(*m_scenario, positionOf(index.row()), index.column()).c_str());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromLatin1(accountColumnTitle(section));
        return {};
    }

  private:
    const Scenario* m_scenario = nullptr;
    std::vector<int> m_order;
};

AccountsFolder::AccountsFolder(QWidget* parent)
    : QWidget(parent), m_model(new AccountsModel(this)), m_view(new QTableView(this)),
      m_count(new QLabel(this)), m_total(new QLabel(this)), m_selected(new QLabel(this)),
      m_withdrawalOrder(new QCheckBox(QStringLiteral("Sort by withdrawal order"), this)),
      m_edit(new QPushButton(themeIcon("document-edit", QStyle::SP_FileDialogDetailedView),
                             QStringLiteral("&Edit"), this)),
      m_delete(new QPushButton(themeIcon("edit-delete", QStyle::SP_TrashIcon),
                               QStringLiteral("&Delete"), this)) {
    m_view->setObjectName(QStringLiteral("accountList"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->setShowGrid(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(false);
    // The name column takes a quarter of the list; the others fit their texts.
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    m_view->setMinimumHeight(275);
    m_count->setObjectName(QStringLiteral("accountCount"));
    m_total->setObjectName(QStringLiteral("accountTotal"));
    m_selected->setObjectName(QStringLiteral("selectedAccount"));
    m_withdrawalOrder->setObjectName(QStringLiteral("sortByWithdrawalOrder"));

    auto* add = new QPushButton(themeIcon("list-add", QStyle::SP_FileDialogNewFolder),
                                QStringLiteral("&Add"), this);
    auto* import = new QPushButton(themeIcon("document-import", QStyle::SP_DialogOpenButton),
                                   QStringLiteral("&Import"), this);
    auto* help = new QPushButton(themeIcon("help-contents", QStyle::SP_DialogHelpButton),
                                 QStringLiteral("&Help"), this);
    add->setObjectName(QStringLiteral("addAccountButton"));
    m_edit->setObjectName(QStringLiteral("editAccountButton"));
    import->setObjectName(QStringLiteral("importAccountsButton"));
    m_delete->setObjectName(QStringLiteral("deleteAccountButton"));
    help->setObjectName(QStringLiteral("accountsHelpButton"));

    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Number of Accounts:"), this));
    totals->addWidget(m_count);
    totals->addSpacing(24);
    totals->addWidget(new QLabel(QStringLiteral("Total:"), this));
    totals->addWidget(m_total);
    totals->addSpacing(24);
    totals->addWidget(new QLabel(QStringLiteral("Selected Account:"), this));
    totals->addWidget(m_selected, 1);
    totals->addWidget(m_withdrawalOrder);

    auto* classes = new QPushButton(QStringLiteral("Asset Allocation..."), this);
    classes->setObjectName(QStringLiteral("assetClasses"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, m_edit, import, m_delete})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(classes);
    buttons->addStretch();
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);

    connect(header, &QHeaderView::sectionClicked, this, &AccountsFolder::headerClicked);
    connect(m_withdrawalOrder, &QCheckBox::toggled, this, &AccountsFolder::withdrawalOrderToggled);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AccountsFolder::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &AccountsFolder::selectionChanged);
    connect(add, &QPushButton::clicked, this, &AccountsFolder::addRequested);
    connect(import, &QPushButton::clicked, this, &AccountsFolder::importRequested);
    connect(classes, &QPushButton::clicked, this, &AccountsFolder::assetClassesRequested);
    connect(m_edit, &QPushButton::clicked, this, [this] {
        if (selectedAccount() >= 0)
            Q_EMIT editRequested(selectedAccount());
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (selectedAccount() >= 0)
            Q_EMIT deleteRequested(selectedAccount());
    });
    connect(help, &QPushButton::clicked, this,
            [this] { openHelpTopic(this, help::kAccountsPanel); });
    // A double click or Enter (activation) edits; the Delete key is the filter's.
    connect(m_view, &QTableView::activated, this, [this](const QModelIndex& index) {
        Q_EMIT editRequested(m_model->positionOf(index.row()));
    });
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    selectionChanged();
}

bool AccountsFolder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        fitNameColumn();
    if (watched == m_view && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        m_delete->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void AccountsFolder::fitNameColumn() {
    m_view->resizeColumnToContents(0);
    m_view->setColumnWidth(0, std::max(m_view->viewport()->width() / 4, m_view->columnWidth(0)));
}

int AccountsFolder::selectedAccount() const {
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : m_model->positionOf(rows.front().row());
}

void AccountsFolder::showAccounts(const Scenario& s) {
    m_scenario = &s;
    m_model->show(&s, accountsListOrder(s, m_sort));
    m_count->setText(QString::fromStdString(accountCountText(s)));
    m_total->setText(QString::fromStdString(accountTotalText(s)));
    fitNameColumn();
}

void AccountsFolder::reorder() {
    if (!m_scenario)
        return;
    const int selected = selectedAccount();
    m_model->show(m_scenario, accountsListOrder(*m_scenario, m_sort));
    if (const int row = m_model->rowOf(selected); row >= 0)
        m_view->selectRow(row);
    const int column = static_cast<int>(m_sort.key);
    m_view->horizontalHeader()->setSortIndicator(
        column, m_sort.ascending[static_cast<std::size_t>(column)] ? Qt::AscendingOrder
                                                                   : Qt::DescendingOrder);
}

void AccountsFolder::headerClicked(int column) {
    if (!clickAccountColumn(m_sort, column)) {
        // Columns that do not sort leave the indicator where it was.
        const int key = static_cast<int>(m_sort.key);
        m_view->horizontalHeader()->setSortIndicator(
            key, m_sort.ascending[static_cast<std::size_t>(key)] ? Qt::AscendingOrder
                                                                 : Qt::DescendingOrder);
        return;
    }
    {
        const QSignalBlocker blocker(m_withdrawalOrder);
        m_withdrawalOrder->setChecked(m_sort.byWithdrawalOrder);
    }
    reorder();
}

void AccountsFolder::withdrawalOrderToggled(bool checked) {
    setSortByWithdrawalOrder(m_sort, checked);
    reorder();
}

void AccountsFolder::selectionChanged() {
    const int position = selectedAccount();
    m_selected->setText(position >= 0 && m_scenario
                            ? QString::fromLatin1(accountCell(*m_scenario, position, 0).c_str())
                            : QString());
    m_edit->setEnabled(position >= 0);
    m_delete->setEnabled(position >= 0);
}

} // namespace finplan
