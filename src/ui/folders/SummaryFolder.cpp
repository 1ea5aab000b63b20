#include "ui/folders/SummaryFolder.h"

#include <QVBoxLayout>

#include "ui/graphs/GraphView.h"

namespace finplan {

SummaryFolder::SummaryFolder(const GraphData& data, GraphState& state, QWidget* parent)
    : QWidget(parent), m_graph(new GraphView(data, state, GraphPick{kFourUpView}, this)) {
    m_graph->setObjectName(QStringLiteral("summaryGraph"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_graph);
}

} // namespace finplan
