#include "ui/app/Prompter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/ReportOptionsForm.h"
#include "ui/editors/AccountDialogs.h"
#include "ui/editors/ImportDialogs.h"
#include "ui/help/HelpTopics.h"
#include "ui/printing/ReportOptionsDialog.h"

namespace finplan {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Question:
        return QMessageBox::Question;
    case MessageKind::Error:
        break;
    }
    return QMessageBox::Critical;
}

// Scenario files carry ".RET" from older systems as often as ".ret".
const QString kScenarioFilter = QStringLiteral("Scenario Files (*.RET *.ret)");

const QString kAccountsFilter = QStringLiteral("Account Files (*.ACC *.acc)");

QString withExtension(QString path, const QString& extension = QStringLiteral("ret")) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

} // namespace

void Prompter::notify(const Message& message) {
    QMessageBox box(iconOf(message.kind), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool Prompter::confirm(const Message& question) {
    return QMessageBox::question(m_parent, QString::fromStdString(question.caption),
                                 QString::fromStdString(question.text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Prompter::SaveAnswer Prompter::askToSave(const QString& path) {
    const auto answer = QMessageBox::question(
        m_parent, QStringLiteral("Vantrel Financial Planner"),
        QStringLiteral("Do you wish to save the file %1?").arg(path),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveAnswer::Yes;
    if (answer == QMessageBox::No)
        return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

QString Prompter::openScenarioPath() {
    return QFileDialog::getOpenFileName(m_parent, QStringLiteral("Open a Scenario"), QString(),
                                        kScenarioFilter);
}

QString Prompter::saveScenarioPath() {
    // The core asks before it overwrites, with its own question.
    return withExtension(QFileDialog::getSaveFileName(
        m_parent, QStringLiteral("Save Scenario With a New Name"), QString(), kScenarioFilter,
        nullptr, QFileDialog::DontConfirmOverwrite));
}

QString Prompter::openAccountsPath() {
    return QFileDialog::getOpenFileName(m_parent, QStringLiteral("Read Accounts"), QString(),
                                        kAccountsFilter);
}

QString Prompter::saveResultsPath() {
    return withExtension(
        QFileDialog::getSaveFileName(m_parent, QStringLiteral("Save Results To A File"), QString(),
                                     QStringLiteral("Result Files (*.SCH *.sch)")),
        QStringLiteral("sch"));
}

QString Prompter::saveGraphsPath() {
    // The core asks before it overwrites, with its own question.
    return withExtension(
        QFileDialog::getSaveFileName(m_parent, QStringLiteral("Save Graphs To a File"), QString(),
                                     QStringLiteral("Plot Files (*.VTP *.vtp)"), nullptr,
                                     QFileDialog::DontConfirmOverwrite),
        QStringLiteral("vtp"));
}

ExportFormat Prompter::chooseExportFormat() {
    const int chosen =
        chooseOption(QStringLiteral("Export Accounts to a File"),
                     {QStringLiteral("Export Accounts To a Tab-delimited File (*.VTE)"),
                      QStringLiteral("Export Accounts To a Comma-delimited File (*.CSV)")},
                     help::kExportAccounts);
    if (chosen < 0)
        return ExportFormat::None;
    return chosen == 1 ? ExportFormat::Comma : ExportFormat::Tab;
}

int Prompter::chooseOption(const QString& title, const QStringList& options, int helpTopic) {
    ChoiceDialog dialog(title, options, helpTopic, m_parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : -1;
}

QString Prompter::openImportPath(const QString& title, bool csv) {
    const QString filter = csv ? QStringLiteral("Comma-delimited Files (*.CSV *.csv)")
                               : QStringLiteral("Tab-delimited Files (*.VTI *.vti *.TXT *.txt)");
    return QFileDialog::getOpenFileName(m_parent, title, QString(),
                                        filter + QStringLiteral(";;All Files (*)"));
}

bool Prompter::confirmImport(const ImportPlan& plan) {
    ImportPreviewDialog dialog(plan, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Prompter::editImportedAccount(Scenario& working, int position) {
    AccountDialog dialog(working, position, *this, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

QString Prompter::saveExportPath(ExportFormat format) {
    const bool comma = format == ExportFormat::Comma;
    const QString title = comma ? QStringLiteral("Export Results To a Comma-delimited File (*.CSV)")
                                : QStringLiteral("Export Results To a Tab-delimited File (*.VTE)");
    const QString filter = comma ? QStringLiteral("Comma-delimited Files (*.CSV *.csv)")
                                 : QStringLiteral("Tab-delimited Files (*.VTE *.vte)");
    return withExtension(QFileDialog::getSaveFileName(m_parent, title, QString(), filter),
                         comma ? QStringLiteral("csv") : QStringLiteral("vte"));
}

std::optional<QFont> Prompter::chooseFont(const QFont& initial, const QString& title, int minPoints,
                                          int maxPoints) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, initial, m_parent, title);
    if (!ok)
        return std::nullopt;
    font.setPointSizeF(std::clamp(font.pointSizeF(), double(minPoints), double(maxPoints)));
    return font;
}

QString Prompter::saveAccountsPath() {
    // The core asks before it overwrites, with its own question.
    return withExtension(QFileDialog::getSaveFileName(m_parent, QStringLiteral("Write Accounts"),
                                                      QString(), kAccountsFilter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite),
                         QStringLiteral("acc"));
}

bool Prompter::choosePrinter(QPrinter& printer, int sheetCount, bool pageRange) {
    QPrintDialog dialog(&printer, m_parent);
    dialog.setMinMax(1, std::max(sheetCount, 1));
    QAbstractPrintDialog::PrintDialogOptions options =
        dialog.options() | QAbstractPrintDialog::PrintCollateCopies;
    if (pageRange)
        options |= QAbstractPrintDialog::PrintPageRange;
    else
        options &= ~(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintSelection |
                     QAbstractPrintDialog::PrintCurrentPage);
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

bool Prompter::choosePageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

void Prompter::showPrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
    QPrintPreviewDialog dialog(&printer, m_parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.resize(900, 720);
    dialog.exec();
}

QString Prompter::savePdfPath(const QString& documentName) {
    return withExtension(QFileDialog::getSaveFileName(m_parent, QStringLiteral("Export as PDF"),
                                                      documentName + QStringLiteral(".pdf"),
                                                      QStringLiteral("PDF Files (*.pdf)")),
                         QStringLiteral("pdf"));
}

bool Prompter::editReportOptions(ReportOptionsForm& form) {
    ReportOptionsDialog dialog(form, *this, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    form = dialog.form();
    return true;
}

} // namespace finplan
