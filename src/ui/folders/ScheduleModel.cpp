#include "ui/folders/ScheduleModel.h"

#include <QPainter>
#include <QTableView>

#include "engine/ScheduleLog.h"

namespace finplan {

namespace {

const QColor kRed(Qt::red);
constexpr int kCellPadding = 4;

} // namespace

void ScheduleModel::endRun(const ScheduleLog* log, float startAge) {
    m_log = log;
    m_startAge = startAge;
    endResetModel();
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_log ? 0 : static_cast<int>(m_log->size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kScheduleColumns;
}

std::string_view ScheduleModel::line(int row) const {
    if (!m_log || row < 0 || static_cast<std::size_t>(row) >= m_log->size())
        return {};
    return m_log->line(static_cast<std::size_t>(row));
}

std::vector<RowSegment> ScheduleModel::segments(int row) const {
    return layoutScheduleRow(line(row), m_startAge);
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        for (const RowSegment& s : segments(index.row()))
            if (s.first == index.column())
                return QString::fromStdString(s.text);
        return {};
    case LineRole:
        return QString::fromStdString(std::string(line(index.row())));
    case RedRole:
        return isRed(index.row());
    default:
        return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[kScheduleColumns] = {"Age",         "Investment", "Tax Free",
                                                          "Retirement",  "Assets",     "Equity",
                                                          "Liabilities", "Net Worth"};
    if (orientation != Qt::Horizontal || section < 0 || section >= kScheduleColumns)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(section == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                : Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

ScheduleDelegate::ScheduleDelegate(QTableView* view, const ScheduleModel* model)
    : QStyledItemDelegate(view), m_view(view), m_model(model) {}

void ScheduleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int row = index.row();
    const int column = index.column();
    painter->save();
    painter->setClipRect(option.rect);
    const bool band = row % 2 && m_view->alternatingRowColors();
    painter->fillRect(option.rect,
                      option.palette.color(band ? QPalette::AlternateBase : QPalette::Base));
    const bool redRow = m_model->isRed(row);
    // The year rows stand out from the lines of the events between them.
    if (isTableRow(m_model->line(row))) {
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
    }
    for (const RowSegment& s : m_model->segments(row)) {
        if (column < s.first || column > s.last)
            continue;
        const int left = m_view->columnViewportPosition(s.first);
        const int right = m_view->columnViewportPosition(s.last) + m_view->columnWidth(s.last);
        const QRect area(left + kCellPadding, option.rect.top(), right - left - 2 * kCellPadding,
                         option.rect.height());
        painter->setPen(redRow || isNegativeMoney(s.text) ? kRed
                                                          : option.palette.color(QPalette::Text));
        painter->drawText(area, Qt::AlignVCenter | (s.alignRight ? Qt::AlignRight : Qt::AlignLeft),
                          QString::fromStdString(s.text));
    }
    painter->restore();
}

} // namespace finplan
