#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "calculators/RefinanceAnalysis.h"
#include "ui/calculators/CalculatorDialog.h"
#include "ui/printing/PrintJob.h"

class QCheckBox;
class QTableWidget;

namespace finplan {

struct Scenario;

// "Refinance Analysis": keeping a mortgage against refinancing it. Opened on a mortgage event of
// `working` (index >= 0) it can add the refinanced mortgage there and closes with kReplaced.
class RefinanceDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    static constexpr int kReplaced = 2;

    RefinanceDialog(RefinanceForm& kept, const std::string& workDir, Prompter& prompter,
                    QWidget* parent = nullptr, Scenario* working = nullptr, int index = -1);

  protected:
    void accept() override;

  private:
    RefinanceForm read() const;
    void showForm(const RefinanceForm& f);
    void left(RefinanceField field, QLineEdit* edit);
    // Mode 0 the summary, 1 also the year table, 2 also the graph file; nothing when refused.
    std::optional<RefinanceAnalysis> analyse(int mode);
    void showDetails();
    void graph();
    void createEvent();

    RefinanceForm& m_kept;
    std::string m_workDir;
    Scenario* m_working;
    int m_index;
    QLineEdit *m_startAge, *m_existingAmount, *m_existingRate, *m_existingYears, *m_existingPayment;
    QLineEdit *m_refinancingAge, *m_amountBeforeCosts, *m_cashOut, *m_refinancedRate,
        *m_refinancedYears, *m_refinancedPayment, *m_closingCosts, *m_points;
    QCheckBox *m_cashOutAsSavings, *m_includeClosingCosts, *m_includePoints;
    QLineEdit *m_refinancedAmount, *m_costs, *m_breakEven;
    QLineEdit *m_taxRate, *m_savingsRate;
};

// "Refinance Analysis": the year table of both paths, from "refprt.tmp".
class RefinanceScheduleWindow : public QDialog {
    Q_OBJECT
  public:
    RefinanceScheduleWindow(const std::vector<RefinanceRow>& rows, QWidget* parent = nullptr);
    QTableWidget* table() const { return m_table; }

  Q_SIGNALS:
    void printRequested(PrintOutput output);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTableWidget* m_table;
};

} // namespace finplan
