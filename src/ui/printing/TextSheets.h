#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <vector>

#include "engine/RunOptions.h"
#include "model/Records.h"
#include "results/PrintSheets.h"
#include "ui/printing/PrintJob.h"

namespace finplan {

// What the header block of every printed text sheet shows, and the report options.
struct SheetStyle {
    QString heading; // "Financial Scenario", "Financial Schedule", a report's title
    ReportTitles titles{};
    QString fileName;
    LocalDateTime now;
    bool banding = false;
    bool boxes = false;
    bool columns = false;
    bool todaysDollars = false; // the net worth report's start-age-dollars column
    // The printer font's face, weight and style; its size comes from each page.
    QFont font;
    QColor band = QColor(224, 224, 224);
};

// A title page, then one sheet per page text of `kind` (a report kind, or kSchedulePage for
// the printed scenario and results), numbered "Page n of count".
PrintJob textSheetsJob(int kind, std::vector<SheetText> pages, const SheetStyle& style);

// Jobs printed one after another as one, each with its own title page and numbering.
PrintJob joinedJob(const QString& documentName, std::vector<PrintJob> jobs);

} // namespace finplan
