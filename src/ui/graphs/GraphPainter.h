#pragma once

#include <QRectF>
#include <array>

#include "results/GraphScale.h"
#include "results/GraphSeries.h"
#include "results/GraphState.h"

class QFontMetricsF;
class QPainter;

// The one painter of the charts, on screen and on paper.

namespace finplan {

enum class GraphTarget { Screen, Printer };

// Which chart a panel shows: a graph kind and, for the accounts kind, the account window
// (account numbers from 1). Kind 0 is the four-up view of the Summary folder.
struct GraphPick {
    int kind = kNetWorthGraph;
    int firstAccount = 1;
    int lastAccount = 10;
};
inline constexpr int kFourUpView = 0;

// Where a chart puts its plot and rows, for drawing and for the mouse.
struct GraphGeometry {
    QRectF chart;
    QRectF plot; // empty when nothing is drawn
    int firstRow = 0;
    int rows = 0;
    GraphScale scale;
    int kind = kNetWorthGraph;
    bool pie = false;

    bool valid() const { return rows > 0 && !plot.isEmpty(); }
    double columnWidth() const { return rows > 0 ? plot.width() / rows : 0; }
    // The row whose column centre is nearest `x`.
    int rowAt(double x) const;
    double columnCentre(int row) const;
    double valueAt(double y) const;
    double yOf(double value) const;
};

// The geometry a chart of `pick` takes in `area` with the font of `metrics`.
GraphGeometry graphGeometry(const QRectF& area, const QFontMetricsF& metrics, const GraphData& data,
                            const GraphState& state, const GraphPick& pick);

// One chart filling `area`, or its pie when the state says so. Nothing but the background
// is drawn when the run has no accounts.
GraphGeometry paintGraph(QPainter& painter, const QRectF& area, const GraphData& data,
                         const GraphState& state, const GraphPick& pick, GraphTarget target);

// The four-up view's summary panel: the selected age and the selected quadrant's parts.
void paintSummaryPanel(QPainter& painter, const QRectF& area, const GraphData& data,
                       const GraphState& state, GraphTarget target);

// The four-up view: net worth upper left, incoming upper right, outgoing lower right, the
// summary panel lower left.
struct FourUpAreas {
    std::array<QRectF, 3> quadrants; // quadrants 1, 2 and 3
    QRectF summary;
};
FourUpAreas fourUpAreas(const QRectF& area);
// The kind drawn in quadrant 1, 2 or 3.
int quadrantKind(int quadrant);
std::array<GraphGeometry, 3> paintFourUp(QPainter& painter, const QRectF& area,
                                         const GraphData& data, const GraphState& state,
                                         GraphTarget target);

// A printed sheet inside `printable`: one chart across the width (on a portrait sheet as high
// as width x width / height), or for kind 0 the summary sheet with four charts and, in the
// bottom five text lines, the heading "Summary" and the data's title lines, centred.
void paintGraphSheet(QPainter& painter, const QRectF& printable, const GraphData& data,
                     const GraphState& state, const GraphPick& pick);

} // namespace finplan
