#include "ui/editors/AssetAllocationDialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include "model/Scenario.h"
#include "ui/help/HelpTopics.h"

namespace finplan {

AssetAllocationDialog::AssetAllocationDialog(Scenario& working, int index, Prompter& prompter,
                                             QWidget* parent)
    : EditorDialog(QStringLiteral("Asset Allocation Withdrawal Options"), working, prompter,
                   parent),
      m_index(index) {
    setHelpTopic(help::kAssetAllocationEditor);
    const AssetAllocationForm f = assetAllocationForm(working);
    m_proportional = addCheck(
        "proportional", QStringLiteral("Proportional asset allocation withdrawal"), f.proportional);
    m_equal = addCheck("equal", QStringLiteral("Equal asset allocation withdrawal"), f.equal);
    m_startAge = addText("startAge", QStringLiteral("Age to start withdrawals"), f.startAge);
    m_amount = addText("amount", QStringLiteral("Minimum withdrawal amount"), f.amount);
    // One way of withdrawing or none: a click on the checked one turns the option off.
    connect(m_proportional, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_equal->setChecked(false);
    });
    connect(m_equal, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_proportional->setChecked(false);
    });
}

bool AssetAllocationDialog::apply() {
    const AssetAllocationForm f{m_proportional->isChecked(), m_equal->isChecked(), text(m_startAge),
                                text(m_amount)};
    return passed(acceptAssetAllocation(f, working(), m_index));
}

} // namespace finplan
