#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "ui/graphs/GraphPainter.h"

namespace finplan {

// A graph folder's panel: one chart, or the four-up view, with the mouse and keys of the
// charts. The data and the view settings belong to the window and are shared by all panels.
class GraphView : public QWidget {
    Q_OBJECT
  public:
    GraphView(const GraphData& data, GraphState& state, const GraphPick& pick,
              QWidget* parent = nullptr);

    const GraphPick& pick() const { return m_pick; }
    void setPick(const GraphPick& pick);
    bool fourUp() const { return m_pick.kind == kFourUpView; }
    // Mouse input is ignored while this says the window is busy.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }
    // The geometry of the chart under `point`, or of the single chart; null in the summary
    // panel.
    const GraphGeometry* geometryAt(const QPointF& point);

  Q_SIGNALS:
    // The shared settings changed: every panel draws again.
    void stateChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The charts' geometry for the panel's present size and the data as it is.
    void layoutCharts();
    bool ignoringMouse() const;
    void changed();
    // The quadrant (1 to 3) of the four-up view under `point`, or 0.
    int quadrantAt(const QPointF& point) const;
    void moveCursorTo(const GraphGeometry& g, int row);

    const GraphData& m_data;
    GraphState& m_state;
    GraphPick m_pick;
    std::function<bool()> m_busy;
    std::array<GraphGeometry, 3> m_geometry; // one chart, or the three of the four-up view
};

} // namespace finplan
