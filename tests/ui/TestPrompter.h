#pragma once

#include <vector>

#include "ui/app/Prompter.h"

namespace finplan {

// Answers in the user's place and remembers what the window said.
class TestPrompter : public Prompter {
  public:
    struct Log {
        std::vector<Message> messages;
        int saveQuestions = 0;
        int openDialogs = 0;
        SaveAnswer answer = SaveAnswer::Cancel;
        QString accountsPath; // what the accounts and results file dialogs answer
    };
    explicit TestPrompter(Log& log) : m_log(log) {}
    void notify(const Message& message) override { m_log.messages.push_back(message); }
    bool confirm(const Message&) override { return false; }
    SaveAnswer askToSave(const QString&) override {
        ++m_log.saveQuestions;
        return m_log.answer;
    }
    QString openScenarioPath() override {
        ++m_log.openDialogs;
        return QString();
    }
    QString saveScenarioPath() override { return QString(); }
    QString openAccountsPath() override { return m_log.accountsPath; }
    QString saveAccountsPath() override { return m_log.accountsPath; }
    QString saveResultsPath() override { return m_log.accountsPath; }
    QString saveGraphsPath() override { return m_log.accountsPath; }
    ExportFormat chooseExportFormat() override { return ExportFormat::Comma; }
    std::optional<QFont> chooseFont(const QFont&, const QString&, int, int) override {
        return std::nullopt;
    }
    QString saveExportPath(ExportFormat) override { return m_log.accountsPath; }

  private:
    Log& m_log;
};

} // namespace finplan
