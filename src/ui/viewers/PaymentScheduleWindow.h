#pragma once

#include <QDialog>
#include <string>

#include "model/Records.h"
#include "ui/printing/PrintJob.h"

class QTableWidget;

namespace finplan {

class Notifier;

// "Mortgage Schedule": the yearly amortisation of a loan or mortgage, also written to
// "psched.tmp" in `workDir` for printing. A file that cannot be written is reported through
// `notifier` and the window shows no rows.
class PaymentScheduleWindow : public QDialog {
    Q_OBJECT
  public:
    PaymentScheduleWindow(const FinancialEvent& event, float scenarioStartAge,
                          const std::string& workDir, Notifier& notifier,
                          QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

  Q_SIGNALS:
    // The schedule's printed sheets asked for.
    void printRequested(PrintOutput output);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTableWidget* m_table;
};

} // namespace finplan
