#include "ui/graphs/OddsPainter.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <fmt/format.h>

#include "results/GraphScale.h"

namespace finplan {

namespace {

const QColor kOuterBand(120, 160, 220);
const QColor kInnerBand(60, 110, 190);
const QColor kMedian(0, 40, 140);
const QColor kDepleted(200, 60, 50);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

double unitOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? std::max(device->logicalDpiY() / 96.0, 1.0) : 1.0;
}

// The plot inside `area` once the title, the value labels and the age labels have their room.
struct Plot {
    QRectF area;
    double firstAge = 0;
    double lastAge = 1;
    GraphScale scale;

    double x(double age) const {
        const double span = std::max(lastAge - firstAge, 1.0);
        return area.left() + (age - firstAge) / span * area.width();
    }
    double y(double value) const {
        return area.bottom() - (value - scale.bottom) / scale.span * area.height();
    }
};

Plot plotIn(QPainter& painter, const QRectF& area, const OddsResult& result, GraphScale scale) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double u = unitOf(painter);
    double labelWidth = 0;
    for (int k = 0; k <= 10; ++k)
        labelWidth = std::max(
            labelWidth, metrics.horizontalAdvance(text(axisLabel(scale.bottom + k * scale.step))));
    Plot p;
    p.area = area.adjusted(labelWidth + 8 * u, metrics.height() * 1.6, -12 * u,
                           -(metrics.height() + 6 * u));
    p.scale = scale;
    if (!result.ages.empty()) {
        p.firstAge = result.ages.front().age;
        p.lastAge = result.ages.back().age;
    }
    return p;
}

// The automatic scale's step, with the bottom on a whole step so that the labels are round
// numbers ("-$500,000", "$0", "$500,000"); a wider step when ten of them no longer reach.
GraphScale roundScale(double most, double least) {
    GraphScale scale = automaticScale(most, least);
    if (least >= 0)
        return scale;
    for (double step = scale.step;; step *= 2) {
        const double bottom = std::floor(least / step) * step;
        if (bottom + 10 * step >= most)
            return GraphScale{bottom, 10 * step, step};
    }
}

void drawTitle(QPainter& painter, const QRectF& area, const QString& title) {
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, title);
    painter.restore();
}

void drawAxes(QPainter& painter, const Plot& p, bool valueLabels) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double u = unitOf(painter);
    painter.save();
    painter.setPen(QPen(QColor(200, 200, 200), 0));
    for (int k = 0; k <= 10; ++k) {
        const double y = p.area.bottom() - k * p.area.height() / 10;
        painter.drawLine(QPointF(p.area.left(), y), QPointF(p.area.right(), y));
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(p.area.bottomLeft(), p.area.topLeft());
    painter.drawLine(p.area.bottomLeft(), p.area.bottomRight());
    if (p.scale.bottom < 0)
        painter.drawLine(QPointF(p.area.left(), p.y(0)), QPointF(p.area.right(), p.y(0)));
    if (valueLabels) {
        const int every = valueLabelEvery(p.area.height(), metrics.height());
        for (int k = 0; k <= 10; k += every) {
            const double y = p.area.bottom() - k * p.area.height() / 10;
            painter.drawText(
                QRectF(0, y - metrics.height() / 2, p.area.left() - 4 * u, metrics.height()),
                Qt::AlignRight | Qt::AlignVCenter,
                text(axisLabel(p.scale.bottom + k * p.scale.step)));
        }
    }
    // Ages on round numbers, as many as fit.
    const int rows = static_cast<int>(p.lastAge - p.firstAge) + 1;
    int every = ageLabelEvery(p.area.width(), rows, metrics.averageCharWidth() * 2);
    every = every <= 1 ? 1 : (every <= 5 ? 5 : 10);
    for (int age = static_cast<int>(std::ceil(p.firstAge)); age <= p.lastAge; ++age) {
        if (age % every != 0)
            continue;
        const double x = p.x(age);
        painter.drawLine(QPointF(x, p.area.bottom()), QPointF(x, p.area.bottom() + 3 * u));
        painter.drawText(QRectF(x - 20 * u, p.area.bottom() + 3 * u, 40 * u, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, text(ageLabel(age)));
    }
    painter.restore();
}

const PercentileBand& bandOf(const OddsAge& a, bool startAgeDollars) {
    return startAgeDollars ? a.todaysNetWorth : a.netWorth;
}

// The band between two percentiles as one closed shape: along the upper edge, back along
// the lower.
QPainterPath bandPath(const Plot& p, const OddsResult& r, bool todays, int low, int high) {
    QPainterPath path;
    for (std::size_t k = 0; k < r.ages.size(); ++k) {
        const QPointF point(p.x(r.ages[k].age), p.y(bandOf(r.ages[k], todays)[high]));
        k == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    for (std::size_t k = r.ages.size(); k-- > 0;)
        path.lineTo(p.x(r.ages[k].age), p.y(bandOf(r.ages[k], todays)[low]));
    path.closeSubpath();
    return path;
}

void drawLegend(QPainter& painter, const Plot& p) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double u = unitOf(painter);
    const struct {
        const char* label;
        QColor colour;
        bool line;
    } kEntries[] = {{"10th to 90th percentile", kOuterBand, false},
                    {"25th to 75th percentile", kInnerBand, false},
                    {"Median", kMedian, true}};
    double x = p.area.left() + 8 * u;
    const double y = p.area.top() + 6 * u;
    const double h = metrics.height();
    painter.save();
    for (const auto& e : kEntries) {
        const QRectF swatch(x, y + h * 0.2, 2 * h, h * 0.6);
        if (e.line) {
            painter.setPen(QPen(e.colour, 2 * u));
            painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                             QPointF(swatch.right(), swatch.center().y()));
        } else {
            painter.fillRect(swatch, e.colour);
        }
        painter.setPen(Qt::black);
        const QString label = QString::fromLatin1(e.label);
        painter.drawText(QPointF(swatch.right() + 4 * u, y + metrics.ascent()), label);
        x = swatch.right() + 4 * u + metrics.horizontalAdvance(label) + 12 * u;
    }
    painter.restore();
}

} // namespace

std::string oddsProbabilityText(const OddsResult& result) {
    if (result.trials <= 0)
        return "-";
    return fmt::format("{:.0f}%", std::floor(result.probability() * 100 + 0.5));
}

std::string oddsTrialsText(const OddsResult& result) {
    const auto thousands = [](int n) {
        std::string digits = std::to_string(n);
        for (int k = static_cast<int>(digits.size()) - 3; k > 0; k -= 3)
            digits.insert(static_cast<std::size_t>(k), ",");
        return digits;
    };
    return fmt::format("of {} trials kept savings from running out and net worth above zero",
                       thousands(result.trials));
}

void paintFanChart(QPainter& painter, const QRectF& area, const OddsResult& result,
                   bool startAgeDollars, GraphTarget target) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    drawTitle(painter, area,
              startAgeDollars ? QStringLiteral("Net Worth in Start-Age Dollars")
                              : QStringLiteral("Net Worth"));
    if (result.ages.empty()) {
        painter.restore();
        return;
    }
    double most = 0;
    double least = 0;
    for (const OddsAge& a : result.ages) {
        const PercentileBand& b = bandOf(a, startAgeDollars);
        most = std::max<double>(most, b.back());
        least = std::min<double>(least, b.front());
    }
    const Plot p = plotIn(painter, area, result, roundScale(most, least));
    drawAxes(painter, p, true);
    painter.save();
    painter.setClipRect(p.area);
    painter.setPen(Qt::NoPen);
    // Bands 0..4 are the 10th, 25th, 50th, 75th and 90th percentiles.
    painter.setBrush(kOuterBand);
    painter.drawPath(bandPath(p, result, startAgeDollars, 0, 4));
    painter.setBrush(kInnerBand);
    painter.drawPath(bandPath(p, result, startAgeDollars, 1, 3));
    QPainterPath median;
    for (std::size_t k = 0; k < result.ages.size(); ++k) {
        const QPointF point(p.x(result.ages[k].age),
                            p.y(bandOf(result.ages[k], startAgeDollars)[2]));
        k == 0 ? median.moveTo(point) : median.lineTo(point);
    }
    const double pen = target == GraphTarget::Screen ? 2 * unitOf(painter) : 2.5 * unitOf(painter);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kMedian, pen));
    painter.drawPath(median);
    painter.restore();
    drawLegend(painter, p);
    painter.restore();
}

void paintDepletionHistogram(QPainter& painter, const QRectF& area, const OddsResult& result,
                             GraphTarget) {
    painter.save();
    painter.fillRect(area, Qt::white);
    if (result.depleted == 0 || result.ages.empty()) {
        drawTitle(painter, area,
                  result.trials > 0 ? QStringLiteral("Savings lasted in every trial")
                                    : QStringLiteral("Age savings ran out"));
        painter.restore();
        return;
    }
    drawTitle(painter, area,
              QStringLiteral("Age savings first ran out: %1 of %2 trials")
                  .arg(QLocale(QLocale::English).toString(result.depleted),
                       QLocale(QLocale::English).toString(result.trials)));
    int most = 1;
    for (int n : result.depletionAges)
        most = std::max(most, n);
    Plot p = plotIn(painter, area, result, GraphScale{0, double(most), most / 10.0});
    drawAxes(painter, p, false);
    const double width = std::max(p.area.width() / std::max(p.lastAge - p.firstAge + 1, 1.0), 1.0);
    for (int age = 0; age < static_cast<int>(result.depletionAges.size()); ++age) {
        const int n = result.depletionAges[static_cast<std::size_t>(age)];
        if (n == 0 || age < p.firstAge - 1 || age > p.lastAge)
            continue;
        const double x = p.x(age);
        painter.fillRect(
            QRectF(QPointF(x - width * 0.4, p.y(n)), QPointF(x + width * 0.4, p.area.bottom())),
            kDepleted);
    }
    painter.restore();
}

void paintOddsSheet(QPainter& painter, const QRectF& printable, const OddsResult& result,
                    bool startAgeDollars, const std::vector<std::string>& titleLines) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    painter.save();
    QFont heading = painter.font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    painter.setFont(heading);
    const QFontMetricsF big(heading, painter.device());
    QRectF top(printable.left(), printable.top(), printable.width(), big.height() * 1.2);
    painter.drawText(top, Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Odds of Success: %1").arg(text(oddsProbabilityText(result))));
    painter.restore();
    const QRectF sentence(printable.left(), top.bottom(), printable.width(), line * 1.5);
    painter.drawText(sentence, Qt::AlignHCenter | Qt::AlignTop, text(oddsTrialsText(result)));

    const double foot = line * (static_cast<double>(titleLines.size()) + 1);
    const double rest = printable.bottom() - foot - sentence.bottom();
    const QRectF fan(printable.left(), sentence.bottom(), printable.width(), rest * 0.68);
    const QRectF histogram(printable.left(), fan.bottom() + line, printable.width(),
                           rest * 0.32 - line);
    paintFanChart(painter, fan, result, startAgeDollars, GraphTarget::Printer);
    paintDepletionHistogram(painter, histogram, result, GraphTarget::Printer);
    double y = printable.bottom() - foot + line;
    for (const std::string& t : titleLines) {
        painter.drawText(QRectF(printable.left(), y, printable.width(), line), Qt::AlignHCenter,
                         text(t));
        y += line;
    }
}

} // namespace finplan
