// What the user feels in the main window: start-up with a long list to the
// window shown, one keystroke in the price field with a very long list (the
// recalculation over every appliance plus the grid's refresh), also with the
// Cost Breakdown window open beside it, and a click on Save (settings and
// ledger, each put in place safely, in a working folder that also holds many
// other files the save looks through for leftovers).

#include "app/costbreakdownchart.h"
#include "app/costbreakdownwindow.h"
#include "app/mainwindow.h"
#include "bench/household.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"
#include "ui/spinfield.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using pellion::bench::Household;

void BM_StartUpToWindowShown(benchmark::State& state) {
    Household household(int(state.range(0)));
    for (auto _ : state) {
        pellion::MainWindow window({household.appDir()});
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            state.SkipWithError("window not shown");
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartUpToWindowShown)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_PriceKeystroke(benchmark::State& state) {
    Household household(int(state.range(0)));
    pellion::MainWindow window({household.appDir()});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not shown");
    auto* price = window.findChild<pellion::SpinField*>("sechgphr");
    price->setFocus();
    price->end(false);
    bool typeDigit = true;
    for (auto _ : state) {
        // Typing a digit and taking it back: each changes the text once.
        QTest::keyClick(price, typeDigit ? Qt::Key_5 : Qt::Key_Backspace);
        QApplication::processEvents(); // the grid and the fields repaint
        typeDigit = !typeDigit;
    }
    // The pass really went over the whole list: every record was costed.
    state.counters["appliances"] = window.table().RecordTotal();
    state.counters["kWh/day"] = window.findChild<QLineEdit*>("eb_dailyusage")->text().toDouble();
}
BENCHMARK(BM_PriceKeystroke)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same keystroke with View > Cost Breakdown open: the breakdown window
// sorts out the dearest appliances and redraws its bars on every one.
void BM_PriceKeystrokeWithBreakdownOpen(benchmark::State& state) {
    Household household(int(state.range(0)));
    pellion::MainWindow window({household.appDir()});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not shown");
    window.findChild<QAction*>("CostBreakdown1")->trigger();
    auto* breakdown = window.findChild<pellion::CostBreakdownWindow*>();
    if (!breakdown || !QTest::qWaitForWindowExposed(breakdown))
        state.SkipWithError("breakdown not shown");
    auto* price = window.findChild<pellion::SpinField*>("sechgphr");
    price->setFocus();
    price->end(false);
    bool typeDigit = true;
    for (auto _ : state) {
        QTest::keyClick(price, typeDigit ? Qt::Key_5 : Qt::Key_Backspace);
        QApplication::processEvents(); // both windows repaint
        typeDigit = !typeDigit;
    }
    state.counters["bars"] = double(breakdown->chart()->rows().size());
}
BENCHMARK(BM_PriceKeystrokeWithBreakdownOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveClicked(benchmark::State& state) {
    Household household(int(state.range(0)));
    for (int i = 0; i < state.range(1); ++i)
        QFile(QStringLiteral("other file %1.txt").arg(i)).open(QIODevice::WriteOnly);
    pellion::MainWindow window({household.appDir()});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not shown");
    auto* save = window.findChild<QPushButton*>("btnSave");
    for (auto _ : state) {
        QTest::mouseClick(save, Qt::LeftButton);
        if (!window.saved())
            state.SkipWithError("not saved");
    }
    state.counters["ledger_bytes"] =
        double(QFileInfo(QString::fromLatin1(pellion::MainWindow::ledgerFileName)).size());
}
BENCHMARK(BM_SaveClicked)
    ->Args({1000, 0})
    ->Args({1000, 5000})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace
