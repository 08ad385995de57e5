#pragma once

// "Cost Breakdown": a modeless window over the main window showing where the
// day's money goes. A "Chart" page draws each appliance's cost per day and
// share as bars (dearest first, the tail beyond fifteen as "Other"); a
// "Figures" page holds the same figures as plain text to read, select and
// copy; under both, the appliances' total, the daily charges and discounts,
// and the day total. The main window hands it every recalculation's costs
// while it is open; the arithmetic is engine/costbreakdown's.

#include "engine/costbreakdown.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace pellion {

class CostBreakdownChart;

class CostBreakdownWindow : public QDialog {
    Q_OBJECT

public:
    explicit CostBreakdownWindow(QWidget* owner);

    void showCosts(const std::vector<ApplianceCost>& appliances, double dayTotal);

    CostBreakdownChart* chart() const { return m_chart; }
    QString figuresText() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void showBreakdown();

    CostBreakdown m_breakdown;
    QTabWidget* m_pages = nullptr;
    CostBreakdownChart* m_chart = nullptr;
    QLabel* m_noShares = nullptr;
    QPlainTextEdit* m_figures = nullptr;
    QLabel* m_appliancesTotal = nullptr;
    QLabel* m_chargesAndDiscounts = nullptr;
    QLabel* m_dayTotal = nullptr;
};

} // namespace pellion
