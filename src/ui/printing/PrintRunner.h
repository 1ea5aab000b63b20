#pragma once

#include <QDialog>
#include <functional>

#include "model/Message.h"
#include "ui/printing/PrintJob.h"

class QLabel;
class QPrinter;
class QPushButton;

namespace finplan {

class Prompter;

// The margins and orientation of page setup on a printer.
void applyPageSettings(QPrinter& printer, const PageSettings& settings);
PageSettings pageSettingsOf(const QPrinter& printer);

// Draws the sheets of `job` that the printer's range, copies and collate option select, in
// print order. `progress(n, count)` is asked before each sheet and stops the job by answering
// false. The printer is left to make one copy: the copies are the sheets sent.
Status paintJob(QPrinter& printer, const PrintJob& job,
                const std::function<bool(int, int)>& progress = {});

// The same sheets in a PDF file, written beside `path` and renamed over it when whole: a job
// that fails leaves no file behind.
Status writePdf(const PrintJob& job, const PageSettings& settings, const QString& path);

// A print command's whole course: the print dialog and the cancel window, the preview, or the
// PDF file chosen; failures are shown through `prompter`. True when the sheets went out.
bool runPrintJob(QWidget* owner, Prompter& prompter, const PageSettings& settings,
                 const PrintJob& job, PrintOutput output);

// "Page Setup": true when the user chose new settings.
bool runPageSetup(Prompter& prompter, PageSettings& settings);

// The small window shown while a job prints, with its "Abort" button.
class PrintCancelWindow : public QDialog {
    Q_OBJECT
  public:
    explicit PrintCancelWindow(QWidget* parent = nullptr);
    void showPage(int page, int count);
    bool aborted() const { return m_aborted; }

  private:
    QLabel* m_text;
    bool m_aborted = false;
};

} // namespace finplan
