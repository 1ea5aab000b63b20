#include "ui/folders/ScenarioFolder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "model/EventViews.h"
#include "model/Scenario.h"
#include "ui/folders/ScheduleRules.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/platform/Icons.h"

namespace finplan {

namespace {

// A row that starts with an age is a headline: the age, then the rest beside it. Other rows
// are an event's details, drawn indented under the headline's text.
class EventRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QString text = index.data().toString();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected
                                           ? palette.color(QPalette::Active, QPalette::Highlight)
                                           : palette.color(QPalette::Base));
        painter->setPen(selected ? QColor(Qt::white) : palette.color(QPalette::Text));
        const QFontMetrics metrics(option.font);
        const int ageWidth = metrics.horizontalAdvance(QStringLiteral("000.0 "));
        const QRect area = option.rect.adjusted(6, 0, -6, 0);
        const QString head = text.left(5);
        const bool headline = head.contains(QLatin1Char('.')) && !head.trimmed().isEmpty();
        if (headline) {
            painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, head.trimmed());
            painter->drawText(area.adjusted(ageWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              text.mid(5).trimmed());
        } else {
            const int indent = ageWidth + metrics.horizontalAdvance(QStringLiteral("    "));
            painter->drawText(area.adjusted(indent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              text.trimmed());
        }
        painter->restore();
    }
};

} // namespace

ScenarioFolder::ScenarioFolder(QWidget* parent)
    : QWidget(parent), m_list(new QListWidget(this)),
      m_delete(new QPushButton(themeIcon("edit-delete", QStyle::SP_TrashIcon),
                               QStringLiteral("Delete"), this)),
      m_schedule(new QPushButton(QStringLiteral("Payment Schedule"), this)) {
    m_list->setObjectName(QStringLiteral("eventList"));
    m_list->setItemDelegate(new EventRowDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setMinimumHeight(275);

    auto* buttons = new QHBoxLayout;
    const struct {
        QPushButton*& button;
        const char* text;
        const char* name;
        const char* icon;
        QStyle::StandardPixmap fallback;
    } kEditorButtons[] = {
        {m_add, "Add", "add", "list-add", QStyle::SP_FileDialogNewFolder},
        {m_edit, "Edit", "edit", "document-edit", QStyle::SP_FileDialogDetailedView},
        {m_copy, "Copy", "copy", "edit-copy", QStyle::SP_FileLinkIcon}};
    for (const auto& b : kEditorButtons) {
        b.button =
            new QPushButton(themeIcon(b.icon, b.fallback), QString::fromLatin1(b.text), this);
        b.button->setObjectName(QLatin1String(b.name));
        buttons->addWidget(b.button);
    }
    m_delete->setObjectName(QStringLiteral("delete"));
    m_schedule->setObjectName(QStringLiteral("paymentSchedule"));
    m_schedule->setToolTip(QStringLiteral("The yearly payments of the selected loan or mortgage"));
    buttons->insertWidget(2, m_delete);
    buttons->addWidget(m_schedule);
    buttons->addStretch();
    buttons->addWidget(new QLabel(QStringLiteral("Double click an event to edit."), this));
    auto* help = new QPushButton(themeIcon("help-contents", QStyle::SP_DialogHelpButton),
                                 QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QPushButton::clicked, this,
            [this] { openHelpTopic(this, help::kScenarioPage); });
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, &ScenarioFolder::selectionChanged);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &ScenarioFolder::selectionChanged);
    connect(m_delete, &QPushButton::clicked, this,
            [this] { Q_EMIT deleteRequested(selectedEvent()); });
    connect(m_edit, &QPushButton::clicked, this, &ScenarioFolder::editSelected);
    connect(m_copy, &QPushButton::clicked, this, [this] { Q_EMIT copyRequested(selectedEvent()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (selectedEvent() >= 0 || initialValuesSelected())
            editSelected();
    });
    connect(m_schedule, &QPushButton::clicked, this,
            [this] { Q_EMIT scheduleRequested(selectedEvent()); });
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, m_list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, m_delete, &QPushButton::click);
    selectionChanged();
}

void ScenarioFolder::selectionChanged() {
    const int event = selectedEvent();
    const FinancialEvent* e = event >= 0 ? &m_scenario->events[event] : nullptr;
    // An RMD plan belongs to its accounts' settings, not to the list.
    m_delete->setEnabled(e && e->kind != kRequiredDistribution);
    m_edit->setEnabled(e != nullptr || initialValuesSelected());
    m_copy->setEnabled(e && canCopyEvent(*e));
    m_schedule->setEnabled(e && (e->kind == kMortgage || (e->kind == kLoan && !isCreditCard(*e))));
}

void ScenarioFolder::describe(const Scenario& s, const std::vector<std::string>& rows) {
    m_scenario = &s;
    const int row = m_list->currentRow();
    m_list->clear();
    for (const std::string& text : rows)
        m_list->addItem(QString::fromStdString(text));
    // After a delete the selection stays where it was, on the rows that moved up.
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
    selectionChanged();
}

void ScenarioFolder::setAddMenu(QMenu* menu) {
    m_add->setMenu(menu);
}

bool ScenarioFolder::initialValuesSelected() const {
    return m_list->currentRow() == 0 && m_list->currentItem() &&
           m_list->currentItem()->isSelected();
}

void ScenarioFolder::editSelected() {
    if (initialValuesSelected())
        Q_EMIT initialValuesRequested();
    else
        Q_EMIT editRequested(selectedEvent());
}

int ScenarioFolder::selectedEvent() const {
    if (!m_scenario || !m_list->currentItem() || !m_list->currentItem()->isSelected())
        return -1;
    return eventOfRow(*m_scenario, m_list->currentRow());
}

} // namespace finplan
