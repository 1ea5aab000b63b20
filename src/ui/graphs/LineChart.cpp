#include "ui/graphs/LineChart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "results/GraphScale.h"
#include "results/GraphSeries.h"

namespace finplan {

namespace {

QColor colourAt(int position) {
    const Rgb c = seriesColour(position);
    return QColor(c.red, c.green, c.blue);
}

// Round steps for the x axis: 1, 2, 5, 10, 20, 50, ... so that labels do not crowd.
double xStep(double span, double width, double labelWidth) {
    const double most = std::max(1.0, width / std::max(labelWidth * 2, 1.0));
    double step = 1;
    for (int n = 0; n < 12 && span / step > most; ++n)
        step *= (n % 3 == 1) ? 2.5 : 2;
    return step;
}

} // namespace

void paintLineChart(QPainter& painter, const QRectF& area, const LineChartData& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();

    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool any = false;
    for (const ChartLine& l : chart.lines)
        for (std::size_t i = 0; i < l.x.size() && i < l.y.size(); ++i) {
            if (!any) {
                xMin = xMax = l.x[i];
                any = true;
            }
            xMin = std::min<double>(xMin, l.x[i]);
            xMax = std::max<double>(xMax, l.x[i]);
            yMin = std::min<double>(yMin, l.y[i]);
            yMax = std::max<double>(yMax, l.y[i]);
        }

    QRectF rest = area;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(rest.left(), rest.top(), rest.width(), line), Qt::AlignCenter,
                     chart.title);
    rest.setTop(rest.top() + line * 1.3);

    // The legend on the right: a swatch and the name of each line.
    double legendWidth = 0;
    for (const ChartLine& l : chart.lines)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(l.name));
    legendWidth = std::min(legendWidth + line * 1.8, rest.width() / 3);
    const QRectF legend(rest.right() - legendWidth, rest.top(), legendWidth, rest.height());
    for (int n = 0; n < static_cast<int>(chart.lines.size()); ++n) {
        const double y = legend.top() + n * line * 1.2;
        painter.fillRect(
            QRectF(legend.left() + line * 0.3, y + line * 0.25, line * 0.8, line * 0.5),
            colourAt(n));
        painter.drawText(QRectF(legend.left() + line * 1.4, y, legendWidth - line * 1.4, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(chart.lines[static_cast<std::size_t>(n)].name,
                                            Qt::ElideMiddle, legendWidth - line * 1.4));
    }

    const GraphScale scale = automaticScale(yMax, yMin);
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("$-00,000,000"));
    const QRectF plot(rest.left() + labelWidth, rest.top() + line * 0.5,
                      std::max(1.0, rest.width() - labelWidth - legendWidth - line),
                      std::max(1.0, rest.height() - line * (chart.xTitle.isEmpty() ? 2 : 3)));
    painter.fillRect(plot, Qt::white);
    auto yOf = [&](double v) {
        return plot.bottom() - (v - scale.bottom) / scale.span * plot.height();
    };
    const double xSpan = any && xMax > xMin ? xMax - xMin : 1;
    auto xOf = [&](double v) { return plot.left() + (v - xMin) / xSpan * plot.width(); };

    painter.setPen(QPen(QColor(200, 200, 200), 0));
    const int every = valueLabelEvery(plot.height(), line);
    for (int n = 0; n <= 10; ++n) {
        const double value = scale.bottom + n * scale.step;
        const double y = yOf(value);
        painter.setPen(QPen(QColor(210, 210, 210), 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (n % every == 0) {
            painter.setPen(Qt::black);
            painter.drawText(QRectF(area.left(), y - line / 2, labelWidth - line * 0.3, line),
                             Qt::AlignRight | Qt::AlignVCenter,
                             QString::fromStdString(axisLabel(value)));
        }
    }
    if (any) {
        const double step =
            xStep(xSpan, plot.width(), metrics.horizontalAdvance(QStringLiteral("0000")));
        painter.setPen(Qt::black);
        for (double v = std::ceil(xMin / step) * step; v <= xMax + 1e-6; v += step) {
            const double x = xOf(v);
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + line * 0.25));
            painter.drawText(QRectF(x - line * 2, plot.bottom() + line * 0.25, line * 4, line),
                             Qt::AlignCenter, QString::number(v, 'g', 6));
        }
    }
    if (!chart.xTitle.isEmpty())
        painter.drawText(QRectF(plot.left(), plot.bottom() + line * 1.3, plot.width(), line),
                         Qt::AlignCenter, chart.xTitle);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
    for (int n = 0; n < static_cast<int>(chart.lines.size()); ++n) {
        const ChartLine& l = chart.lines[static_cast<std::size_t>(n)];
        QPainterPath path;
        for (std::size_t i = 0; i < l.x.size() && i < l.y.size(); ++i) {
            const QPointF p(xOf(l.x[i]), yOf(l.y[i]));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(QPen(colourAt(n), std::max(1.5, line / 8)));
        painter.drawPath(path);
    }
    painter.restore();
}

LineChartView::LineChartView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 200);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void LineChartView::setChart(LineChartData chart) {
    m_chart = std::move(chart);
    update();
}

void LineChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintLineChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), m_chart);
}

} // namespace finplan
