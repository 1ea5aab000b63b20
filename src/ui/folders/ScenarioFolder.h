#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace finplan {

struct Scenario;

// The Scenario folder: the events in words, one headline and its detail rows per event.
class ScenarioFolder : public QWidget {
    Q_OBJECT
  public:
    explicit ScenarioFolder(QWidget* parent = nullptr);

    // Redescribes the events; the scenario's events must be in list order with their rows
    // recorded (the window sorts and records them first).
    void describe(const Scenario& s, const std::vector<std::string>& rows);
    // The event of the selected row (its position in the table), or -1.
    int selectedEvent() const;
    QListWidget* list() const { return m_list; }

  Q_SIGNALS:
    // Delete, or the Delete key, on a row of an event that may be deleted.
    void deleteRequested(int event);
    // The yearly schedule of the selected loan or mortgage.
    void scheduleRequested(int event);

  private:
    void selectionChanged();

    const Scenario* m_scenario = nullptr;
    QListWidget* m_list;
    QPushButton* m_delete;
    QPushButton* m_schedule;
};

} // namespace finplan
