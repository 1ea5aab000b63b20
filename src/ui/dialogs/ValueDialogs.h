#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "engine/RunOptions.h"
#include "forms/DistributionOptionsForm.h"
#include "forms/InitialValuesForm.h"
#include "forms/PreferencesForm.h"
#include "ui/editors/EditorDialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace finplan {

// "Initial Values": the age range, birth date and rates of the working copy, with the
// accounts' totals beside them. `today` decides the birthday's fraction of a year.
class InitialValuesDialog : public EditorDialog {
    Q_OBJECT
  public:
    InitialValuesDialog(Scenario& working, Prompter& prompter, const LocalDateTime& today,
                        QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    InitialValuesForm fields() const;
    void birthdayClicked();

    LocalDateTime m_today;
    QLineEdit* m_startAge;
    QLineEdit* m_endAge;
    QLineEdit* m_taxRate;
    QLineEdit* m_inflationRate;
    QLineEdit* m_birthMonth;
    QLineEdit* m_birthDay;
    QCheckBox* m_useBirthday;
    QCheckBox* m_todaysDollars;
};

// "Life Expectancy Values From IRS Tables": one table of the working copy. `dataDir` holds
// the published IRS tables the Fill button reads.
class LifeTableDialog : public EditorDialog {
    Q_OBJECT
  public:
    LifeTableDialog(Scenario& working, int table, Prompter& prompter, std::string dataDir,
                    QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    LifeTableForm fields() const;
    void startAgeEdited();
    void fillFromIrs();

    int m_table;
    std::string m_dataDir;
    QLineEdit* m_description;
    QLineEdit* m_startAge;
    std::array<QLabel*, kLifeTableValues> m_ages{};
    std::array<QLineEdit*, kLifeTableValues> m_values{};
    QSpinBox* m_spouseYounger;
};

// "Required Minimum Distribution Options", opening the three tables' editor.
class DistributionOptionsDialog : public EditorDialog {
    Q_OBJECT
  public:
    DistributionOptionsDialog(Scenario& working, Prompter& prompter, std::string dataDir,
                              QWidget* parent = nullptr);

  protected:
    bool apply() override;

  private:
    std::string m_dataDir;
    QButtonGroup* m_mode;
    QLineEdit* m_penaltyRate;
    QComboBox* m_account;
};

// "Preferences": the display flags and the two list fonts.
class PreferencesDialog : public QDialog {
    Q_OBJECT
  public:
    PreferencesDialog(const PreferencesForm& form, Prompter& prompter, QWidget* parent = nullptr);
    PreferencesForm form() const;

  private:
    void chooseFont(FontRecord& record, const QString& title, int minPoints, int maxPoints);

    Prompter& m_prompter;
    PreferencesForm m_form;
    QCheckBox* m_banding;
    QCheckBox* m_hideFolder;
    QCheckBox* m_defaultFonts;
    QPushButton* m_listsFont;
    QPushButton* m_resultsFont;
};

} // namespace finplan
