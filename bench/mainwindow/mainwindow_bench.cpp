// What the user feels in the main window: start-up with a long list to the
// window shown, and one keystroke in the price field with a very long list
// (the recalculation over every appliance plus the grid's refresh).

#include "app/mainwindow.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"
#include "ui/spinfield.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// A working directory holding a ledger of `count` appliances, settings beside.
class Household {
public:
    explicit Household(int count) {
        pellion::ApplianceTable table;
        for (int i = 0; i < count; ++i) {
            table.StartAppend();
            table.FieldNamed("appliance").AssignText("Appliance " + std::to_string(i));
            table.FieldNamed("voltage").AssignText("230");
            table.FieldNamed("wattage").AssignText(std::to_string(10 + i % 2000));
            table.FieldNamed("hrsday").AssignText(std::to_string(1 + i % 24));
            table.PostRecord();
        }
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        pellion::SaveLedger(table, pellion::MainWindow::ledgerFileName);
    }
    ~Household() { QDir::setCurrent(m_previous); }
    QString appDir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

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
