#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "engine/RunOptions.h"
#include "odds/OddsAnalysis.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace finplan {

// The Odds folder: thousands of random-rate runs of the scenario, summed up as the chance
// that the plan holds, a fan chart of net worth and the ages savings ran out. The analysis
// works in the background on its own copy of the scenario; the window stays responsive and a
// new scenario or setting starts it afresh.
class OddsFolder : public QWidget {
    Q_OBJECT
  public:
    explicit OddsFolder(QWidget* parent = nullptr);
    ~OddsFolder() override;

    // The scenario to analyse. It is analysed when the folder is shown and it differs from
    // the one analysed last.
    void setScenario(const Scenario& scenario, const std::string& dataDir, LocalDateTime now);

    void setTrials(int trials);
    void setMode(RandomMode mode);
    void setSeed(std::uint64_t seed);
    std::uint64_t seed() const { return m_settings.seed; }

    bool running() const { return m_worker != nullptr; }
    const OddsResult& result() const { return m_result; }
    bool haveResult() const { return m_haveResult; }
    bool startAgeDollars() const;

    // Starts the analysis now, cancelling one under way.
    void start();
    void cancel();
    // Waits for the analysis under way; for tests and screenshots.
    void wait();

  Q_SIGNALS:
    // Run one trial's seed on the results page.
    void replayRequested(std::uint32_t seed, RandomMode mode);
    void finished();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void progressed(int generation, int done);
    void done(int generation, const OddsOutcome& outcome);
    void settingsChanged();
    void showState();

    class Chart;
    Chart* m_chart;
    QComboBox* m_trials;
    QComboBox* m_mode;
    QLineEdit* m_seed;
    QCheckBox* m_todays;
    QLabel* m_probability;
    QLabel* m_detail;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QPushButton* m_replayMedian;
    QPushButton* m_replayBad;

    OddsSettings m_settings;
    std::shared_ptr<const Scenario> m_scenario;
    std::vector<std::uint8_t> m_analysedBytes; // the scenario of the last analysis started
    std::vector<std::uint8_t> m_wantedBytes;
    OddsResult m_result;
    bool m_haveResult = false;
    int m_generation = 0;
    std::unique_ptr<std::jthread> m_worker;
};

} // namespace finplan
