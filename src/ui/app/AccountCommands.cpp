// The window's account commands: new scenarios with their accounts, the import of account
// amounts, the account and groups editors and the deletion of an account.

#include <QTabWidget>
#include <QUndoStack>

#include "forms/AccountForm.h"
#include "forms/AccountImport.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/editors/AccountDialogs.h"
#include "ui/folders/AccountsFolder.h"
#include "ui/help/HelpTopics.h"
#include "ui/platform/Paths.h"

namespace finplan {

namespace {

// The open dialogs of commands 441, 442, 444 and 445.
QString importTitle(bool create, bool csv) {
    if (create)
        return csv ? QStringLiteral("Read Accounts From a CSV (comma-delimited) File")
                   : QStringLiteral("Read Accounts From a Tab File");
    return csv ? QStringLiteral("Update Accounts From a Comma-delimited(*.CSV) File")
               : QStringLiteral("Update Accounts From a Tab File");
}

} // namespace

void MainWindow::newScenarioCommand() {
    if (!maybeSave())
        return;
    const int variant = m_prompter->chooseOption(
        QStringLiteral("Create New Accounts"),
        {QStringLiteral("Create New Accounts From a Tab-delimited File (*.VTI)"),
         QStringLiteral("Create New Accounts From a Comma-delimited File (*.CSV)"),
         QStringLiteral("Create New Accounts By Hand")},
        help::kCreateAccounts);
    if (variant >= 0)
        createAccountsCommand(441 + variant);
}

void MainWindow::createAccountsCommand(int variant) {
    auto fresh = std::make_unique<Scenario>();
    startNewAccounts(*fresh);
    if (variant != 443) {
        const bool csv = variant == 442;
        const QString path = m_prompter->openImportPath(importTitle(true, csv), csv);
        if (path.isEmpty())
            return;
        const Result<ImportPlan> plan =
            planAccountImport(path.toStdString(), csv, ImportUse::Create, workDirectory());
        if (!plan) {
            m_prompter->notify(plan.message());
            return;
        }
        if (!m_prompter->confirmImport(*plan))
            return;
        createAccountsFromFile(*fresh, *plan, *m_prompter, [this](Scenario& s, int position) {
            return m_prompter->editImportedAccount(s, position);
        });
    }
    // A new document: no file yet, nothing to undo, and changed, so that closing asks.
    m_undo->clear();
    m_doc->scenario = *fresh;
    m_doc->openPath.clear();
    m_doc->savePath.clear();
    updateTitle();
    scenarioChanged();
    m_folders->setCurrentIndex(AccountsIndex);
}

void MainWindow::importAccountsCommand() {
    const int variant = m_prompter->chooseOption(
        QStringLiteral("Update Accounts From a File"),
        {QStringLiteral("Update Accounts From a Tab-delimited File (*.VTI)"),
         QStringLiteral("Update Accounts From a Comma-delimited File (*.CSV)")},
        help::kUpdateAccounts);
    if (variant >= 0)
        updateAccountsCommand(variant == 1);
}

void MainWindow::updateAccountsCommand(bool csv) {
    const QString path = m_prompter->openImportPath(importTitle(false, csv), csv);
    if (path.isEmpty())
        return;
    const Result<ImportPlan> plan =
        planAccountImport(path.toStdString(), csv, ImportUse::Update, workDirectory());
    if (!plan) {
        m_prompter->notify(plan.message());
        return;
    }
    if (!m_prompter->confirmImport(*plan))
        return;
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    if (!updateAccountsFromFile(*working, *plan, *m_prompter, [this](Scenario& s, int position) {
            return m_prompter->editImportedAccount(s, position);
        }))
        return;
    commitEdit(QStringLiteral("Import Account Data"), [&working](Scenario& s) {
        s = *working;
        return true;
    });
}

void MainWindow::groupsCommand() {
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    GroupsDialog dialog(*working, *m_prompter, this);
    if (dialog.exec() == QDialog::Accepted)
        commitEdit(QStringLiteral("Group Names"), [&working](Scenario& s) {
            s = *working;
            return true;
        });
    m_folders->setCurrentIndex(AccountsIndex);
}

void MainWindow::openAccountEditor(int position) {
    auto working = std::make_unique<Scenario>(m_doc->scenario);
    const bool adding = position < 0;
    if (adding) {
        const Result<int> added = beginNewAccount(*working);
        if (!added) {
            m_prompter->notify(added.message());
            return;
        }
        position = *added;
    }
    AccountDialog dialog(*working, position, *m_prompter, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    commitEdit(adding ? QStringLiteral("Add Account") : QStringLiteral("Edit Account"),
               [&working](Scenario& s) {
                   s = *working;
                   return true;
               });
    m_folders->setCurrentIndex(AccountsIndex);
    runIfStale();
}

void MainWindow::deleteAccountCommand(int position) {
    std::vector<Message> refusal;
    commitEdit(QStringLiteral("Delete Account"), [&](Scenario& s) {
        DeleteAccountResult result = deleteAccount(s, position);
        refusal = std::move(result.messages);
        return result.deleted;
    });
    for (const Message& m : refusal)
        m_prompter->notify(m);
}

} // namespace finplan
