#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "results/GraphState.h"
#include "results/ViewerFiles.h"
#include "ui/app/Prompter.h"
#include "ui/graphs/GraphPainter.h"
#include "ui/printing/PrintJob.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

// The companion viewers, each a window of its own started as a mode of the program: a plot
// file, a comparison of saved graph files, an analysis's curves and the Rule 72T calculator.

namespace finplan {

class GraphView;
class LineChartView;

// The viewers' prompter: the file dialog of the comparison besides the messages.
class ViewerPrompter : public Prompter {
  public:
    using Prompter::Prompter;
    // "Add Graph Files": the saved graph files chosen; empty when cancelled.
    virtual QStringList openGraphPaths();
};

// The legend name of a plot file: its file name; for the working plot file the scenario it
// was run from.
QString planName(const QString& path, const PlotFile& plot);

class PlotWindow : public QWidget {
    Q_OBJECT
  public:
    PlotWindow(PlotFile plot, const QString& name, ViewerPrompter& prompter,
               QWidget* parent = nullptr);
    GraphView* view() const { return m_view; }
    void showKind(int kind);
    PrintJob printJob() const;

  private:
    PlotFile m_plot;
    GraphState m_state;
    GraphView* m_view;
    QComboBox* m_kinds;
    ViewerPrompter& m_prompter;
    PageSettings m_page;
};

class CompareWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CompareWindow(ViewerPrompter& prompter, QWidget* parent = nullptr);
    // Reads and adds a graph file; a file that cannot be read is reported and left out.
    bool addFile(const QString& path);
    void removePlan(int index);
    void setSeries(int index);
    void setStartAgeDollars(bool on);
    const std::vector<ComparedPlan>& plans() const { return m_plans; }
    QTableWidget* table() const { return m_table; }
    PrintJob printJob() const;

  private:
    void refresh();

    std::vector<ComparedPlan> m_plans;
    std::vector<CompareSeries> m_choices;
    int m_series = 0;
    bool m_todays = false;
    ViewerPrompter& m_prompter;
    PageSettings m_page;
    QListWidget* m_list;
    QComboBox* m_seriesBox;
    QCheckBox* m_todaysBox;
    LineChartView* m_worthChart;
    LineChartView* m_seriesChart;
    QTableWidget* m_table;
};

class CurveWindow : public QWidget {
    Q_OBJECT
  public:
    CurveWindow(const CurveFile& curves, const QString& name, ViewerPrompter& prompter,
                QWidget* parent = nullptr);
    LineChartView* chart() const { return m_chart; }

  private:
    LineChartView* m_chart;
    ViewerPrompter& m_prompter;
    PageSettings m_page;
};

class Rule72TWindow : public QWidget {
    Q_OBJECT
  public:
    Rule72TWindow(std::string dataDir, ViewerPrompter& prompter, QWidget* parent = nullptr);
    // False when a check refused the fields (the message was shown).
    bool calculate();

  private:
    std::string m_dataDir;
    ViewerPrompter& m_prompter;
    QLineEdit* m_balance;
    QLineEdit* m_age;
    QLineEdit* m_secondAge;
    QLineEdit* m_rate;
    QComboBox* m_table;
    QLabel* m_amounts[3];
};

// The viewer of `mode` ("plot", "compare", "graph" or "rule72t") on `files`; null after the
// prompter was told why there is none.
std::unique_ptr<QWidget> openCompanion(const QString& mode, const QStringList& files,
                                       ViewerPrompter& prompter);

} // namespace finplan
