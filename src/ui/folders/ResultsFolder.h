#pragma once

#include <QWidget>

#include "engine/RunOptions.h"

class QCheckBox;
class QLineEdit;
class QTableView;

namespace finplan {

class Prompter;
class ScheduleDelegate;
class ScheduleLog;
class ScheduleModel;

// The Results folder: the run's schedule with its navigation and run commands.
class ResultsFolder : public QWidget {
    Q_OBJECT
  public:
    ResultsFolder(Prompter& prompter, QWidget* parent = nullptr);

    bool detailed() const;
    bool showAccounts() const;

    // Called around each run, whose log the list shows until the next one.
    void beginRun();
    void endRun(const ScheduleLog* log, float startAge, int firstAge, int lastAge);

    // The age a click or Go To chose, kept for the graphs; 0 before any.
    int selectedAge() const { return m_selectedAge; }
    // Selects `age` as a click on its row does: the list goes to it.
    void showAge(int age);
    QTableView* view() const { return m_view; }

  Q_SIGNALS:
    void runRequested(finplan::RandomMode mode);
    void saveRequested();
    // A click on a row that an event wrote: that event's editor.
    void eventClicked(int event);

  private:
    enum class Place { Top, Bottom, Age };
    void goTo();
    void rowClicked(const QModelIndex& index);
    void scrollToPlace();
    void scrollToRow(int row);

    Prompter& m_prompter;
    ScheduleModel* m_model;
    ScheduleDelegate* m_delegate;
    QTableView* m_view;
    QLineEdit* m_ageField;
    QCheckBox* m_detailed;
    QCheckBox* m_accounts;
    const ScheduleLog* m_log = nullptr;
    int m_firstAge = 0;
    int m_lastAge = 0;
    int m_selectedAge = 0;
    // Where the list was last taken, so that the next run shows the same place.
    Place m_place = Place::Top;
    int m_placeAge = 0;
};

} // namespace finplan
