#pragma once

#include <QDialog>
#include <string>

#include "model/Message.h"
#include "results/ReportPages.h"
#include "ui/printing/PrintJob.h"

class QTableWidget;

namespace finplan {

struct RunState;

// The screen page of a report kind 1 to 8, made from a run and the working files it left in
// `workDir`, as column titles and rows.
// Kind 15 is the account asset allocation at `age` (the first result row when the run has no
// such age).
Result<ReportTable> screenReport(const RunState& run, const std::string& workDir, int kind,
                                 int age = -1);

// A report's screen page in a banded table with its column titles.
class ReportViewer : public QDialog {
    Q_OBJECT
  public:
    ReportViewer(int kind, const ReportTable& table, QWidget* parent = nullptr);
    QTableWidget* table() const { return m_table; }

  Q_SIGNALS:
    // The report's printed sheets asked for, to the printer, the preview or a PDF file.
    void printRequested(PrintOutput output);

  private:
    QTableWidget* m_table;
};

} // namespace finplan
