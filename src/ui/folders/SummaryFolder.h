#pragma once

#include <QWidget>

namespace finplan {

class GraphView;
struct GraphData;
struct GraphState;

// The Summary folder: the four-up view of net worth, incoming and outgoing with the summary
// panel of the selected age.
class SummaryFolder : public QWidget {
    Q_OBJECT
  public:
    SummaryFolder(const GraphData& data, GraphState& state, QWidget* parent = nullptr);
    GraphView* graph() const { return m_graph; }

  private:
    GraphView* m_graph;
};

} // namespace finplan
