// The Cost Breakdown window as the user meets it: opened from the main
// window's View menu over the worked example, following the recalculations
// the main window runs while it is open, and read by keyboard.

#include "mainwindowfixture.h"

#include "app/costbreakdownchart.h"
#include "app/costbreakdownwindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

using pellion::CostBreakdownChart;
using pellion::CostBreakdownWindow;

const QString workedExampleFigures =
    QStringLiteral("Cost per day of each appliance and its share, dearest first:\n"
                   "Fridge: $0.57600 a day, 74.2%\n"
                   "Kettle: $0.20000 a day, 25.8%\n"
                   "\n"
                   "All appliances: $0.77600 a day\n"
                   "Daily charges and discounts: $0.50000 a day\n"
                   "Day total: $1.27600");

class CostBreakdownTest : public MainWindowFixture {
protected:
    // Price 0.20, other daily charges 0.50, Kettle and Fridge.
    void startWithWorkedExample() {
        const QString fixture = qEnvironmentVariable("PELLION_SOURCE_DIR") +
                                QStringLiteral("/tests/e2e/fixtures/worked_example/");
        const QByteArray settings = readFile(fixture + QStringLiteral("cfgfd.ini"));
        const QByteArray ledger = readFile(fixture + QStringLiteral("pellion.csv"));
        ASSERT_FALSE(settings.isEmpty()) << fixture.toStdString();
        ASSERT_FALSE(ledger.isEmpty()) << fixture.toStdString();
        writeFile(settingsPath(), settings);
        writeFile(ledgerPath(), ledger);
        start();
    }

    // View > Cost Breakdown, clicked with the mouse.
    CostBreakdownWindow* openFromMenu() {
        QMenuBar* bar = m_window->menuBar();
        QAction* view = nullptr;
        for (QAction* top : bar->actions())
            if (top->text() == QStringLiteral("View"))
                view = top;
        EXPECT_NE(view, nullptr);
        if (!view)
            return nullptr;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(view).center());
        QMenu* menu = view->menu();
        EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        auto* item = control<QAction>("CostBreakdown1");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        auto* window = m_window->findChild<CostBreakdownWindow*>();
        EXPECT_NE(window, nullptr);
        if (window)
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    }

    static QString firstFigure(const CostBreakdownWindow& window) {
        return window.figuresText().section(QLatin1Char('\n'), 1, 1);
    }
    static QString shown(const CostBreakdownWindow& window, const char* amount) {
        return window.findChild<QLabel*>(QString::fromLatin1(amount))->text();
    }
    static QStringList chartColumn(const CostBreakdownChart& chart,
                                   QString CostBreakdownChart::Row::*column) {
        QStringList texts;
        for (const CostBreakdownChart::Row& row : chart.rows())
            texts << row.*column;
        return texts;
    }
};

TEST_F(CostBreakdownTest, OpensFromTheViewMenuAndFollowsEveryKeystrokeInThePrice) {
    startWithWorkedExample();
    CostBreakdownWindow* window = openFromMenu();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Cost Breakdown");
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->figuresText(), workedExampleFigures);
    const CostBreakdownChart& chart = *window->chart();
    EXPECT_EQ(chartColumn(chart, &CostBreakdownChart::Row::name),
              (QStringList{"Fridge", "Kettle"}));
    EXPECT_EQ(chartColumn(chart, &CostBreakdownChart::Row::cost),
              (QStringList{"$0.57600", "$0.20000"}));
    EXPECT_EQ(chartColumn(chart, &CostBreakdownChart::Row::share), (QStringList{"74.2%", "25.8%"}));
    EXPECT_DOUBLE_EQ(chart.rows()[0].barFraction, 1);
    EXPECT_NEAR(chart.rows()[1].barFraction, 0.2 / 0.576, 1e-12);

    // The main window stays in use with the breakdown open: each keystroke
    // that changes the price recalculates, and the breakdown follows it.
    m_window->activateWindow();
    pellion::SpinField* price = spin("sechgphr");
    price->setFocus();
    price->selectAll();
    struct Step {
        char key;
        const char* firstFigure;
        const char* dayTotal;
        bool noShares;
    };
    const Step steps[] = {
        // At a price of 0 nothing costs anything: equal costs keep the list's order.
        {'0', "Kettle: $0.00000 a day", "$0.50000", true},
        {'.', "Kettle: $0.00000 a day", "$0.50000", true},
        {'2', "Fridge: $0.57600 a day, 74.2%", "$1.27600", false},
        {'5', "Fridge: $0.72000 a day, 74.2%", "$1.47000", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        QTest::keyClick(price, step.key);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(firstFigure(*window), step.firstFigure);
        EXPECT_EQ(shown(*window, "dayTotal"), step.dayTotal);
        EXPECT_EQ(shown(*window, "dayTotal"), currency("cetpd")->displayText());
        EXPECT_EQ(window->findChild<QLabel*>("noShares")->isVisibleTo(window), step.noShares);
    }
    EXPECT_EQ(chartColumn(chart, &CostBreakdownChart::Row::cost),
              (QStringList{"$0.72000", "$0.25000"}));
    EXPECT_EQ(shown(*window, "appliancesTotal"), "$0.97000");
    EXPECT_EQ(shown(*window, "chargesAndDiscounts"), "$0.50000");
}

TEST_F(CostBreakdownTest, ReopenedItShowsTheRecalculationsMadeWhileClosed) {
    startWithWorkedExample();
    CostBreakdownWindow* window = openFromMenu();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // Delete Item on the first record (Kettle) recalculates.
    answer({"&Yes"});
    click("btn_first");
    click("btn_del");
    ASSERT_EQ(applianceNames(), std::vector<std::string>{"Fridge"});

    EXPECT_EQ(openFromMenu(), window); // the one window, not another
    EXPECT_EQ(m_window->findChildren<CostBreakdownWindow*>().size(), 1);
    EXPECT_EQ(window->figuresText(), QStringLiteral("Cost per day of each appliance and its "
                                                    "share, dearest first:\n"
                                                    "Fridge: $0.57600 a day, 100.0%\n"
                                                    "\n"
                                                    "All appliances: $0.57600 a day\n"
                                                    "Daily charges and discounts: $0.50000 a day\n"
                                                    "Day total: $1.07600"));
}

TEST_F(CostBreakdownTest, SixteenthAndLaterAppliancesAreGatheredAsOther) {
    start();
    // Appliance n uses n * 100 W for an hour a day at the start-up price 0.01.
    for (int n = 1; n <= 17; ++n)
        addAppliance(qPrintable(QStringLiteral("Appliance %1").arg(n)), "100", "",
                     qPrintable(QString::number(n * 100)), "1");
    click("btnupdate");
    CostBreakdownWindow* window = openFromMenu();
    ASSERT_NE(window, nullptr);

    const CostBreakdownChart& chart = *window->chart();
    ASSERT_EQ(chart.rows().size(), 16u);
    EXPECT_EQ(chart.rows().front().name, "Appliance 17");
    EXPECT_EQ(chart.rows()[14].name, "Appliance 3");
    EXPECT_EQ(chart.rows().back().name, "Other");
    EXPECT_TRUE(chart.rows().back().isOther);
    // 1 + 2 of 153 parts, at 0.001 a day for each 100 W.
    EXPECT_EQ(chart.rows().back().description, "Other (2 appliances): $0.00300 a day, 2.0%");
    EXPECT_TRUE(window->figuresText().contains("\nOther (2 appliances): $0.00300 a day, 2.0%\n"));
}

TEST_F(CostBreakdownTest, ReadByKeyboard) {
    startWithWorkedExample();
    CostBreakdownWindow* window = openFromMenu();
    ASSERT_NE(window, nullptr);
    CostBreakdownChart* chart = window->chart();
    EXPECT_FALSE(chart->accessibleName().isEmpty());
    for (const char* amount : {"appliancesTotal", "chargesAndDiscounts", "dayTotal"})
        EXPECT_FALSE(window->findChild<QLabel*>(amount)->accessibleName().isEmpty()) << amount;

    // The chart takes the focus; the arrow keys walk its rows and the current
    // row's figures are what a screen reader reads.
    EXPECT_TRUE(QTest::qWaitFor([chart] { return chart->hasFocus(); }));
    EXPECT_EQ(chart->accessibleDescription(), "Fridge: $0.57600 a day, 74.2%");
    QTest::keyClick(chart, Qt::Key_Down);
    EXPECT_EQ(chart->currentRow(), 1);
    EXPECT_EQ(chart->accessibleDescription(), "Kettle: $0.20000 a day, 25.8%");
    QTest::keyClick(chart, Qt::Key_Down); // stays on the last row
    EXPECT_EQ(chart->currentRow(), 1);
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_EQ(chart->currentRow(), 0);

    // Tab goes on to the three totals and the Close button.
    QList<QWidget*> reached;
    for (int press = 0; press < 8; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    for (const char* amount : {"appliancesTotal", "chargesAndDiscounts", "dayTotal"})
        EXPECT_TRUE(reached.contains(window->findChild<QLabel*>(amount))) << amount;
    auto* buttons = window->findChild<QDialogButtonBox*>();
    EXPECT_TRUE(reached.contains(buttons->button(QDialogButtonBox::Close)));
    chart->setFocus();

    // Alt+F turns to the figures as text.
    auto* figures = window->findChild<QPlainTextEdit*>("costBreakdownFigures");
    QTest::keyClick(chart, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(window->findChild<QTabWidget*>()->currentWidget(), figures);
    EXPECT_FALSE(figures->accessibleName().isEmpty());
    EXPECT_TRUE(figures->isReadOnly());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
