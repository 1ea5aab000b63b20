#include "ui/viewers/PaymentScheduleWindow.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "model/TextFormat.h"
#include "results/ReportPages.h"
#include "ui/printing/PrintButtons.h"

namespace finplan {

namespace {

// Column widths in proportion to each other; together they fill the list's width.
constexpr int kColumnParts[] = {33, 77, 77, 85, 85, 85, 85, 90, 90, 90};
constexpr int kAllParts = 797;

} // namespace

PaymentScheduleWindow::PaymentScheduleWindow(const FinancialEvent& event, float scenarioStartAge,
                                             const std::string& workDir, Notifier& notifier,
                                             QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("Mortgage Schedule"));
    setObjectName(QStringLiteral("paymentSchedule"));
    m_table->setObjectName(QStringLiteral("scheduleTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The columns share the list's width in their proportions whenever it changes.
    m_table->viewport()->installEventFilter(this);
    m_table->setColumnCount(static_cast<int>(std::size(kColumnParts)));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Age"), QStringLiteral("Principal"), QStringLiteral("Interest"),
         QStringLiteral("Total Principal"), QStringLiteral("Total Interest"),
         QStringLiteral("Total Payment"), QStringLiteral("Equity"),
         QStringLiteral("Inflated Equity"), QStringLiteral("Property Value"),
         QStringLiteral("Property Liability")});

    const std::vector<PaymentScheduleRow> rows = computePaymentSchedule(event, scenarioStartAge);
    const std::string path = (std::filesystem::path(workDir) / "psched.tmp").string();
    if (const Status written = writePaymentScheduleFile(rows, path); !written) {
        notifier.notify(written.message());
    } else {
        m_table->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < m_table->rowCount(); ++r) {
            const PaymentScheduleRow& row = rows[static_cast<std::size_t>(r)];
            const float values[] = {row.principal,      row.interest,      row.totalPrincipal,
                                    row.totalInterest,  row.totalPayment,  row.equity,
                                    row.inflatedEquity, row.propertyValue, row.propertyLiability};
            auto* age = new QTableWidgetItem(QString::number(row.age));
            age->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_table->setItem(r, 0, age);
            for (int c = 0; c < static_cast<int>(std::size(values)); ++c) {
                auto* item = new QTableWidgetItem(
                    QString::fromStdString(formatText("%.2f", static_cast<double>(values[c]))));
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_table->setItem(r, c + 1, item);
            }
        }
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    addPrintButtons(buttons, [this](PrintOutput output) { Q_EMIT printRequested(output); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(980, 520);
}

bool PaymentScheduleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table->viewport() && event->type() == QEvent::Resize) {
        const int width = m_table->viewport()->width();
        for (int c = 0; c < m_table->columnCount(); ++c)
            m_table->setColumnWidth(c, width * kColumnParts[c] / kAllParts);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace finplan
