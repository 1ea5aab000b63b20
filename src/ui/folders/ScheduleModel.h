#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>

#include "ui/folders/ScheduleRules.h"

class QTableView;

namespace finplan {

class ScheduleLog;

// The results list: one row per schedule line of the last run, in the eight columns of the year
// summary. The log belongs to the run; the window resets the model around each run.
class ScheduleModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Role { LineRole = Qt::UserRole, RedRole };

    using QAbstractTableModel::QAbstractTableModel;

    void beginRun() { beginResetModel(); }
    // `log` may be null when the run failed or none has been made.
    void endRun(const ScheduleLog* log, float startAge);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::string_view line(int row) const;
    std::vector<RowSegment> segments(int row) const;
    bool isRed(int row) const { return isRedRow(line(row)); }

  private:
    const ScheduleLog* m_log = nullptr;
    float m_startAge = 0;
};

// Draws the results rows: the view's bands, the segments of each row across their columns, and red
// for warnings and negative money. Each cell draws only its own part, so partial repaints stay
// whole.
class ScheduleDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    ScheduleDelegate(QTableView* view, const ScheduleModel* model);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    QTableView* m_view;
    const ScheduleModel* m_model;
};

} // namespace finplan
