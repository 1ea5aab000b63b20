#include "ui/platform/Display.h"

#include <QAbstractItemView>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace finplan {

namespace {

constexpr double kLogicalDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

} // namespace

QColor listBandColour(const QPalette& palette, const StartupOptions& options) {
    const QColor trough = palette.color(QPalette::Mid);
    const Rgb band =
        bandColour({trough.red(), trough.green(), trough.blue()}, options.lighten, options.grey);
    return QColor(band.red, band.green, band.blue);
}

void applyBanding(QAbstractItemView* view, bool on, const QColor& band) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::AlternateBase, band);
    view->setPalette(palette);
    view->setAlternatingRowColors(on);
    view->viewport()->update();
}

QFont fontFromRecord(const FontRecord& record, const QFont& fallback) {
    const std::string face = record.faceName.str();
    if (face.empty() || record.height == 0)
        return fallback;
    QFont font(QString::fromStdString(face));
    font.setPointSizeF(std::abs(record.height) * kPointsPerInch / kLogicalDotsPerInch);
    if (record.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 100, 900)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

FontRecord recordFromFont(const QFont& font) {
    FontRecord record{};
    record.height = -static_cast<std::int32_t>(
        std::lround(font.pointSizeF() * kLogicalDotsPerInch / kPointsPerInch));
    record.weight = font.weight();
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    record.faceName.assign(font.family().toStdString());
    return record;
}

} // namespace finplan
