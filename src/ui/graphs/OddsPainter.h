#pragma once

#include <QRectF>
#include <string>
#include <vector>

#include "odds/OddsAnalysis.h"
#include "ui/graphs/GraphPainter.h"

class QPainter;

// The odds analysis drawn: the fan chart of net worth and the ages savings ran out.

namespace finplan {

// "87%" of the trials that succeeded, and the sentence under it.
std::string oddsProbabilityText(const OddsResult& result);
std::string oddsTrialsText(const OddsResult& result);

// The percentile bands of net worth over age: 10th to 90th light, 25th to 75th darker, the
// median as a line. Nominal or in start-age dollars.
void paintFanChart(QPainter& painter, const QRectF& area, const OddsResult& result,
                   bool startAgeDollars, GraphTarget target);

// How many trials first ran out of liquid savings at each age, over the fan chart's ages.
void paintDepletionHistogram(QPainter& painter, const QRectF& area, const OddsResult& result,
                             GraphTarget target);

// The printed sheet: a heading, the probability, the fan chart and the histogram, and the
// scenario's title lines at the foot.
void paintOddsSheet(QPainter& painter, const QRectF& printable, const OddsResult& result,
                    bool startAgeDollars, const std::vector<std::string>& titleLines);

} // namespace finplan
