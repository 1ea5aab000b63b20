#include "ui/calculators/SmallCalculatorDialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/help/HelpTopics.h"

namespace finplan {

namespace {

QLabel* sentencePart(QWidget* owner, const char* name = nullptr, const QString& text = {}) {
    auto* label = new QLabel(text, owner);
    if (name)
        label->setObjectName(QLatin1String(name));
    return label;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text).trimmed();
}

} // namespace

InflationDialog::InflationDialog(InflationForm& kept, Prompter& prompter, QWidget* parent)
    : CalculatorDialog(QStringLiteral("Inflation Calculator"), prompter, parent), m_kept(kept) {
    setObjectName(QStringLiteral("inflationCalculator"));
    auto* form = new QFormLayout;
    mainLayout()->addLayout(form);
    m_startAge = addField(form, "startAge", QStringLiteral("Start Age"), kept.startAge);
    m_endAge = addField(form, "endAge", QStringLiteral("End Age"), kept.endAge);
    m_amount = addField(form, "amount", QStringLiteral("Start Age Amount"), kept.amount, 14);
    m_rate = addField(form, "rate", QStringLiteral("Inflation Rate (%)"), kept.rate);
    m_inflated = addResult(form, "inflated", QStringLiteral("Inflated Amount"), kept.inflated);
    QPushButton* ok = buttons()->addButton(QDialogButtonBox::Ok);
    ok->setAutoDefault(false);
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    calculate->setDefault(true);
    setHelpTopic(help::kInflationCalculator);
    finish();
    connect(buttons(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(calculate, &QPushButton::clicked, this, &InflationDialog::calculate);
}

void InflationDialog::calculate() {
    m_kept.startAge = text(m_startAge);
    m_kept.endAge = text(m_endAge);
    m_kept.amount = text(m_amount);
    m_kept.rate = text(m_rate);
    if (passed(calculateInflation(m_kept).status()))
        showText(m_inflated, m_kept.inflated);
}

EffectiveRateDialog::EffectiveRateDialog(bool offerUse, Prompter& prompter, QWidget* parent)
    : CalculatorDialog(QStringLiteral("Calculate Effective Yearly Rate"), prompter, parent) {
    setObjectName(QStringLiteral("effectiveRateCalculator"));
    auto* form = new QFormLayout;
    mainLayout()->addLayout(form);
    m_nominal = addField(form, "nominal", QStringLiteral("Nominal Rate (%)"), {});
    auto* frame = new QGroupBox(QStringLiteral("Interest Compounded"), this);
    auto* options = new QGridLayout(frame);
    auto* group = new QButtonGroup(this);
    const auto option = [&](const char* name, const QString& text, int row) {
        auto* button = new QRadioButton(text, frame);
        button->setObjectName(QLatin1String(name));
        group->addButton(button);
        options->addWidget(button, row, 0);
        return button;
    };
    m_daily = option("daily", QStringLiteral("Daily"), 0);
    m_monthly = option("monthly", QStringLiteral("Monthly"), 1);
    m_quarterly = option("quarterly", QStringLiteral("Quarterly"), 2);
    m_semiannually = option("semiannually", QStringLiteral("Semiannually"), 3);
    m_other = option("other", QStringLiteral("Other - enter number of compoundings per year"), 4);
    m_otherPeriods = new QLineEdit(frame);
    m_otherPeriods->setObjectName(QStringLiteral("otherPeriods"));
    m_otherPeriods->setEnabled(false);
    options->addWidget(m_otherPeriods, 4, 1);
    m_monthly->setChecked(true);
    mainLayout()->addWidget(frame);
    connect(m_other, &QRadioButton::toggled, m_otherPeriods, &QLineEdit::setEnabled);
    auto* result = new QFormLayout;
    mainLayout()->addLayout(result);
    m_effective = addResult(result, "effective", QStringLiteral("Effective Yearly Rate (%)"));

    QPushButton* use = addButton("useRate", QStringLiteral("Use This Effective Yearly Rate"));
    use->setEnabled(offerUse);
    buttons()->addButton(QDialogButtonBox::Ok)->setAutoDefault(false);
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    calculate->setDefault(true);
    setHelpTopic(help::kEffectiveRate);
    finish();
    connect(buttons(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(calculate, &QPushButton::clicked, this, [this] { this->calculate(); });
    connect(use, &QPushButton::clicked, this, [this] {
        if (this->calculate()) {
            m_chosen = text(m_effective);
            done(kUseRate);
        }
    });
    m_nominal->setFocus();
}

EffectiveRateForm EffectiveRateDialog::read() const {
    EffectiveRateForm f;
    f.nominal = text(m_nominal);
    f.compounding = m_daily->isChecked()          ? Compounding::Daily
                    : m_monthly->isChecked()      ? Compounding::Monthly
                    : m_quarterly->isChecked()    ? Compounding::Quarterly
                    : m_semiannually->isChecked() ? Compounding::Semiannually
                    : m_other->isChecked()        ? Compounding::Other
                                                  : Compounding::None;
    f.otherPeriods = text(m_otherPeriods);
    return f;
}

bool EffectiveRateDialog::calculate() {
    const Result<float> rate = calculateEffectiveRate(read());
    if (!passed(rate.status()))
        return false;
    showText(m_effective, effectiveRateText(*rate));
    return true;
}

std::optional<std::string> chooseEffectiveYearlyRate(Prompter& prompter, QWidget* parent) {
    EffectiveRateDialog dialog(true, prompter, parent);
    if (dialog.exec() != EffectiveRateDialog::kUseRate)
        return std::nullopt;
    return dialog.chosen();
}

InvestmentDialog::InvestmentDialog(InvestmentForm& kept, Prompter& prompter, QWidget* parent)
    : CalculatorDialog(QStringLiteral("Taxes, Inflation and Your Investment"), prompter, parent),
      m_kept(kept) {
    setObjectName(QStringLiteral("investmentCalculator"));
    auto* form = new QFormLayout;
    mainLayout()->addLayout(form);
    m_amount = addField(form, "amount", QStringLiteral("Amount invested"), kept.amount, 14);
    m_years =
        addField(form, "years", QStringLiteral("Number of years amount is invested"), kept.years);
    m_rate =
        addField(form, "rate", QStringLiteral("Effective yearly rate of return on investment (%)"),
                 kept.rate, 14);
    auto* effective = new QPushButton(QStringLiteral("Calculate Effective Yearly Rate"), this);
    effective->setObjectName(QStringLiteral("effectiveRate"));
    effective->setAutoDefault(false);
    form->addRow(QString(), effective);
    m_taxRate = addField(form, "taxRate", QStringLiteral("Rate at which investment is taxed (%)"),
                         kept.taxRate, 14);
    m_inflationRate =
        addField(form, "inflationRate", QStringLiteral("Estimated yearly inflation rate (%)"),
                 kept.inflationRate, 14);
    auto* frame = new QGroupBox(QStringLiteral("Analysis"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_analysis = sentencePart(frame, "analysis");
    m_analysis->setWordWrap(true);
    m_analysis->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_analysis->setMinimumHeight(fontMetrics().height() * 5);
    frameLayout->addWidget(m_analysis);
    mainLayout()->addWidget(frame);

    buttons()->addButton(QDialogButtonBox::Ok)->setAutoDefault(false);
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    calculate->setDefault(true);
    setHelpTopic(help::kInvestment);
    finish();
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
    connect(buttons(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(calculate, &QPushButton::clicked, this, &InvestmentDialog::calculate);
    connect(effective, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::string> rate =
                chooseEffectiveYearlyRate(this->prompter(), this))
            showText(m_rate, *rate);
    });
}

InvestmentForm InvestmentDialog::read() const {
    InvestmentForm f;
    f.amount = text(m_amount);
    f.years = text(m_years);
    f.rate = text(m_rate);
    f.taxRate = text(m_taxRate);
    f.inflationRate = text(m_inflationRate);
    return f;
}

void InvestmentDialog::calculate() {
    m_kept = read();
    const Result<InvestmentAnalysis> a = calculateInvestment(m_kept);
    if (!passed(a.status()))
        return;
    m_analysis->setText(
        QStringLiteral("At the end of %1 years, taxed at a yearly rate of %2 your investment "
                       "will be worth %3 At a yearly inflation rate of %4 this amounts to %5 in "
                       "today's purchasing power.  It also represents a %6 effective yearly rate "
                       "of return on your investment.")
            .arg(qs(a->yearsText), qs(a->taxText), qs(a->worthText), qs(a->inflationText),
                 qs(a->realWorthText), qs(a->averageText)));
}

AcceleratedPaymentDialog::AcceleratedPaymentDialog(AcceleratedPaymentForm& kept, Prompter& prompter,
                                                   QWidget* parent)
    : CalculatorDialog(QStringLiteral("Accelerated Mortgage Payment Analysis"), prompter, parent),
      m_kept(kept) {
    setObjectName(QStringLiteral("acceleratedPayment"));
    auto* sides = new QHBoxLayout;
    mainLayout()->addLayout(sides);
    QFormLayout* existing = addFrame(sides, QStringLiteral("Existing Mortgage"), "existingFrame");
    m_amount = addField(existing, "amount", QStringLiteral("Loan Amount"), kept.amount, 14);
    m_years = addField(existing, "years", QStringLiteral("Number of Years"), kept.years);
    m_yearsLeft = addField(existing, "yearsLeft", QStringLiteral("Years Left"), kept.yearsLeft);
    m_rate = addField(existing, "rate", QStringLiteral("Rate (%)"), kept.rate);
    m_payment = addResult(existing, "payment", QStringLiteral("Monthly Payment"));
    m_totalPayments = addResult(existing, "totalPayments", QStringLiteral("Total Payments"));
    m_totalInterest = addResult(existing, "totalInterest", QStringLiteral("Total Interest"));
    QFormLayout* accelerated =
        addFrame(sides, QStringLiteral("Accelerated Payment Mortgage"), "acceleratedFrame");
    m_extra = addField(accelerated, "extra", QStringLiteral("Additional Monthly Payment"),
                       kept.extra, 14);
    m_payoffYears = addResult(accelerated, "payoffYears", QStringLiteral("Payment Years"));
    m_acceleratedPayment =
        addResult(accelerated, "acceleratedPayment", QStringLiteral("Monthly Payment"));
    m_acceleratedTotalPayments =
        addResult(accelerated, "acceleratedTotalPayments", QStringLiteral("Total Payments"));
    m_acceleratedTotalInterest =
        addResult(accelerated, "acceleratedTotalInterest", QStringLiteral("Total Interest"));
    m_savings = addResult(accelerated, "savings", QStringLiteral("Savings"));

    // The comparison reads as a sentence with the three rates to fill in.
    auto* frame = new QGroupBox(QStringLiteral("Investment Comparison"), this);
    frame->setObjectName(QStringLiteral("comparisonFrame"));
    auto* grid = new QGridLayout(frame);
    const auto rateField = [&](const char* name, const std::string& value) {
        auto* edit = new QLineEdit(qs(value), frame);
        edit->setObjectName(QLatin1String(name));
        edit->setMaximumWidth(fontMetrics().averageCharWidth() * 10);
        return edit;
    };
    m_investedExtra = sentencePart(frame, "investedExtra");
    m_investmentRate = rateField("investmentRate", kept.investmentRate);
    m_taxRate = rateField("taxRate", kept.taxRate);
    m_inflationRate = rateField("inflationRate", kept.inflationRate);
    m_investedWorth = sentencePart(frame, "investedWorth");
    m_investedYears = sentencePart(frame, "investedYears");
    grid->addWidget(m_investedExtra, 0, 0);
    grid->addWidget(
        sentencePart(frame, nullptr, QStringLiteral(" invested monthly at a yearly rate of")), 0,
        1);
    grid->addWidget(m_investmentRate, 0, 2);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" %")), 0, 3);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" and taxed at")), 1, 1);
    grid->addWidget(m_taxRate, 1, 2);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" %")), 1, 3);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" with an inflation rate of")), 2,
                    1);
    grid->addWidget(m_inflationRate, 2, 2);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" %")), 2, 3);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" would be worth ")), 3, 1);
    grid->addWidget(m_investedWorth, 3, 2, 1, 2);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral("at the end of")), 4, 1);
    grid->addWidget(m_investedYears, 4, 2);
    grid->addWidget(sentencePart(frame, nullptr, QStringLiteral(" years.")), 4, 3);
    grid->setColumnStretch(4, 1);
    mainLayout()->addWidget(frame);

    buttons()->addButton(QDialogButtonBox::Ok)->setAutoDefault(false);
    QPushButton* calculate = addButton("calculate", QStringLiteral("Calculate"));
    calculate->setDefault(true);
    setHelpTopic(help::kAcceleratedPayment);
    finish();
    connect(buttons(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(calculate, &QPushButton::clicked, this, &AcceleratedPaymentDialog::calculate);
}

AcceleratedPaymentForm AcceleratedPaymentDialog::read() const {
    AcceleratedPaymentForm f;
    f.amount = text(m_amount);
    f.years = text(m_years);
    f.yearsLeft = text(m_yearsLeft);
    f.rate = text(m_rate);
    f.extra = text(m_extra);
    f.investmentRate = text(m_investmentRate);
    f.taxRate = text(m_taxRate);
    f.inflationRate = text(m_inflationRate);
    return f;
}

void AcceleratedPaymentDialog::calculate() {
    m_kept = read();
    const Result<AcceleratedPaymentAnalysis> a = calculateAcceleratedPayment(m_kept);
    if (!passed(a.status()))
        return;
    const AcceleratedPaymentTexts t = acceleratedPaymentTexts(*a);
    showText(m_payment, t.payment);
    showText(m_totalPayments, t.totalPayments);
    showText(m_totalInterest, t.totalInterest);
    showText(m_payoffYears, t.payoffYears);
    showText(m_acceleratedPayment, t.acceleratedPayment);
    showText(m_acceleratedTotalPayments, t.acceleratedTotalPayments);
    showText(m_acceleratedTotalInterest, t.acceleratedTotalInterest);
    showText(m_savings, t.savings);
    m_investedExtra->setText(qs(t.extra));
    m_investedWorth->setText(qs(t.investedWorth));
    m_investedYears->setText(qs(t.investedYears));
}

} // namespace finplan
