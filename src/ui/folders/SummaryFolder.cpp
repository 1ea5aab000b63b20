#include "ui/folders/SummaryFolder.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "engine/Money.h"
#include "engine/Simulation.h"

namespace finplan {

namespace {

const char* const kRedFlagTexts[kRedFlagKinds] = {
    "A penalty was paid on an early withdrawal",
    "Retirement withdrawals were due",
    "The liquid accounts were depleted",
    "A withdrawal account was depleted",
    "The accounts of a required distribution were depleted",
    "Transfers were not completed",
    "Your net worth went negative",
    "Money had no Investment account to go to or come from"};

QString money(float value) {
    return QString::fromStdString(moneyText(value)).toHtmlEscaped();
}

QString ageText(float age) {
    return QString::number(static_cast<double>(age), 'f', 1);
}

} // namespace

SummaryFolder::SummaryFolder(QWidget* parent) : QWidget(parent), m_text(new QTextBrowser(this)) {
    m_text->setObjectName(QStringLiteral("summaryText"));
    m_text->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
}

void SummaryFolder::showRun(const RunState* state) {
    if (!state || state->table.rowCount == 0) {
        m_text->setHtml(QStringLiteral("<p>There are no results to show.</p>"));
        return;
    }
    const ResultTable& t = state->table;
    const ResultRow& first = t.rows[0];
    const ResultRow& last = t.rows[static_cast<std::size_t>(t.rowCount - 1)];
    QString html = QStringLiteral("<h2>Net Worth Summary</h2><table cellpadding='4'>");
    auto row = [&html](const QString& label, const QString& value) {
        html += QStringLiteral("<tr><td>%1</td><td align='right'><b>%2</b></td></tr>")
                    .arg(label, value);
    };
    row(QStringLiteral("Net worth at age %1").arg(ageText(first.age)), money(first.rowNetWorth));
    row(QStringLiteral("Net worth at age %1").arg(ageText(last.age)), money(last.rowNetWorth));
    row(QStringLiteral("Net worth at age %1 in today's dollars").arg(ageText(last.age)),
        money(t.todaysNetWorth[static_cast<std::size_t>(t.rowCount - 1)]));
    html += QStringLiteral("</table><h3>Red flags</h3>");
    QString flags;
    for (int k = 0; k < kRedFlagKinds; ++k) {
        const RedFlag& flag = state->redFlags.flags[static_cast<std::size_t>(k)];
        if (flag.raised)
            flags += QStringLiteral("<li><span style='color:red'>%1</span> at age %2</li>")
                         .arg(QString::fromLatin1(kRedFlagTexts[k]))
                         .arg(flag.age);
    }
    html += flags.isEmpty() ? QStringLiteral("<p>None.</p>")
                            : QStringLiteral("<ul>") + flags + QStringLiteral("</ul>");
    m_text->setHtml(html);
}

} // namespace finplan
