#pragma once

#include <QWidget>

class QTextBrowser;

namespace finplan {

struct RunState;

// The Summary folder: the net worth of the last run in words, and its red flags. The summary
// graphs take its place once they exist.
class SummaryFolder : public QWidget {
    Q_OBJECT
  public:
    explicit SummaryFolder(QWidget* parent = nullptr);
    // `state` is null when there is no run to show.
    void showRun(const RunState* state);

  private:
    QTextBrowser* m_text;
};

} // namespace finplan
