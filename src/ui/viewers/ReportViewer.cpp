#include "ui/viewers/ReportViewer.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/Simulation.h"
#include "results/AllocationReport.h"
#include "ui/printing/PrintButtons.h"

namespace finplan {

Result<ReportTable> screenReport(const RunState& run, const std::string& workDir, int kind,
                                 int age) {
    if (kind == kAllocationReport)
        return allocationReportTable(allocationReport(run, age));
    ReportContext context{run, workDir};
    Result<int> pages = Status::error("", "");
    switch (kind) {
    case kNetWorthReport:
    case kIncomingReport:
    case kOutgoingReport:
        pages = writeSummaryPages(context, kind, PageMode::Screen);
        break;
    case kAccountReport:
        pages = writeAccountPages(context, PageMode::Screen);
        break;
    case kGroupReport:
        pages = writeGroupPages(context, PageMode::Screen);
        break;
    case kIncomingEventsReport:
    case kOutgoingEventsReport:
        pages = writeEventPages(context, kind == kIncomingEventsReport ? 0 : 1, PageMode::Screen);
        break;
    case kAccountFlowReport:
        pages = writeAccountFlowPages(context, PageMode::Screen);
        break;
    default:
        break;
    }
    if (!pages)
        return pages.message();
    if (*pages == 0)
        return Message{"There is nothing to show in this report.", reportTitle(kind),
                       MessageKind::Information};
    ReportTable table;
    if (!readReportPage(context.path("spage1"), table))
        return Message{"Cannot open spage1", "FILE OPEN ERROR", MessageKind::Error};
    return table;
}

ReportViewer::ReportViewer(int kind, const ReportTable& table, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    const QString title = QString::fromStdString(reportTitle(kind));
    setWindowTitle(title);
    setObjectName(QStringLiteral("reportViewer"));
    m_table->setObjectName(QStringLiteral("reportTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setColumnCount(static_cast<int>(table.titles.size()));
    QStringList titles;
    for (const std::string& t : table.titles)
        titles << QString::fromLatin1(t.c_str());
    m_table->setHorizontalHeaderLabels(titles);
    m_table->setRowCount(static_cast<int>(table.rows.size()));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const auto& row = table.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()) && c < m_table->columnCount(); ++c) {
            auto* item =
                new QTableWidgetItem(QString::fromLatin1(row[static_cast<std::size_t>(c)].c_str()));
            // The age stands on the left; the amounts line up on their decimal points.
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    addPrintButtons(buttons, [this](PrintOutput output) { Q_EMIT printRequested(output); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(900, 560);
}

} // namespace finplan
