#pragma once

#include <QDialog>
#include <QStringList>

class QButtonGroup;

namespace finplan {

struct ImportPlan;

// A small choice among variants of a command ("Create New Accounts", "Update Accounts From a
// File", "Export Accounts to a File"): option buttons, the first preset, OK, Cancel and Help.
class ChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    ChoiceDialog(const QString& title, const QStringList& options, int helpTopic,
                 QWidget* parent = nullptr);
    // The option chosen, from 0.
    int chosen() const;

  private:
    QButtonGroup* m_options;
};

// What an import will do before it does it: the lines it uses and those it skips, each with
// its reason. OK goes on with the import.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    ImportPreviewDialog(const ImportPlan& plan, QWidget* parent = nullptr);
};

} // namespace finplan
