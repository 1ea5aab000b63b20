#include "results/GraphScale.h"

#include <cmath>

#include "engine/Money.h"
#include "model/TextFormat.h"

namespace finplan {

namespace {

// Reduces `value` to at most 1 by tenths and says how many it took.
int tenths(double& value) {
    int count = 0;
    while (value > 1) {
        value /= 10;
        ++count;
    }
    return count;
}

double powerOfTen(int exponent) {
    return std::pow(10.0, exponent);
}

} // namespace

GraphScale automaticScale(double maximum, double minimum) {
    // A value that is no number leaves the range as if it were 0.
    const double most = std::isfinite(maximum) ? std::max(maximum, 0.0) : 0.0;
    const double least = std::isfinite(minimum) ? std::min(minimum, 0.0) : 0.0;

    double x = most;
    const int i = tenths(x);
    double top = std::floor(x * 11) * (i == 0 ? 1 : powerOfTen(i - 1));

    double bottom = 0;
    if (least < 0) {
        double y = -least;
        const int j = tenths(y);
        const double t = std::floor(y * 10) * (j == 0 ? 1 : powerOfTen(j - 1));
        bottom = -t;
        for (const double factor : {1.1, 1.2, 1.3})
            if (bottom > least)
                bottom = -factor * t;
    }

    double span = std::abs(bottom) + top;
    if (!(span > 0))
        span = 1;
    const double firstStep = span / 10;
    while (most >= top)
        top += firstStep;

    span = std::abs(bottom) + top;
    double lead = span;
    int j = 0;
    while (lead / 10 > 1) {
        lead /= 10;
        ++j;
    }
    const double whole = std::floor(lead);
    span = whole >= 6 ? powerOfTen(j + 1) : (whole + 1) * powerOfTen(j);
    if (!(span > 0) || !std::isfinite(span))
        span = 1;
    const double step = span / 10;
    if (bottom < 0 && bottom > -step)
        bottom = -step;
    return {bottom, span, step};
}

GraphScale zoomScale(double zoomMaximum) {
    const double top = std::isfinite(zoomMaximum) && zoomMaximum > 0 ? zoomMaximum : 1.0;
    return {0, top, top / 10};
}

int valueLabelEvery(double plotHeight, double lineHeight) {
    int every = 1;
    for (const double lines : {10.0, 5.0, 2.0, 1.0})
        if (plotHeight < lines * lineHeight)
            ++every;
    return every;
}

int ageLabelEvery(double plotWidth, int rows, double charWidth) {
    int every = 1;
    while (rows > 0 && plotWidth < rows * charWidth * 3) {
        every += 2;
        rows /= 2;
    }
    return every;
}

std::string axisLabel(double value) {
    const std::string money = formatMoney(formatText("%.2f", std::abs(value)));
    const std::string whole = money.substr(0, money.size() >= 3 ? money.size() - 3 : 0);
    // A value that prints as 0.00 has no sign.
    return value < 0 && whole != "$0" ? "-" + whole : whole;
}

std::string ageLabel(int age) {
    return formatText(age < 10 ? "%1d" : age >= 100 ? "%3d" : "%2d", age);
}

} // namespace finplan
