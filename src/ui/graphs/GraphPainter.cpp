#include "ui/graphs/GraphPainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "engine/Money.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

QColor toColor(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

const QColor kTextColour(Qt::black);

// Lengths are given in screen pixels and grow with the device's resolution, so that a chart
// on paper keeps the proportions it has on screen.
double unitOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? std::max(device->logicalDpiY() / 96.0, 1.0) : 1.0;
}

// Series pens: 2 pixels on screen, 8 dots of a 600 dots-per-inch printer on paper.
double seriesPenWidth(const QPainter& painter, GraphTarget target) {
    if (target == GraphTarget::Screen)
        return 2;
    const QPaintDevice* device = painter.device();
    const double dpi = device ? device->logicalDpiY() : 96;
    return std::max(8.0 * dpi / 600.0, 1.0);
}

// The range of all the chart's values over the shown rows.
GraphScale chartScale(const GraphChart& chart, const GraphState& state, int first, int rows) {
    if (state.zoomed)
        return zoomScale(static_cast<double>(state.zoomMaximum));
    double most = 0;
    double least = 0;
    for (const GraphSeries& s : chart.series)
        for (int r = first; r < first + rows && r < static_cast<int>(s.values.size()); ++r) {
            const double v = s.values[static_cast<std::size_t>(r)];
            if (std::isfinite(v)) {
                most = std::max(most, v);
                least = std::min(least, v);
            }
        }
    return automaticScale(most, least);
}

GraphChart pickedChart(const GraphData& data, const GraphPick& pick) {
    return graphChart(data, pick.kind, pick.firstAccount, pick.lastAccount);
}

double widestValueLabel(const QFontMetricsF& metrics, const GraphScale& scale) {
    double widest = 0;
    for (int k = 0; k <= 10; ++k)
        widest = std::max(
            widest, metrics.horizontalAdvance(text(axisLabel(scale.bottom + k * scale.step))));
    return widest;
}

QFont titleFont(const QFont& base) {
    QFont font(base);
    font.setBold(true);
    return font;
}

void drawFrame(QPainter& painter, const QRectF& chart, GraphTarget target) {
    if (target != GraphTarget::Printer)
        return;
    const double u = unitOf(painter);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kTextColour, u));
    painter.drawRect(chart);
    painter.drawRect(chart.adjusted(-u * 2, -u * 2, u * 2, u * 2));
    painter.restore();
}

// The legend box: one line per entry with its swatch, right edge 24 units from the chart's.
void drawLegend(QPainter& painter, const QRectF& chart, const QRectF& plot,
                const std::vector<std::pair<QString, QColor>>& entries) {
    if (entries.empty())
        return;
    const double u = unitOf(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    double longest = 0;
    for (const auto& [name, colour] : entries)
        longest = std::max(longest, metrics.horizontalAdvance(name));
    const double line = metrics.height() * 1.15;
    const double swatch = metrics.height() * 0.8;
    const double pad = metrics.height() * 0.4;
    const double width = pad + swatch + pad + longest + pad;
    const double height = pad * 2 + line * static_cast<double>(entries.size());
    const QRectF box(chart.right() - 24 * u - width, plot.top() + pad, width, height);
    painter.save();
    painter.setPen(QPen(kTextColour, 0));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(box);
    double y = box.top() + pad;
    for (const auto& [name, colour] : entries) {
        const QRectF sw(box.left() + pad, y + (line - swatch) / 2, swatch, swatch);
        painter.setBrush(colour);
        painter.drawRect(sw);
        painter.drawText(QRectF(sw.right() + pad, y, longest + pad, line),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        y += line;
    }
    painter.restore();
}

std::vector<std::pair<QString, QColor>> legendEntries(const GraphChart& chart) {
    std::vector<std::pair<QString, QColor>> entries;
    for (const GraphSeries& s : chart.series)
        entries.emplace_back(text(s.name), toColor(s.colour));
    return entries;
}

void drawAxes(QPainter& painter, const GraphGeometry& g, const GraphData& data) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double u = unitOf(painter);
    painter.save();
    // Grid lines a shade darker than the background, the axes in the text colour.
    painter.setPen(QPen(QColor(170, 170, 170), 0));
    for (int k = 0; k <= 10; ++k) {
        const double y = g.plot.bottom() - k * g.plot.height() / 10;
        painter.drawLine(QPointF(g.plot.left(), y), QPointF(g.plot.right(), y));
    }
    painter.setPen(QPen(kTextColour, 0));
    painter.drawLine(g.plot.bottomLeft(), g.plot.topLeft());
    painter.drawLine(g.plot.bottomLeft(), g.plot.bottomRight());
    if (g.scale.bottom < 0) {
        const double zero = g.yOf(0);
        painter.drawLine(QPointF(g.plot.left(), zero), QPointF(g.plot.right(), zero));
    }

    const int every = valueLabelEvery(g.plot.height(), metrics.height());
    for (int k = 0; k <= 10; k += every) {
        const double y = g.plot.bottom() - k * g.plot.height() / 10;
        const QRectF cell(g.chart.left(), y - metrics.height() / 2,
                          g.plot.left() - g.chart.left() - 4 * u, metrics.height());
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter,
                         text(axisLabel(g.scale.bottom + k * g.scale.step)));
    }

    const int ageEvery = ageLabelEvery(g.plot.width(), g.rows, metrics.averageCharWidth());
    const double cw = g.columnWidth();
    for (int k = 0; k < g.rows; k += ageEvery) {
        const int row = g.firstRow + k;
        const double x = g.columnCentre(row);
        const int age = static_cast<int>(data.rows[static_cast<std::size_t>(row)].age);
        const double labelWidth =
            std::max(cw * ageEvery, metrics.horizontalAdvance(QStringLiteral("000")));
        painter.drawText(
            QRectF(x - labelWidth / 2, g.plot.bottom() + 2 * u, labelWidth, metrics.height()),
            Qt::AlignHCenter | Qt::AlignTop, text(ageLabel(age)));
        painter.drawLine(QPointF(x, g.plot.bottom()), QPointF(x, g.plot.bottom() + 2 * u));
    }
    painter.restore();
}

void drawLines(QPainter& painter, const GraphGeometry& g, const GraphChart& chart,
               GraphTarget target) {
    const double width = seriesPenWidth(painter, target);
    for (const GraphSeries& s : chart.series) {
        QPainterPath path;
        bool open = false;
        for (int r = g.firstRow; r < g.firstRow + g.rows; ++r) {
            const float v = s.values[static_cast<std::size_t>(r)];
            const QPointF point(g.columnCentre(r), g.yOf(v));
            // A stretch of exact zeros is left out: the pen moves over it.
            const bool bothZero =
                r > g.firstRow && v == 0 && s.values[static_cast<std::size_t>(r - 1)] == 0;
            if (!open || bothZero)
                path.moveTo(point);
            else
                path.lineTo(point);
            open = true;
        }
        painter.setPen(QPen(toColor(s.colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

// The bars of a row, largest first: the largest stands at the back.
std::vector<std::pair<float, QColor>> orderedValues(const GraphChart& chart, int row) {
    std::vector<std::pair<float, QColor>> values;
    for (const GraphSeries& s : chart.series)
        values.emplace_back(s.values[static_cast<std::size_t>(row)], toColor(s.colour));
    std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
        return std::abs(a.first) > std::abs(b.first);
    });
    return values;
}

void drawBars(QPainter& painter, const GraphGeometry& g, const GraphChart& chart, bool deep) {
    const double cw = g.columnWidth();
    const double zero = g.yOf(0);
    const int n = static_cast<int>(chart.series.size());
    std::vector<std::vector<std::pair<float, QColor>>> rows;
    for (int r = g.firstRow; r < g.firstRow + g.rows; ++r)
        rows.push_back(orderedValues(chart, r));
    painter.save();
    painter.setPen(QPen(kTextColour, 0));
    // Place by place across all rows, so that the bars in front cover those behind.
    for (int position = 0; position < n; ++position) {
        const double depth = deep ? (n - position - 1) * 1.3 / n * cw : 0;
        const double side = deep ? cw * 0.3 : 0;
        for (int k = 0; k < g.rows; ++k) {
            const auto& [value, colour] =
                rows[static_cast<std::size_t>(k)][static_cast<std::size_t>(position)];
            const double left = g.plot.left() + k * cw + depth;
            const double right = left + (deep ? cw * 0.7 : cw);
            const double y = g.yOf(value);
            const double top = std::min(y, zero) - depth;
            const double bottom = std::max(y, zero) - depth;
            if (deep) {
                const QPointF topFace[] = {{left, top},
                                           {right, top},
                                           {right + side, top - side},
                                           {left + side, top - side}};
                const QPointF sideFace[] = {{right, top},
                                            {right + side, top - side},
                                            {right + side, bottom - side},
                                            {right, bottom}};
                painter.setBrush(colour.lighter(135));
                painter.drawPolygon(topFace, 4);
                painter.setBrush(colour.darker(150));
                painter.drawPolygon(sideFace, 4);
            }
            painter.setBrush(colour);
            painter.drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
        }
    }
    painter.restore();
}

// The selected row and the shift-click marks, with lines from the axes.
void drawMarks(QPainter& painter, const GraphGeometry& g, const GraphState& state) {
    painter.save();
    QPen dashed(kTextColour, 0, Qt::DashLine);
    painter.setPen(dashed);
    const int selected = state.selectedRow;
    if (selected >= g.firstRow && selected < g.firstRow + g.rows) {
        const double x = g.columnCentre(selected);
        painter.drawLine(QPointF(x, g.plot.top()), QPointF(x, g.plot.bottom()));
    }
    painter.setPen(QPen(QColor(0, 0, 160), 0, Qt::DotLine));
    for (const GraphMark& m : state.marks) {
        if (m.row < g.firstRow || m.row >= g.firstRow + g.rows)
            continue;
        const QPointF at(g.columnCentre(m.row), g.yOf(m.value));
        painter.drawLine(QPointF(g.plot.left(), at.y()), at);
        painter.drawLine(QPointF(at.x(), g.plot.bottom()), at);
    }
    painter.restore();
}

void drawTitle(QPainter& painter, const QRectF& chart, double height, const QString& title) {
    painter.save();
    painter.setFont(titleFont(painter.font()));
    painter.setPen(kTextColour);
    painter.drawText(QRectF(chart.left(), chart.top(), chart.width(), height), Qt::AlignCenter,
                     title);
    painter.restore();
}

double titleHeight(const QFontMetricsF& metrics) {
    return metrics.height() * 1.8;
}

void paintPie(QPainter& painter, const GraphGeometry& g, const GraphData& data, int kind, int row) {
    const Pie pie = pieOf(data, kind, row);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const int age = static_cast<int>(data.rows[static_cast<std::size_t>(row)].age);
    drawTitle(painter, g.chart, titleHeight(metrics), text(formatText("Age %d", age)));

    // The legend lines beside the pie: name, swatch, share; then the total.
    std::vector<QString> names;
    std::vector<QString> shares;
    for (const PieSlice& s : pie.slices) {
        names.push_back(text(" " + s.name));
        shares.push_back(text(formatText("% 6.2f%%", s.share)));
    }
    const QString total = text("Total = " + moneyText(pie.total));
    double nameWidth = 0;
    for (const QString& n : names)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(n));
    const double shareWidth = metrics.horizontalAdvance(QStringLiteral(" 100.00%"));
    const double line = metrics.height() * 1.3;
    const double swatch = metrics.height() * 0.8;
    const double legendWidth =
        std::max(nameWidth + swatch * 2 + shareWidth, metrics.horizontalAdvance(total));

    const QRectF area = g.plot;
    const double diameter = std::max(
        std::min(area.height() * 0.9, area.width() - legendWidth - metrics.height() * 3), 0.0);
    const double left =
        area.left() +
        std::max((area.width() - diameter - legendWidth - metrics.height() * 2) / 2, 0.0);
    const QRectF circle(left, area.top() + (area.height() - diameter) / 2, diameter, diameter);

    painter.save();
    painter.setPen(QPen(kTextColour, 0));
    // Only the positive parts take a share of the circle.
    double positive = 0;
    for (const PieSlice& s : pie.slices)
        positive += std::max(static_cast<double>(s.value), 0.0);
    if (positive > 0 && diameter > 0) {
        double angle = 90 * 16;
        for (const PieSlice& s : pie.slices) {
            const double sweep = std::max(static_cast<double>(s.value), 0.0) / positive * 360 * 16;
            if (sweep <= 0)
                continue;
            painter.setBrush(toColor(s.colour));
            painter.drawPie(circle, static_cast<int>(std::lround(angle)),
                            -static_cast<int>(std::lround(sweep)));
            angle -= sweep;
        }
    } else if (diameter > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle);
    }

    const double legendLeft = circle.right() + metrics.height() * 2;
    double y = area.top() + (area.height() - line * (names.size() + 1)) / 2;
    for (std::size_t k = 0; k < names.size(); ++k) {
        painter.setBrush(toColor(pie.slices[k].colour));
        painter.drawRect(QRectF(legendLeft, y + (line - swatch) / 2, swatch, swatch));
        painter.drawText(QRectF(legendLeft + swatch, y, nameWidth + swatch / 2, line),
                         Qt::AlignLeft | Qt::AlignVCenter, names[k]);
        painter.drawText(QRectF(legendLeft + swatch * 1.5 + nameWidth, y, shareWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, shares[k]);
        y += line;
    }
    painter.drawText(QRectF(legendLeft, y, legendWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                     total);
    painter.restore();
}

} // namespace

int GraphGeometry::rowAt(double x) const {
    if (rows <= 0)
        return firstRow;
    const int k = static_cast<int>(std::floor((x - plot.left()) / columnWidth()));
    return firstRow + std::clamp(k, 0, rows - 1);
}

double GraphGeometry::columnCentre(int row) const {
    return plot.left() + (row - firstRow + 0.5) * columnWidth();
}

double GraphGeometry::valueAt(double y) const {
    return plot.height() > 0 ? (plot.bottom() - y) / plot.height() * scale.span + scale.bottom
                             : scale.bottom;
}

double GraphGeometry::yOf(double value) const {
    return plot.bottom() - (value - scale.bottom) / scale.span * plot.height();
}

GraphGeometry graphGeometry(const QRectF& area, const QFontMetricsF& metrics, const GraphData& data,
                            const GraphState& state, const GraphPick& pick) {
    GraphGeometry g;
    g.chart = area;
    g.kind = pick.kind;
    g.pie = state.pie && hasPie(pick.kind);
    const int total = data.rowCount();
    g.firstRow = state.shownFirst(total);
    g.rows = state.shownCount(total);
    if (data.accountCount() == 0 || g.rows == 0)
        return g;
    const GraphChart chart = pickedChart(data, pick);
    if (chart.series.empty()) {
        g.rows = 0;
        return g;
    }
    g.scale = chartScale(chart, state, g.firstRow, g.rows);
    const double pad = metrics.height() * 0.6;
    const double left = g.pie ? pad : widestValueLabel(metrics, g.scale) + pad * 1.5;
    const double top = titleHeight(metrics);
    const double bottom = g.pie ? pad : metrics.height() + pad * 1.5;
    const QRectF plot = area.adjusted(left, top, -pad * 2, -bottom);
    if (plot.width() > 0 && plot.height() > 0)
        g.plot = plot;
    return g;
}

GraphGeometry paintGraph(QPainter& painter, const QRectF& area, const GraphData& data,
                         const GraphState& state, const GraphPick& pick, GraphTarget target) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const GraphGeometry g = graphGeometry(area, metrics, data, state, pick);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, target == GraphTarget::Screen);
    painter.fillRect(area, toColor(graphColour(kGraphBackground)));
    drawFrame(painter, area, target);
    if (!g.valid()) {
        painter.restore();
        return g;
    }
    if (g.pie) {
        const int row = std::clamp(state.selectedRow, 0, data.rowCount() - 1);
        paintPie(painter, g, data, pick.kind, row);
        painter.restore();
        return g;
    }
    const GraphChart chart = pickedChart(data, pick);
    drawTitle(painter, area, titleHeight(metrics), text(chart.title));
    drawAxes(painter, g, data);
    const bool legend = !state.legendOff;
    if (legend && !state.legendInFront)
        drawLegend(painter, area, g.plot, legendEntries(chart));
    painter.save();
    painter.setClipRect(g.plot.adjusted(-1, -1, 1, 1));
    // Bars need room: fewer than three rows are always drawn as lines.
    if (state.style == GraphStyle::Lines || g.rows < 3)
        drawLines(painter, g, chart, target);
    else
        drawBars(painter, g, chart, state.style == GraphStyle::Bars3D);
    if (target == GraphTarget::Screen)
        drawMarks(painter, g, state);
    painter.restore();
    if (legend && state.legendInFront)
        drawLegend(painter, area, g.plot, legendEntries(chart));
    painter.restore();
    return g;
}

void paintSummaryPanel(QPainter& painter, const QRectF& area, const GraphData& data,
                       const GraphState& state, GraphTarget target) {
    painter.save();
    const QColor face = target == GraphTarget::Screen
                            ? QGuiApplication::palette().color(QPalette::Button)
                            : QColor(Qt::white);
    painter.fillRect(area, face);
    drawFrame(painter, area, target);
    if (target == GraphTarget::Screen) {
        painter.setPen(QPen(face.darker(130), 0));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
    if (data.accountCount() == 0 || data.rowCount() == 0) {
        painter.restore();
        return;
    }
    const int row = std::clamp(state.selectedRow, 0, data.rowCount() - 1);
    const std::vector<SummaryLine> lines = summaryPanelLines(data, row, state.quadrant, state.pie);
    const QFontMetricsF metrics(painter.font(), painter.device());
    // Twelve text lines fill the panel, never spaced wider than a line and a half.
    const double line = std::min(area.height() / 12, metrics.height() * 1.5);
    const double swatch = std::min(line, metrics.height()) * 0.75;
    const double width = std::min(area.width() - line * 2, metrics.height() * 24);
    const double left = area.left() + (area.width() - width) / 2;
    double y = area.top() + (area.height() - line * static_cast<double>(lines.size())) / 2;
    const QFont base = painter.font();
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const SummaryLine& l = lines[k];
        const QRectF cell(left, y, width, line);
        const bool heading = k < 2;
        if (heading)
            painter.setFont(titleFont(base));
        if (l.colour >= 0) {
            painter.setPen(QPen(kTextColour, 0));
            painter.setBrush(toColor(seriesColour(l.colour)));
            painter.drawRect(QRectF(left, y + (line - swatch) / 2, swatch, swatch));
        }
        painter.setPen(kTextColour);
        painter.drawText(cell.adjusted(swatch * 1.8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         text(l.label));
        painter.setPen(l.negative ? toColor(graphColour(0)) : kTextColour);
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, text(l.value));
        if (heading)
            painter.setFont(base);
        y += line;
    }
    painter.restore();
}

FourUpAreas fourUpAreas(const QRectF& area) {
    const double m = 6;
    const double w = (area.width() - 3 * m) / 2;
    const double h = (area.height() - 3 * m) / 2;
    const double x0 = area.left() + m;
    const double x1 = x0 + w + m;
    const double y0 = area.top() + m;
    const double y1 = y0 + h + m;
    FourUpAreas a;
    a.quadrants[0] = QRectF(x0, y0, w, h);
    a.quadrants[1] = QRectF(x1, y0, w, h);
    a.quadrants[2] = QRectF(x1, y1, w, h);
    a.summary = QRectF(x0, y1, w, h);
    return a;
}

int quadrantKind(int quadrant) {
    return quadrant == 2 ? kIncomingGraph : quadrant == 3 ? kOutgoingGraph : kNetWorthGraph;
}

std::array<GraphGeometry, 3> paintFourUp(QPainter& painter, const QRectF& area,
                                         const GraphData& data, const GraphState& state,
                                         GraphTarget target) {
    const FourUpAreas a = fourUpAreas(area);
    std::array<GraphGeometry, 3> out;
    for (int q = 0; q < 3; ++q)
        out[static_cast<std::size_t>(q)] =
            paintGraph(painter, a.quadrants[static_cast<std::size_t>(q)], data, state,
                       GraphPick{quadrantKind(q + 1)}, target);
    paintSummaryPanel(painter, a.summary, data, state, target);
    // On screen the quadrant whose parts the panel lists is outlined.
    if (target == GraphTarget::Screen && state.quadrant >= 1 && state.quadrant <= 3 &&
        data.accountCount() > 0) {
        painter.save();
        painter.setPen(QPen(QGuiApplication::palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            a.quadrants[static_cast<std::size_t>(state.quadrant - 1)].adjusted(-1, -1, 1, 1));
        painter.restore();
    }
    return out;
}

void paintGraphSheet(QPainter& painter, const QRectF& printable, const GraphData& data,
                     const GraphState& state, const GraphPick& pick) {
    const double u = unitOf(painter);
    // Room for the double frame inside the printable area.
    const QRectF inner = printable.adjusted(3 * u, 3 * u, -3 * u, -3 * u);
    if (pick.kind != kFourUpView) {
        QRectF chart = inner;
        if (inner.height() > inner.width())
            chart.setHeight(inner.width() * inner.width() / inner.height());
        paintGraph(painter, chart, data, state, pick, GraphTarget::Printer);
        return;
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double reserved = metrics.lineSpacing() * 5;
    const double m = 6 * u;
    const QRectF charts = inner.adjusted(0, 0, 0, -reserved);
    const double w = (charts.width() - m) / 2;
    const double h = (charts.height() - m) / 2;
    const int kinds[] = {kNetWorthGraph, kIncomingOutgoingGraph, kIncomingGraph, kOutgoingGraph};
    for (int k = 0; k < 4; ++k) {
        const QRectF cell(charts.left() + (k % 2) * (w + m), charts.top() + (k / 2) * (h + m), w,
                          h);
        paintGraph(painter, cell, data, state, GraphPick{kinds[k]}, GraphTarget::Printer);
    }
    painter.save();
    painter.setPen(kTextColour);
    QRectF lineRect(inner.left(), charts.bottom() + metrics.lineSpacing() * 0.5, inner.width(),
                    metrics.lineSpacing());
    const QFont base = painter.font();
    painter.setFont(titleFont(base));
    painter.drawText(lineRect, Qt::AlignCenter, QStringLiteral("Summary"));
    painter.setFont(base);
    for (const std::string& l : data.titleLines) {
        lineRect.translate(0, metrics.lineSpacing());
        painter.drawText(lineRect, Qt::AlignCenter, text(l));
    }
    painter.restore();
}

} // namespace finplan
