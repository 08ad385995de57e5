// What the user feels in the main window: start-up with a long list to the
// window shown, and one keystroke in the price field with a very long list
// (the recalculation over every appliance plus the grid's refresh).

#include "app/mainwindow.h"
#include "app/spinfield.h"
#include "bench/household.h"

#include <QApplication>
#include <QLineEdit>
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
