#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "engine/RunOptions.h"
#include "model/Message.h"

class QPrinter;
class QWidget;

namespace finplan {

struct ImportPlan;
struct ReportOptionsForm;
struct Scenario;

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
    // The print dialog over `sheetCount` sheets, offering a page range only when `pageRange`;
    // it sets up `printer`. False when cancelled.
    virtual bool choosePrinter(QPrinter& printer, int sheetCount, bool pageRange);
    // "Page Setup" on `printer`; false when cancelled.
    virtual bool choosePageSetup(QPrinter& printer);
    // The print preview: `paint` draws the job on the preview's printer.
    virtual void showPrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& paint);
    // "Export as PDF": the file to write, empty when cancelled.
    virtual QString savePdfPath(const QString& documentName);
    // "Reports Options": false when cancelled, else `form` holds what was chosen.
    virtual bool editReportOptions(ReportOptionsForm& form);

    // A choice among a command's variants ("Create New Accounts", "Update Accounts From a
    // File", "Export Accounts to a File"): the option chosen, from 0, or -1 when cancelled.
    virtual int chooseOption(const QString& title, const QStringList& options, int helpTopic);
    // The open dialog of an account import, `title` as the command names it; empty when
    // cancelled.
    virtual QString openImportPath(const QString& title, bool csv);
    // The lines an import uses and skips, before anything changes: true to go on.
    virtual bool confirmImport(const ImportPlan& plan);
    // "Account Information" on an imported account prepared at `position` of `working`: true
    // for OK, which stores and counts it.
    virtual bool editImportedAccount(Scenario& working, int position);

  protected:
    QWidget* m_parent;
};

} // namespace finplan
