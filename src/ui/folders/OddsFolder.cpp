#include "ui/folders/OddsFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <atomic>
#include <charconv>

#include "model/ScenarioFile.h"
#include "ui/graphs/OddsPainter.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Icons.h"

namespace finplan {

namespace {

constexpr int kTrialChoices[] = {1000, 10000, 100000};

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

// The fan chart above the histogram of depletion ages.
class OddsFolder::Chart : public QWidget {
  public:
    explicit Chart(OddsFolder* folder) : QWidget(folder), m_folder(folder) {
        setObjectName(QStringLiteral("oddsChart"));
        setMinimumSize(320, 240);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRectF all = rect();
        const QRectF fan(all.left(), all.top(), all.width(), all.height() * 0.68);
        const QRectF histogram(all.left(), fan.bottom() + 4, all.width(),
                               all.bottom() - fan.bottom() - 4);
        static const OddsResult none;
        const OddsResult& r = m_folder->haveResult() ? m_folder->result() : none;
        paintFanChart(painter, fan, r, m_folder->startAgeDollars(), GraphTarget::Screen);
        paintDepletionHistogram(painter, histogram, r, GraphTarget::Screen);
    }

  private:
    OddsFolder* m_folder;
};

OddsFolder::OddsFolder(QWidget* parent)
    : QWidget(parent), m_chart(new Chart(this)), m_trials(new QComboBox(this)),
      m_mode(new QComboBox(this)), m_seed(new QLineEdit(this)),
      m_todays(new QCheckBox(QStringLiteral("Start-age dollars"), this)),
      m_probability(new QLabel(this)), m_detail(new QLabel(this)),
      m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(themeIcon("process-stop", QStyle::SP_BrowserStop),
                               QStringLiteral("Cancel"), this)),
      m_replayMedian(new QPushButton(QStringLiteral("Replay the median trial"), this)),
      m_replayBad(new QPushButton(QStringLiteral("Replay a bad trial (10th percentile)"), this)) {
    m_trials->setObjectName(QStringLiteral("oddsTrials"));
    for (int n : kTrialChoices)
        m_trials->addItem(QLocale(QLocale::English).toString(n), n);
    m_mode->setObjectName(QStringLiteral("oddsMode"));
    m_mode->addItem(QStringLiteral("Account"), static_cast<int>(RandomMode::Account));
    m_mode->addItem(QStringLiteral("Group"), static_cast<int>(RandomMode::Group));
    m_seed->setObjectName(QStringLiteral("oddsSeed"));
    m_seed->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,19}")), this));
    m_seed->setMaximumWidth(fontMetrics().averageCharWidth() * 24);
    m_seed->setToolTip(QStringLiteral("The same seed and number of trials give the same result"));
    auto* newSeed = new QPushButton(QStringLiteral("New Seed"), this);
    newSeed->setObjectName(QStringLiteral("oddsNewSeed"));
    m_todays->setObjectName(QStringLiteral("oddsTodaysDollars"));

    QFont big = m_probability->font();
    big.setPointSizeF(big.pointSizeF() * 2.6);
    big.setBold(true);
    m_probability->setFont(big);
    m_probability->setObjectName(QStringLiteral("oddsProbability"));
    m_detail->setObjectName(QStringLiteral("oddsDetail"));
    m_detail->setWordWrap(true);
    m_progress->setObjectName(QStringLiteral("oddsProgress"));
    m_cancel->setObjectName(QStringLiteral("oddsCancel"));
    m_replayMedian->setObjectName(QStringLiteral("replayMedian"));
    m_replayBad->setObjectName(QStringLiteral("replayBad"));
    auto* help = new QPushButton(themeIcon("help-contents", QStyle::SP_DialogHelpButton),
                                 QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("oddsHelp"));

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Trials:"), this));
    settings->addWidget(m_trials);
    settings->addSpacing(12);
    settings->addWidget(new QLabel(QStringLiteral("Rates vary by:"), this));
    settings->addWidget(m_mode);
    settings->addSpacing(12);
    settings->addWidget(new QLabel(QStringLiteral("Seed:"), this));
    settings->addWidget(m_seed);
    settings->addWidget(newSeed);
    settings->addSpacing(12);
    settings->addWidget(m_todays);
    settings->addStretch();

    auto* headline = new QHBoxLayout;
    headline->addWidget(m_probability);
    headline->addWidget(m_detail, 1);
    headline->addWidget(m_progress);
    headline->addWidget(m_cancel);

    auto* replays = new QHBoxLayout;
    replays->addWidget(m_replayMedian);
    replays->addWidget(m_replayBad);
    replays->addStretch();
    replays->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(headline);
    layout->addWidget(m_chart, 1);
    layout->addLayout(replays);

    m_settings.trials = kTrialChoices[0];
    m_settings.mode = RandomMode::Account;
    setSeed(QRandomGenerator::global()->bounded(1000000u));

    connect(m_trials, &QComboBox::currentIndexChanged, this, [this] {
        m_settings.trials = m_trials->currentData().toInt();
        settingsChanged();
    });
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this] {
        m_settings.mode = static_cast<RandomMode>(m_mode->currentData().toInt());
        settingsChanged();
    });
    connect(m_seed, &QLineEdit::editingFinished, this, [this] {
        const QByteArray digits = m_seed->text().toLatin1();
        std::uint64_t seed = 0;
        const auto [end, error] =
            std::from_chars(digits.constData(), digits.constData() + digits.size(), seed);
        if (error != std::errc() || seed == m_settings.seed) {
            m_seed->setText(QString::number(m_settings.seed));
            return;
        }
        m_settings.seed = seed;
        settingsChanged();
    });
    connect(newSeed, &QPushButton::clicked, this,
            [this] { setSeed(QRandomGenerator::global()->bounded(1000000u)); });
    connect(m_todays, &QCheckBox::toggled, m_chart, qOverload<>(&QWidget::update));
    connect(m_cancel, &QPushButton::clicked, this, &OddsFolder::cancel);
    connect(m_replayMedian, &QPushButton::clicked, this,
            [this] { Q_EMIT replayRequested(m_result.median.seed, m_settings.mode); });
    connect(m_replayBad, &QPushButton::clicked, this,
            [this] { Q_EMIT replayRequested(m_result.tenthPercentile.seed, m_settings.mode); });
    connect(help, &QPushButton::clicked, this, [this] { openHelpTopic(this, help::kOddsFolder); });
    showState();
}

OddsFolder::~OddsFolder() {
    // Stop and join before the members the worker reports to go away.
    m_worker.reset();
}

void OddsFolder::setScenario(const Scenario& scenario, const std::string& dataDir,
                             LocalDateTime now) {
    std::vector<std::uint8_t> bytes = encodeScenario(scenario);
    m_settings.dataDir = dataDir;
    m_settings.now = now;
    if (bytes == m_wantedBytes && m_scenario)
        return;
    m_wantedBytes = std::move(bytes);
    m_scenario = std::make_shared<const Scenario>(scenario);
    if (isVisible())
        start();
}

void OddsFolder::setTrials(int trials) {
    const int index = m_trials->findData(trials);
    if (index >= 0)
        m_trials->setCurrentIndex(index);
}

void OddsFolder::setMode(RandomMode mode) {
    const int index = m_mode->findData(static_cast<int>(mode));
    if (index >= 0)
        m_mode->setCurrentIndex(index);
}

void OddsFolder::setSeed(std::uint64_t seed) {
    m_seed->setText(QString::number(seed));
    if (seed == m_settings.seed)
        return;
    m_settings.seed = seed;
    settingsChanged();
}

bool OddsFolder::startAgeDollars() const {
    return m_todays->isChecked();
}

void OddsFolder::settingsChanged() {
    m_analysedBytes.clear();
    if (isVisible())
        start();
}

void OddsFolder::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_scenario && m_wantedBytes != m_analysedBytes)
        start();
}

void OddsFolder::start() {
    if (!m_scenario)
        return;
    cancel();
    // The result shown must always be that of the settings shown: none until the new one.
    m_haveResult = false;
    const int generation = ++m_generation;
    m_analysedBytes = m_wantedBytes;
    m_progress->setRange(0, m_settings.trials);
    m_progress->setValue(0);
    auto work = [this, scenario = m_scenario, settings = m_settings,
                 generation](std::stop_token stop) {
        // A progress report a percent, not one a trial, keeps the window's queue short.
        std::atomic<int> reported{-1};
        auto progress = [&](int trials) {
            const int percent = static_cast<int>(std::int64_t{trials} * 100 / settings.trials);
            if (reported.exchange(percent) != percent)
                QMetaObject::invokeMethod(
                    this, [this, generation, trials] { progressed(generation, trials); },
                    Qt::QueuedConnection);
        };
        OddsOutcome outcome = runOddsAnalysis(*scenario, settings, stop, progress);
        QMetaObject::invokeMethod(
            this, [this, generation, outcome = std::move(outcome)] { done(generation, outcome); },
            Qt::QueuedConnection);
    };
    m_worker = std::make_unique<std::jthread>(std::move(work));
    showState();
}

void OddsFolder::cancel() {
    if (!m_worker)
        return;
    m_worker.reset(); // asks the trials to stop and waits for those under way
    m_analysedBytes.clear();
    showState();
}

void OddsFolder::wait() {
    if (m_worker)
        m_worker->join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void OddsFolder::progressed(int generation, int done) {
    if (generation == m_generation && m_worker)
        m_progress->setValue(done);
}

void OddsFolder::done(int generation, const OddsOutcome& outcome) {
    if (generation != m_generation)
        return;
    m_worker.reset();
    if (outcome.status == OddsStatus::Done) {
        m_result = outcome.result;
        m_haveResult = true;
    } else if (outcome.status == OddsStatus::Failed) {
        m_haveResult = false;
    }
    showState();
    if (outcome.status == OddsStatus::Failed)
        m_detail->setText(
            QStringLiteral("The analysis stopped: %1").arg(text(outcome.failure.text)));
    m_chart->update();
    Q_EMIT finished();
}

void OddsFolder::showState() {
    const bool busy = running();
    m_progress->setVisible(busy);
    m_cancel->setVisible(busy);
    m_replayMedian->setEnabled(!busy && m_haveResult);
    m_replayBad->setEnabled(!busy && m_haveResult);
    if (busy) {
        m_probability->setText(QStringLiteral("..."));
        m_detail->setText(QStringLiteral("Running %1 trials")
                              .arg(QLocale(QLocale::English).toString(m_settings.trials)));
    } else if (m_haveResult) {
        m_probability->setText(text(oddsProbabilityText(m_result)));
        m_detail->setText(text(oddsTrialsText(m_result)));
    } else {
        m_probability->setText(QStringLiteral("-"));
        m_detail->setText(m_scenario ? QStringLiteral("Cancelled") : QString());
    }
    m_chart->update();
}

} // namespace finplan
