#pragma once

#include <QDialog>

#include "forms/ReportOptionsForm.h"

class QCheckBox;
class QLineEdit;

namespace finplan {

class Prompter;

// "Reports Options": fills its fields from the form, reads them back on OK. The "Fonts" button
// chooses the printer font through the prompter.
class ReportOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    ReportOptionsDialog(const ReportOptionsForm& form, Prompter& prompter,
                        QWidget* parent = nullptr);
    ReportOptionsForm form() const;

  private:
    void chooseFont();

    Prompter& m_prompter;
    ReportOptionsForm m_form;
    QLineEdit* m_title[3];
    QCheckBox* m_useTitle[3];
    QCheckBox* m_banding;
    QCheckBox* m_boxes;
    QCheckBox* m_columns;
};

} // namespace finplan
