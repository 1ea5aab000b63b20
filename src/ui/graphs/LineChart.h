#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

class QPainter;

// A chart of named lines over a shared number axis (ages, months, periods), for the viewers
// whose lines do not share rows: the scenario comparison and the analyses' curves.

namespace finplan {

struct ChartLine {
    QString name;
    std::vector<float> x;
    std::vector<float> y;
};

struct LineChartData {
    QString title;
    QString xTitle; // under the axis, e.g. "Age"
    std::vector<ChartLine> lines;
};

// The chart filling `area`: title, value grid with money labels, x labels, lines in the
// series colours and a legend with the lines' names.
void paintLineChart(QPainter& painter, const QRectF& area, const LineChartData& chart);

class LineChartView : public QWidget {
  public:
    explicit LineChartView(QWidget* parent = nullptr);
    void setChart(LineChartData chart);
    const LineChartData& chart() const { return m_chart; }
    QSize sizeHint() const override { return {560, 300}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    LineChartData m_chart;
};

} // namespace finplan
