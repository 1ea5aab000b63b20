#pragma once

#include <optional>

#include "calculators/MortgageCalculator.h"
#include "forms/MortgageForm.h"
#include "ui/editors/EditorDialog.h"

namespace finplan {

// "Mortgage": the mortgage editor over the event at `index` of the working copy, with its
// payment and its payment schedule.
class MortgageDialog : public EditorDialog {
    Q_OBJECT
  public:
    MortgageDialog(Scenario& working, int index, Prompter& prompter, QWidget* parent = nullptr);
    // Opened from the mortgage calculator: its inputs and payment instead of the record's.
    void showCalculatorTexts(const MortgageCalculatorTexts& texts);

  protected:
    bool apply() override;

  private:
    MortgageForm read() const;
    // Calculate: the checks and the payment; the mortgage as checked, or nothing.
    std::optional<FinancialEvent> calculate();
    // Schedule: Calculate, then the yearly schedule of the mortgage as checked.
    void showSchedule();
    // The refinance analysis of this mortgage; a refinance created there ends this editor with
    // the working copy holding it and nothing typed here kept.
    void refinance();
    void analyseAcceleratedPayment();

    int m_index;
    QLineEdit* m_name;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_interestRate;
    QLineEdit* m_amount;
    QLineEdit* m_propertyTax;
    QLineEdit* m_closingCosts;
    QLineEdit* m_downPayment;
    QLineEdit* m_termYears;
    QLineEdit* m_appreciationRate;
    QLineEdit* m_adjustRate;
    QLineEdit* m_sellingExpenses;
    QCheckBox* m_taxesInflate;
    QCheckBox* m_fromMortgageStart;
    QCheckBox* m_fromScenarioStart;
    QCheckBox* m_keepDownPayment;
    QLineEdit* m_extraPrincipal;
    QLineEdit* m_monthlyPayment;
    QComboBox* m_paymentAccount;
};

} // namespace finplan
