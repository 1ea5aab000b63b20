#include "ui/folders/ResultsFolder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "engine/ScheduleLog.h"
#include "model/Records.h"
#include "ui/app/Prompter.h"
#include "ui/folders/ScheduleModel.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Icons.h"

namespace finplan {

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// The age a row starts with, when a digit stands in its first or second place; else -1.
int leadingAge(std::string_view line) {
    line = line.substr(0, 5);
    const bool digitFirst = !line.empty() && std::isdigit(static_cast<unsigned char>(line[0]));
    const bool digitSecond = line.size() > 1 && std::isdigit(static_cast<unsigned char>(line[1]));
    if (!digitFirst && !digitSecond)
        return -1;
    int age = 0;
    bool any = false;
    for (char c : line) {
        if (c == ' ' && !any)
            continue;
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        age = age * 10 + (c - '0');
        any = true;
    }
    return any ? age : -1;
}

} // namespace

ResultsFolder::ResultsFolder(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_model(new ScheduleModel(this)),
      m_view(new QTableView(this)), m_ageField(new QLineEdit(this)),
      m_detailed(new QCheckBox(QStringLiteral("Show detailed results"), this)),
      m_accounts(new QCheckBox(QStringLiteral("Show accounts"), this)) {
    m_view->setObjectName(QStringLiteral("scheduleList"));
    m_view->setModel(m_model);
    m_delegate = new ScheduleDelegate(m_view, m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setShowGrid(false);
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->verticalHeader()->hide();
    // Fixed row heights keep scrolling through long detailed schedules cheap.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->resizeSection(0, m_view->fontMetrics().horizontalAdvance(QStringLiteral("000.0000")));
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    m_view->setMinimumWidth(580);

    m_ageField->setObjectName(QStringLiteral("goToAge"));
    m_ageField->setMaxLength(4);
    m_ageField->setMaximumWidth(
        m_ageField->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    m_detailed->setObjectName(QStringLiteral("showDetailed"));
    m_accounts->setObjectName(QStringLiteral("showAccounts"));

    auto* top = button(QStringLiteral("Top"), "top", this);
    top->setIcon(themeIcon("go-top", QStyle::SP_ArrowUp));
    auto* bottom = button(QStringLiteral("Bottom"), "bottom", this);
    bottom->setIcon(themeIcon("go-bottom", QStyle::SP_ArrowDown));
    auto* goTo = button(QStringLiteral("Go To"), "goTo", this);
    goTo->setIcon(themeIcon("go-jump", QStyle::SP_ArrowForward));
    auto* runAgain = button(QStringLiteral("Run Again"), "runAgain", this);
    runAgain->setIcon(themeIcon("view-refresh", QStyle::SP_BrowserReload));
    auto* save = button(QStringLiteral("Save"), "saveResults", this);
    save->setIcon(themeIcon("document-save", QStyle::SP_DialogSaveButton));
    auto* randomAccounts =
        button(QStringLiteral("Run with random account rates"), "randomAccountRates", this);
    auto* randomGroups =
        button(QStringLiteral("Run with random group rates"), "randomGroupRates", this);

    auto* caption = new QLabel(QStringLiteral("Total Assets"), this);
    caption->setAlignment(Qt::AlignHCenter);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(top);
    navigation->addWidget(bottom);
    navigation->addSpacing(12);
    navigation->addWidget(goTo);
    navigation->addWidget(new QLabel(QStringLiteral("Age:"), this));
    navigation->addWidget(m_ageField);
    navigation->addStretch();
    navigation->addWidget(m_detailed);
    navigation->addWidget(m_accounts);

    auto* runs = new QHBoxLayout;
    runs->addWidget(runAgain);
    runs->addWidget(randomAccounts);
    runs->addWidget(randomGroups);
    runs->addStretch();
    runs->addWidget(save);
    auto* help = button(QStringLiteral("Help"), "help", this);
    help->setIcon(themeIcon("help-contents", QStyle::SP_DialogHelpButton));
    connect(help, &QPushButton::clicked, this, [this] { openHelpTopic(this, help::kResultsPage); });
    runs->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_view, 1);
    layout->addLayout(navigation);
    layout->addLayout(runs);

    connect(top, &QPushButton::clicked, this, [this] {
        m_place = Place::Top;
        scrollToPlace();
    });
    connect(bottom, &QPushButton::clicked, this, [this] {
        m_place = Place::Bottom;
        scrollToPlace();
    });
    connect(goTo, &QPushButton::clicked, this, &ResultsFolder::goTo);
    connect(m_ageField, &QLineEdit::returnPressed, this, &ResultsFolder::goTo);
    connect(runAgain, &QPushButton::clicked, this,
            [this] { Q_EMIT runRequested(RandomMode::Off); });
    connect(save, &QPushButton::clicked, this, [this] { Q_EMIT saveRequested(); });
    connect(randomAccounts, &QPushButton::clicked, this,
            [this] { Q_EMIT runRequested(RandomMode::Account); });
    connect(randomGroups, &QPushButton::clicked, this,
            [this] { Q_EMIT runRequested(RandomMode::Group); });
    connect(m_detailed, &QCheckBox::toggled, this,
            [this] { Q_EMIT runRequested(RandomMode::Off); });
    connect(m_accounts, &QCheckBox::toggled, this,
            [this] { Q_EMIT runRequested(RandomMode::Off); });
    connect(m_view, &QTableView::clicked, this, &ResultsFolder::rowClicked);
}

bool ResultsFolder::detailed() const {
    return m_detailed->isChecked();
}
bool ResultsFolder::showAccounts() const {
    return m_accounts->isChecked();
}

void ResultsFolder::beginRun() {
    m_log = nullptr;
    m_model->beginRun();
}

void ResultsFolder::endRun(const ScheduleLog* log, float startAge, int firstAge, int lastAge) {
    m_log = log;
    m_firstAge = firstAge;
    m_lastAge = lastAge;
    m_model->endRun(log, startAge);
    scrollToPlace();
}

void ResultsFolder::goTo() {
    if (!m_log)
        return;
    const GoToTarget target =
        goToAge(m_ageField->text().toStdString(), m_firstAge, m_lastAge, *m_log);
    switch (target.kind) {
    case GoToTarget::Kind::AgeError:
        m_prompter.notify({"Enter an age from 1 to 120.", "AGE ERROR", MessageKind::Error});
        return;
    case GoToTarget::Kind::Top:
        m_place = Place::Top;
        break;
    case GoToTarget::Kind::Bottom:
        m_place = Place::Bottom;
        break;
    case GoToTarget::Kind::Row:
        m_place = Place::Age;
        m_placeAge = m_ageField->text().trimmed().toInt();
        break;
    }
    scrollToPlace();
}

void ResultsFolder::rowClicked(const QModelIndex& index) {
    const int age = leadingAge(m_model->line(index.row()));
    if (age < m_firstAge || age > m_lastAge) {
        const int event = m_log ? m_log->tag(static_cast<std::size_t>(index.row())) : -1;
        if (event >= 0 && event < kEventSlots)
            Q_EMIT eventClicked(event);
        return;
    }
    showAge(age);
}

void ResultsFolder::showAge(int age) {
    m_selectedAge = age;
    m_ageField->setText(QString::asprintf("%3d", age));
    m_place = Place::Age;
    m_placeAge = age;
    scrollToPlace();
}

void ResultsFolder::scrollToPlace() {
    if (!m_log || m_log->size() == 0)
        return;
    switch (m_place) {
    case Place::Top:
        scrollToRow(0);
        return;
    case Place::Bottom:
        scrollToRow(static_cast<int>(m_log->size()) - 1);
        return;
    case Place::Age: {
        const int row = m_log->lineOfAge(m_placeAge);
        scrollToRow(row < 0 ? 0 : row);
        return;
    }
    }
}

void ResultsFolder::scrollToRow(int row) {
    const QModelIndex index = m_model->index(row, 0);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index, QAbstractItemView::PositionAtTop);
}

} // namespace finplan
