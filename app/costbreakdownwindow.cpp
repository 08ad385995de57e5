#include "app/costbreakdownwindow.h"

#include "app/costbreakdownchart.h"
#include "app/mainlayout.h"
#include "engine/numberformat.h"
#include "ui/numbertext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pellion {

namespace {

const char* const noAppliancesText = "No appliances to show.";
const char* const noSharesText =
    "No shares: the appliances' costs per day do not add up to more than 0.";

QString amountText(double amount) {
    return fromNumberText(FormatNumber(currencyDisplayFormat, amount));
}

QString shareText(const BreakdownRow& row) {
    return row.percent ? fromNumberText(FormatNumber("0.0", *row.percent)) + QLatin1Char('%')
                       : QStringLiteral("\u2013");
}

QString rowLine(const BreakdownRow& row) {
    QString line = row.isOther ? QStringLiteral("Other (%1 appliances)").arg(row.applianceCount)
                               : QString::fromStdString(row.name);
    line += QStringLiteral(": %1 a day").arg(amountText(row.costPerDay));
    if (row.percent)
        line += QStringLiteral(", ") + shareText(row);
    return line;
}

QLabel* amountLabel(const char* name, const char* accessibleName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(QString::fromLatin1(accessibleName));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus); // Tab reaches it, and a screen reader reads it
    return label;
}

} // namespace

CostBreakdownWindow::CostBreakdownWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("costBreakdownWindow"));
    setWindowTitle(QStringLiteral("Cost Breakdown"));
    setModal(false);

    auto* heading = new QLabel(
        QStringLiteral("What each appliance costs a day and its share of all the appliances' "
                       "cost, dearest first."),
        this);
    heading->setWordWrap(true);

    m_chart = new CostBreakdownChart(this);
    m_figures = new QPlainTextEdit(this);
    m_figures->setObjectName(QStringLiteral("costBreakdownFigures"));
    m_figures->setAccessibleName(QStringLiteral("Cost breakdown figures"));
    m_figures->setReadOnly(true);
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_pages = new QTabWidget(this);
    m_pages->addTab(m_chart, QStringLiteral("&Chart"));
    m_pages->addTab(m_figures, QStringLiteral("&Figures"));

    m_noShares = new QLabel(QString::fromLatin1(noSharesText), this);
    m_noShares->setObjectName(QStringLiteral("noShares"));
    m_noShares->setWordWrap(true);
    m_noShares->hide();

    m_appliancesTotal = amountLabel("appliancesTotal", "All appliances", this);
    m_chargesAndDiscounts = amountLabel("chargesAndDiscounts", "Daily charges and discounts", this);
    m_dayTotal = amountLabel("dayTotal", "Day total", this);
    auto* totals = new QFormLayout;
    totals->addRow(QStringLiteral("All appliances:"), m_appliancesTotal);
    totals->addRow(QStringLiteral("Daily charges and discounts:"), m_chargesAndDiscounts);
    totals->addRow(QStringLiteral("Day total:"), m_dayTotal);
    QFont bold = m_dayTotal->font();
    bold.setBold(true);
    m_dayTotal->setFont(bold);
    totals->labelForField(m_dayTotal)->setFont(bold);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(heading);
    column->addWidget(m_pages, 1);
    column->addWidget(m_noShares);
    column->addLayout(totals);
    column->addWidget(buttons);

    resize(600, 560);
    showBreakdown();
}

void CostBreakdownWindow::showCosts(const std::vector<ApplianceCost>& appliances, double dayTotal) {
    m_breakdown = breakDownCosts(appliances, dayTotal);
    showBreakdown();
}

// Formats with the user's separators as they are now, so a change of the
// regional settings only needs this once more.
void CostBreakdownWindow::showBreakdown() {
    std::vector<CostBreakdownChart::Row> rows;
    QStringList lines;
    bool sharesShown = true;
    for (const BreakdownRow& row : m_breakdown.rows) {
        CostBreakdownChart::Row bar;
        bar.name = QString::fromStdString(row.name);
        bar.cost = amountText(row.costPerDay);
        bar.share = shareText(row);
        bar.barFraction = row.barFraction;
        bar.isOther = row.isOther;
        bar.description = rowLine(row);
        lines << bar.description;
        rows.push_back(std::move(bar));
        sharesShown = sharesShown && row.percent.has_value();
    }
    m_chart->setRows(std::move(rows));
    m_noShares->setVisible(!sharesShown);

    m_appliancesTotal->setText(amountText(m_breakdown.appliancesTotal));
    m_chargesAndDiscounts->setText(amountText(m_breakdown.chargesAndDiscounts));
    m_dayTotal->setText(amountText(m_breakdown.dayTotal));

    if (lines.isEmpty())
        lines << QString::fromLatin1(noAppliancesText);
    else
        lines.prepend(
            QStringLiteral("Cost per day of each appliance and its share, dearest first:"));
    if (!sharesShown)
        lines << QString::fromLatin1(noSharesText);
    lines << QString() << QStringLiteral("All appliances: %1 a day").arg(m_appliancesTotal->text())
          << QStringLiteral("Daily charges and discounts: %1 a day")
                 .arg(m_chargesAndDiscounts->text())
          << QStringLiteral("Day total: %1").arg(m_dayTotal->text());
    m_figures->setPlainText(lines.join(QLatin1Char('\n')));
}

QString CostBreakdownWindow::figuresText() const {
    return m_figures->toPlainText();
}

void CostBreakdownWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // After the main window has taken up the new separators.
    if (event->type() == QEvent::LocaleChange)
        QMetaObject::invokeMethod(this, &CostBreakdownWindow::showBreakdown, Qt::QueuedConnection);
}

} // namespace pellion
