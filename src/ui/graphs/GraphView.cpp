#include "ui/graphs/GraphView.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace finplan {

GraphView::GraphView(const GraphData& data, GraphState& state, const GraphPick& pick,
                     QWidget* parent)
    : QWidget(parent), m_data(data), m_state(state), m_pick(pick) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 240);
}

void GraphView::setPick(const GraphPick& pick) {
    m_pick = pick;
    update();
}

void GraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (fourUp())
        m_geometry = paintFourUp(painter, rect(), m_data, m_state, GraphTarget::Screen);
    else
        m_geometry[0] = paintGraph(painter, rect(), m_data, m_state, m_pick, GraphTarget::Screen);
}

void GraphView::layoutCharts() {
    const QFontMetricsF metrics(font(), this);
    if (!fourUp()) {
        m_geometry[0] = graphGeometry(rect(), metrics, m_data, m_state, m_pick);
        return;
    }
    const FourUpAreas areas = fourUpAreas(rect());
    for (int q = 0; q < 3; ++q)
        m_geometry[static_cast<std::size_t>(q)] =
            graphGeometry(areas.quadrants[static_cast<std::size_t>(q)], metrics, m_data, m_state,
                          GraphPick{quadrantKind(q + 1)});
}

int GraphView::quadrantAt(const QPointF& point) const {
    const FourUpAreas areas = fourUpAreas(rect());
    for (int q = 0; q < 3; ++q)
        if (areas.quadrants[static_cast<std::size_t>(q)].contains(point))
            return q + 1;
    return 0;
}

const GraphGeometry* GraphView::geometryAt(const QPointF& point) {
    layoutCharts();
    if (!fourUp())
        return &m_geometry[0];
    const int q = quadrantAt(point);
    return q > 0 ? &m_geometry[static_cast<std::size_t>(q - 1)] : nullptr;
}

bool GraphView::ignoringMouse() const {
    return QApplication::activeModalWidget() || (m_busy && m_busy());
}

void GraphView::changed() {
    update();
    Q_EMIT stateChanged();
}

void GraphView::moveCursorTo(const GraphGeometry& g, int row) {
    const QPoint local(static_cast<int>(g.columnCentre(row)),
                       static_cast<int>(g.plot.center().y()));
    QCursor::setPos(mapToGlobal(local));
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (ignoringMouse())
        return;
    const QPointF at = event->position();
    const GraphGeometry* g = geometryAt(at);
    if (!g || !g->valid())
        return;
    if (fourUp())
        m_state.quadrant = quadrantAt(at);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (g->pie || !g->plot.contains(at)) {
        changed();
        return;
    }
    const int row = g->rowAt(at.x());
    const double value = g->valueAt(at.y());
    if (event->button() == Qt::LeftButton && shift) {
        if (m_state.lineMode())
            addMark(m_state, row, static_cast<float>(value));
    } else if (event->button() == Qt::RightButton && shift) {
        std::vector<float> ages;
        for (const ResultRow& r : m_data.rows)
            ages.push_back(r.age);
        zoomByMarks(m_state, ages);
    } else if (event->button() == Qt::LeftButton) {
        m_state.selectedRow = row;
        const int age = static_cast<int>(m_data.rows[static_cast<std::size_t>(row)].age);
        QToolTip::showText(
            event->globalPosition().toPoint(),
            QStringLiteral("Age %1\n%2").arg(age).arg(QString::fromStdString(axisLabel(value))),
            this);
    }
    changed();
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (ignoringMouse())
        return;
    const GraphGeometry* g = geometryAt(event->position());
    if (!g || !g->valid() || !g->chart.contains(event->position()))
        return;
    if (event->button() == Qt::LeftButton && hasPie(g->kind)) {
        m_state.pie = !m_state.pie;
        changed();
    } else if (event->button() == Qt::RightButton && !g->pie) {
        nextStyle(m_state, g->rows);
        changed();
    }
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    const GraphGeometry* g = geometryAt(event->position());
    const bool overPlot = g && g->valid() && !g->pie && g->plot.contains(event->position());
    setCursor(overPlot ? Qt::CrossCursor : Qt::ArrowCursor);
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    const bool pie = m_state.pie && hasPie(fourUp() ? kNetWorthGraph : m_pick.kind);
    switch (event->key()) {
    case Qt::Key_L:
        if (fourUp() || pie)
            break;
        moveLegend(m_state);
        changed();
        return;
    case Qt::Key_N:
        if (fourUp() || pie)
            break;
        hideLegend(m_state);
        changed();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!fourUp())
            break;
        layoutCharts();
        const GraphGeometry& g = m_geometry[static_cast<std::size_t>(m_state.quadrant - 1)];
        if (!g.valid())
            return;
        const int step = event->key() == Qt::Key_Right ? 1 : -1;
        m_state.selectedRow =
            std::clamp(m_state.selectedRow + step, g.firstRow, g.firstRow + g.rows - 1);
        moveCursorTo(g, m_state.selectedRow);
        changed();
        return;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!fourUp())
            break;
        layoutCharts();
        const int step = event->key() == Qt::Key_Down ? 1 : 2;
        m_state.quadrant = (m_state.quadrant - 1 + step) % 3 + 1;
        const GraphGeometry& g = m_geometry[static_cast<std::size_t>(m_state.quadrant - 1)];
        if (g.valid())
            moveCursorTo(g, std::clamp(m_state.selectedRow, g.firstRow, g.firstRow + g.rows - 1));
        changed();
        return;
    }
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace finplan
