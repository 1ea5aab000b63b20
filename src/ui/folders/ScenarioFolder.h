#pragma once

#include <QWidget>

class QListWidget;
class QMenu;
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
    // The event kinds Add offers.
    void setAddMenu(QMenu* menu);

  Q_SIGNALS:
    // Delete, or the Delete key, on a row of an event that may be deleted.
    void deleteRequested(int event);
    // Edit, or a double click, and Copy on the row of an event.
    void editRequested(int event);
    void copyRequested(int event);
    // Edit, or a double click, on row 0: the initial values' line.
    void initialValuesRequested();
    // The yearly schedule of the selected loan or mortgage.
    void scheduleRequested(int event);

  private:
    void selectionChanged();
    void editSelected();
    bool initialValuesSelected() const;

    const Scenario* m_scenario = nullptr;
    QListWidget* m_list;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_delete;
    QPushButton* m_schedule;
};

} // namespace finplan
