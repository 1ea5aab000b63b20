#include "ui/folders/AccountsFolder.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "engine/Money.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

constexpr int kColumns = 14;
const char* const kTitles[kColumns] = {"Account",         "Group",          "P",
                                       "Account Type",    "Rate",           "Amount",
                                       "Order",           "Dividend",       "Taxable Div. %",
                                       "Deposit Account", "Penalty Age",    "Penalty Rate",
                                       "Min Random Rate", "Max Random Rate"};

bool hasPenalty(const Account& a) {
    return (a.type == kRetirementSavings || a.type == kTaxFreeSavings) && a.penaltyFlag == 1;
}

QString cell(const Scenario& s, const Account& a, int column) {
    const int slot = a.slotId >= 0 && a.slotId < kSlots ? a.slotId : -1;
    auto text = [](const std::string& t) { return QString::fromStdString(t).trimmed(); };
    switch (column) {
    case 0:
        return text(a.name.str());
    case 1:
        return a.group >= 0 && a.group < kGroups ? text(s.groups.name[a.group].str()) : QString();
    case 2:
        return hasPenalty(a) ? QStringLiteral("x") : QString();
    case 3:
        return QString::fromLatin1(accountTypeName(a.type));
    case 4:
        return text(formatText("%8.3f", a.initialRate));
    case 5:
        return text(formatText("%13.2f", a.initialAmount));
    case 6:
        return text(a.accessOrder.str());
    case 7:
        return slot < 0 ? QString() : text(formatText("%6.2f", s.dividends.dividendRate[slot]));
    case 8:
        return slot < 0 ? QString() : text(formatText("%6.2f", s.dividends.dividendTaxable[slot]));
    case 9: {
        const Account* target =
            slot < 0 ? nullptr : accountById(s, s.dividends.dividendAccount[slot]);
        return target ? text(target->name.str()) : QString();
    }
    case 10:
        return slot >= 0 && hasPenalty(a) ? text(formatText("%6.2f", s.slots.penaltyAge[slot]))
                                          : QString();
    case 11:
        return slot >= 0 && hasPenalty(a) ? text(formatText("%8.3f", s.slots.penaltyRate[slot]))
                                          : QString();
    case 12:
        return text(formatText("%8.3f", a.randomMinRate));
    case 13:
        return text(formatText("%8.3f", a.randomMaxRate));
    default:
        return {};
    }
}

} // namespace

class AccountsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setScenario(const Scenario* s) {
        beginResetModel();
        m_scenario = s;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_scenario
                   ? 0
                   : std::clamp<int>(m_scenario->accountTable.accountCount, 0, kMaxAccounts);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_scenario)
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return {};
        return cell(*m_scenario, m_scenario->accountTable.accounts[index.row()], index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kColumns)
            return QString::fromLatin1(kTitles[section]);
        return {};
    }

  private:
    const Scenario* m_scenario = nullptr;
};

AccountsFolder::AccountsFolder(QWidget* parent)
    : QWidget(parent), m_model(new AccountsModel(this)), m_view(new QTableView(this)),
      m_count(new QLabel(this)), m_total(new QLabel(this)) {
    m_view->setObjectName(QStringLiteral("accountList"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_view->setMinimumHeight(275);
    m_count->setObjectName(QStringLiteral("accountCount"));
    m_total->setObjectName(QStringLiteral("accountTotal"));

    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Number of Accounts:"), this));
    totals->addWidget(m_count);
    totals->addSpacing(24);
    totals->addWidget(new QLabel(QStringLiteral("Total:"), this));
    totals->addWidget(m_total);
    totals->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(totals);
}

void AccountsFolder::showAccounts(const Scenario& s) {
    m_model->setScenario(&s);
    float total = 0;
    const int count = m_model->rowCount();
    for (int k = 0; k < count; ++k)
        total += s.accountTable.accounts[k].initialAmount;
    m_count->setText(QString::asprintf("%2d", count));
    m_total->setText(QString::fromStdString(formatMoney(formatText("%13.2f", total))));
}

} // namespace finplan
