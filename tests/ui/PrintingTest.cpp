#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUndoStack>

#include "forms/ReportOptionsForm.h"
#include "model/Scenario.h"
#include "model/ScenarioFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Prompter.h"
#include "ui/printing/PdfCommand.h"
#include "ui/printing/ReportOptionsDialog.h"
#include "ui/viewers/ReportViewer.h"

using namespace finplan;

namespace {

// Answers the print questions: the print dialog is cancelled or sends the job to a PDF file.
class PrintPrompter : public Prompter {
  public:
    struct Log {
        std::vector<Message> messages;
        bool printerChosen = true;
        int printDialogs = 0;
        QString pdfPath;
        ReportOptionsForm options;
        bool optionsAccepted = false;
    };
    explicit PrintPrompter(Log& log) : m_log(log) {}
    void notify(const Message& message) override { m_log.messages.push_back(message); }
    bool confirm(const Message&) override { return false; }
    SaveAnswer askToSave(const QString&) override { return SaveAnswer::No; }
    bool choosePrinter(QPrinter& printer, int, bool) override {
        ++m_log.printDialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_log.pdfPath);
        return m_log.printerChosen;
    }
    QString savePdfPath(const QString&) override { return m_log.pdfPath; }
    // The preview's pages go to the PDF file instead of a window.
    void showPrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_log.pdfPath);
        paint(&printer);
    }
    bool editReportOptions(ReportOptionsForm& form) override {
        if (!m_log.optionsAccepted)
            return false;
        const FontRecord font = form.printerFont;
        form = m_log.options;
        form.printerFont = font;
        return true;
    }

  private:
    Log& m_log;
};

// The text of one page of a PDF (from 1), or of all pages with 0.
QString pdfText(const QString& path, int page = 0) {
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << QStringLiteral("-layout") << path << QStringLiteral("-");
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), args);
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdfinfo"), {path});
    tool.waitForFinished();
    const QString info = QString::fromUtf8(tool.readAllStandardOutput());
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private:
    PrintPrompter::Log m_log;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

  private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void init() {
        m_log = {};
        m_window = std::make_unique<MainWindow>(std::make_unique<PrintPrompter>(m_log));
        m_window->start(QStringLiteral(FINPLAN_EXAMPLE_FILE));
        m_window->show();
        QVERIFY(m_window->lastRun());
    }
    void cleanup() { m_window.reset(); }

    void resultsSpanSheetsAfterATitlePage() {
        const QString pdf = path("results.pdf");
        QTextStream err(stderr);
        QCOMPARE(
            printToPdf(QStringLiteral("results"), pdf, QStringLiteral(FINPLAN_EXAMPLE_FILE), err),
            0);
        // The title page, then the sheets: the descriptions alone on the first, the schedule
        // from the second on.
        const int pages = pdfPages(pdf);
        QVERIFY2(pages > 3, qPrintable(QString::number(pages)));
        const QString total = QString::number(pages - 1);
        const QString title = pdfText(pdf, 1);
        QVERIFY(title.contains(QStringLiteral("Financial Schedule")));
        QVERIFY(!title.contains(QStringLiteral("Page ")));
        const QString first = pdfText(pdf, 2);
        QVERIFY(first.contains(QStringLiteral("Page 1 of ") + total));
        QVERIFY(first.contains(QStringLiteral("Salary - Deposit")));
        QVERIFY(!first.contains(QStringLiteral("Net Worth")));
        const QString second = pdfText(pdf, 3);
        QVERIFY(second.contains(QStringLiteral("Page 2 of ") + total));
        QVERIFY(second.contains(QStringLiteral("Net Worth")));
        QVERIFY(second.contains(QStringLiteral("File: " FINPLAN_EXAMPLE_FILE)));
        QVERIFY(pdfText(pdf, pages).contains(QStringLiteral("Page %1 of %1").arg(total)));
    }

    void pdfCommandRefusesWhatItCannotPrint() {
        const struct {
            const char* what;
            const char* scenario;
            const char* message;
        } cases[] = {
            {"reports", FINPLAN_EXAMPLE_FILE, "WHAT is scenario"},
            {"report:13", FINPLAN_EXAMPLE_FILE, "WHAT is scenario"},
            {"graph:8", FINPLAN_EXAMPLE_FILE, "WHAT is scenario"},
            {"scenario", "/nonexistent/plan.ret", "plan.ret"},
        };
        for (const auto& c : cases) {
            const QString pdf = path("refused.pdf");
            QString text;
            QTextStream err(&text);
            QVERIFY(printToPdf(QLatin1String(c.what), pdf, QLatin1String(c.scenario), err) != 0);
            QVERIFY2(text.contains(QLatin1String(c.message)), qPrintable(text));
            QVERIFY(!QFile::exists(pdf));
        }
    }

    // A graph prints on one sheet; the summary sheet holds four charts and the "Summary" block.
    void graphsPrintOnOneSheet() {
        const struct {
            const char* what;
            QStringList titles;
        } cases[] = {
            {"graph:1", {QStringLiteral("NET WORTH")}},
            {"graph:summary",
             {QStringLiteral("NET WORTH"), QStringLiteral("INCOMING / OUTGOING"),
              QStringLiteral("OUTGOING"), QStringLiteral("Summary")}},
        };
        for (const auto& c : cases) {
            const QString pdf = path("graph.pdf");
            QString text;
            QTextStream err(&text);
            QCOMPARE(
                printToPdf(QLatin1String(c.what), pdf, QLatin1String(FINPLAN_EXAMPLE_FILE), err),
                0);
            QCOMPARE(pdfPages(pdf), 1);
            const QString printed = pdfText(pdf);
            for (const QString& title : c.titles)
                QVERIFY2(printed.contains(title), qPrintable(title));
        }
    }

    void eightAccountsPrintTwoColumnPages() {
        m_window->commitEdit(QStringLiteral("Accounts"), [](Scenario& s) {
            AccountTable& table = s.accountTable;
            for (const char* name : {"Seventh", "Eighth"}) {
                Account& added = table.accounts[table.accountCount];
                added = table.accounts[0];
                added.name.assign(name);
                added.accountId = static_cast<std::int16_t>(table.nextAccountId++);
                ++table.accountCount;
            }
            return true;
        });
        m_log.pdfPath = path("accounts.pdf");
        auto* viewer = m_window->showReport(kAccountReport);
        QVERIFY(viewer);
        viewer->findChild<QPushButton*>(QStringLiteral("exportPdf"))->click();
        QVERIFY(m_log.messages.empty());
        // Column pages of 7 accounts and of the one left over.
        const QStringList names = {QStringLiteral("Car"),       QStringLiteral("Checking"),
                                   QStringLiteral("Brokerage"), QStringLiteral("Company stock"),
                                   QStringLiteral("401(k)"),    QStringLiteral("Roth IRA"),
                                   QStringLiteral("Seventh"),   QStringLiteral("Eighth")};
        QList<int> columns;
        for (int page = 2; page <= pdfPages(m_log.pdfPath); ++page) {
            const QString text = pdfText(m_log.pdfPath, page);
            columns << static_cast<int>(std::count_if(
                names.begin(), names.end(), [&](const QString& n) { return text.contains(n); }));
        }
        QVERIFY2(columns.contains(7) && columns.contains(1) && !columns.contains(8),
                 qPrintable(QString::number(columns.size())));
        viewer->close();
    }

    void cancelledPrintDialogPrintsNothing() {
        m_log.pdfPath = path("cancelled.pdf");
        m_log.printerChosen = false;
        m_window->command(905)->trigger();
        QCOMPARE(m_log.printDialogs, 1);
        QVERIFY(!QFile::exists(m_log.pdfPath));
        QVERIFY(!m_window->printing());
        // The window takes commands again: this time the job goes out.
        m_log.printerChosen = true;
        m_window->command(905)->trigger();
        QCOMPARE(m_log.printDialogs, 2);
        QVERIFY(pdfText(m_log.pdfPath).contains(QStringLiteral("Financial Scenario")));
        QVERIFY(!m_window->printing());
    }

    void reportOptionsAreOneUndoStepAndPrint() {
        QUndoStack* undo = m_window->undoStack();
        const int steps = undo->count();
        m_window->command(405)->trigger(); // cancelled: nothing changes
        QCOMPARE(undo->count(), steps);

        m_log.optionsAccepted = true;
        m_log.options.title[0] = "Smith household";
        m_log.options.useTitle[0] = true;
        m_log.options.banding = m_log.options.boxes = m_log.options.columns = true;
        m_window->command(405)->trigger();
        QCOMPARE(undo->count(), steps + 1);
        const Scenario& s = m_window->document().scenario;
        QCOMPARE(QString::fromStdString(s.reportTitles.title1.str()),
                 QStringLiteral("Smith household"));
        QCOMPARE(s.preferences.reportBoxes, 1);

        m_log.pdfPath = path("titled.pdf");
        m_window->printCommand(401, PrintOutput::Pdf);
        const QString text = pdfText(m_log.pdfPath, 2);
        QVERIFY(text.contains(QStringLiteral("Smith household")));
        QVERIFY(!text.contains(QStringLiteral("File: ")));

        undo->undo();
        QCOMPARE(m_window->document().scenario.reportTitles.useTitle1, 0);
    }

    void reportOptionsDialogReadsBackItsFields() {
        ReportOptionsForm form;
        form.title[1] = "Draft";
        form.columns = true;
        PrintPrompter prompter(m_log);
        ReportOptionsDialog dialog(form, prompter);
        auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("title2"));
        QCOMPARE(title->text(), QStringLiteral("Draft"));
        title->clear();
        QTest::keyClicks(title, QString(50, QLatin1Char('x')));
        dialog.findChild<QCheckBox*>(QStringLiteral("useTitle2"))->click();
        dialog.findChild<QCheckBox*>(QStringLiteral("reportBanding"))->click();
        const ReportOptionsForm read = dialog.form();
        QCOMPARE(read.title[1], std::string(ReportOptionsForm::kTitleLength, 'x'));
        QVERIFY(read.useTitle[1] && read.banding && read.columns && !read.boxes);
    }

    void previewDrawsTheReportsSheets() {
        m_log.pdfPath = path("preview.pdf");
        m_window->printReport(kIncomingReport, PrintOutput::Preview);
        QVERIFY(m_log.messages.empty());
        QVERIFY(pdfText(m_log.pdfPath, 2).contains(QStringLiteral("Incoming Report")));
        QVERIFY(!m_window->printing());
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
