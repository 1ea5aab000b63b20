#pragma once

#include <QFont>
#include <QString>
#include <optional>

#include "engine/RunOptions.h"
#include "model/Message.h"

class QWidget;

namespace finplan {

// Every question and message the window puts to the user goes through here, so that a test
// can answer in the user's place.
class Prompter : public Notifier {
  public:
    enum class SaveAnswer { Yes, No, Cancel };

    explicit Prompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void notify(const Message& message) override;
    bool confirm(const Message& question) override;
    // "Do you wish to save the file %s?"
    virtual SaveAnswer askToSave(const QString& path);
    // Empty when the user cancels.
    virtual QString openScenarioPath();
    virtual QString saveScenarioPath();
    // The accounts file dialogs "Read Accounts" and "Write Accounts" (extension "acc").
    virtual QString openAccountsPath();
    virtual QString saveAccountsPath();
    // "Save Results To A File" (extension "sch").
    virtual QString saveResultsPath();
    // "Save Graphs To a File" (extension "vtp").
    virtual QString saveGraphsPath();
    // "Export Accounts to a File": Tab or Comma, or None when cancelled; then the file.
    virtual ExportFormat chooseExportFormat();
    virtual QString saveExportPath(ExportFormat format);
    // The font dialog; the size chosen is held to `minPoints`..`maxPoints`.
    virtual std::optional<QFont> chooseFont(const QFont& initial, const QString& title,
                                            int minPoints, int maxPoints);

  protected:
    QWidget* m_parent;
};

} // namespace finplan
