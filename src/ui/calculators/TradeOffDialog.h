#pragma once

#include <array>
#include <string>

#include "calculators/TradeOff.h"
#include "ui/calculators/CalculatorDialog.h"

class QCheckBox;
class QSpinBox;

namespace finplan {

// "Trade-Off Analysis": three options' end amounts after a number of periods. Every change
// goes to `kept` at once; OK also writes it to `settingsPath`.
class TradeOffDialog : public CalculatorDialog {
    Q_OBJECT
  public:
    TradeOffDialog(TradeOffSettings& kept, float taxRate, std::string settingsPath,
                   std::string graphPath, Prompter& prompter, QWidget* parent = nullptr);

  protected:
    void accept() override;

  private:
    void readBack();
    void showResults();
    void graph();

    TradeOffSettings& m_kept;
    float m_taxRate;
    std::string m_settingsPath, m_graphPath;
    std::array<QLineEdit*, 3> m_names{};
    std::array<QLineEdit*, 12> m_values{};
    std::array<QLineEdit*, 3> m_endAmounts{};
    std::array<QLineEdit*, 3> m_differences{};
    QSpinBox* m_periods;
    QCheckBox* m_useTaxRate;
};

} // namespace finplan
