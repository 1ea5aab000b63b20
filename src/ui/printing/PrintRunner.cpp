#include "ui/printing/PrintRunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/TextFormat.h"
#include "results/PrintOrder.h"
#include "ui/app/Prompter.h"

namespace finplan {

void applyPageSettings(QPrinter& printer, const PageSettings& settings) {
    printer.setPageOrientation(settings.orientation);
    printer.setPageMargins(settings.margins, QPageLayout::Inch);
}

PageSettings pageSettingsOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    return {layout.margins(QPageLayout::Inch), layout.orientation()};
}

Status paintJob(QPrinter& printer, const PrintJob& job,
                const std::function<bool(int, int)>& progress) {
    const Status cannotPrint = Status::error("Cannot print page!", "Print Error");
    if (job.sheetCount < 1 || !job.drawSheet)
        return Status::error("Cannot print file!", "Print Error");
    int first = 0;
    int last = job.sheetCount - 1;
    // The dialog numbers the sheets from 1.
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min(printer.fromPage() - 1, last);
        last = std::min(std::max(printer.toPage(), printer.fromPage()) - 1, last);
    }
    const std::vector<int> order =
        printOrder(first, last, std::max(printer.copyCount(), 1), printer.collateCopies());
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        return Status::error("Invalid Printer", "Print Error");
    const QRectF printable(QPointF(0, 0),
                           printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const int count = static_cast<int>(order.size());
    for (int n = 0; n < count; ++n) {
        if (progress && !progress(n + 1, count)) {
            printer.abort();
            return cannotPrint;
        }
        if (n > 0 && !printer.newPage()) {
            printer.abort();
            return cannotPrint;
        }
        painter.save();
        const bool drawn = job.drawSheet(painter, printable, order[static_cast<std::size_t>(n)]);
        painter.restore();
        if (!drawn) {
            printer.abort();
            return cannotPrint;
        }
    }
    if (!painter.end())
        return cannotPrint;
    return {};
}

Status writePdf(const PrintJob& job, const PageSettings& settings, const QString& path) {
    const QString partial = path + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial);
    printer.setDocName(job.documentName);
    printer.setCreator(QStringLiteral("Financial Planner"));
    applyPageSettings(printer, settings);
    Status painted = paintJob(printer, job);
    if (painted && !QFile::exists(partial))
        painted = Status::error("Cannot write " + path.toStdString(), "FILE ERROR");
    if (painted && QFile::exists(path) && !QFile::remove(path))
        painted = Status::error("Cannot replace " + path.toStdString(), "FILE ERROR");
    if (painted && !QFile::rename(partial, path))
        painted = Status::error("Cannot write " + path.toStdString(), "FILE ERROR");
    if (!painted)
        QFile::remove(partial);
    return painted;
}

bool runPrintJob(QWidget* owner, Prompter& prompter, const PageSettings& settings,
                 const PrintJob& job, PrintOutput output) {
    Status outcome;
    switch (output) {
    case PrintOutput::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(job.documentName);
        applyPageSettings(printer, settings);
        if (!prompter.choosePrinter(printer, job.sheetCount, job.pageRange))
            return false;
        PrintCancelWindow cancel(owner);
        cancel.show();
        outcome = paintJob(printer, job, [&cancel](int page, int count) {
            cancel.showPage(page, count);
            // The window's own messages, so that Abort can be pressed between sheets.
            QCoreApplication::processEvents();
            return !cancel.aborted();
        });
        cancel.close();
        break;
    }
    case PrintOutput::Preview: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(job.documentName);
        applyPageSettings(printer, settings);
        prompter.showPrintPreview(
            printer, [&job, &outcome](QPrinter* target) { outcome = paintJob(*target, job); });
        break;
    }
    case PrintOutput::Pdf: {
        const QString path = prompter.savePdfPath(job.documentName);
        if (path.isEmpty())
            return false;
        outcome = writePdf(job, settings, path);
        break;
    }
    }
    if (!outcome)
        prompter.notify(outcome.message());
    return outcome.ok();
}

bool runPageSetup(Prompter& prompter, PageSettings& settings) {
    QPrinter printer(QPrinter::HighResolution);
    applyPageSettings(printer, settings);
    if (!prompter.choosePageSetup(printer))
        return false;
    settings = pageSettingsOf(printer);
    return true;
}

PrintCancelWindow::PrintCancelWindow(QWidget* parent) : QDialog(parent), m_text(new QLabel(this)) {
    setObjectName(QStringLiteral("printCancel"));
    setWindowTitle(QStringLiteral("Printing"));
    m_text->setObjectName(QStringLiteral("printingPage"));
    auto* abort = new QPushButton(QStringLiteral("Abort"), this);
    abort->setObjectName(QStringLiteral("abortPrinting"));
    connect(abort, &QPushButton::clicked, this, [this] { m_aborted = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    showPage(0, 0);
}

void PrintCancelWindow::showPage(int page, int count) {
    m_text->setText(
        QString::fromStdString(formatText("   Now printing Page %d of %d.....", page, count)));
}

} // namespace finplan
