#pragma once

#include <QMainWindow>
#include <QString>

class QTextBrowser;

namespace finplan {

// Opens the help window at a topic of help/HelpTopics.h; one window serves the whole program.
void openHelpTopic(QWidget* from, int topic);

// Where a topic's page lives among the program's resources.
QString helpPagePath(int topic);

// The help pages: a contents page, each topic's page, and links between them.
class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(int topic);
    QTextBrowser* browser() const { return m_browser; }

  private:
    QTextBrowser* m_browser;
};

} // namespace finplan
