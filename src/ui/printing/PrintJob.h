#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

namespace finplan {

// A print job: a number of sheets and a function that draws one of them. The same job goes to
// the printer, the print preview and a PDF file.
struct PrintJob {
    // Draws sheet `sheet` (from 0) inside `printable`, the page less its margins, in the
    // painter's device units; false when the sheet cannot be drawn, which stops the job.
    using DrawSheet = std::function<bool(QPainter& painter, const QRectF& printable, int sheet)>;

    QString documentName = QStringLiteral("Printing Schedule");
    int sheetCount = 0;
    DrawSheet drawSheet;
    // The print dialog offers a page range, except for jobs printed in one go.
    bool pageRange = true;
};

// Page setup, kept while the application runs: the margins in inches (left, top, right,
// bottom) and the orientation.
struct PageSettings {
    QMarginsF margins{1.0, 1.0, 0.5, 1.0};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Where a print command sends its job.
enum class PrintOutput { Printer, Preview, Pdf };

} // namespace finplan
