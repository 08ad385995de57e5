// The preview of a long appliance list as the user feels it: how long until
// page 1 is on screen, how long until the run has finished, and how much
// memory the process needs meanwhile (the page store moves to a temporary
// file, so memory must not grow with the number of pages).

#include "ledger/appliancetable.h"
#include "preview/pagestore.h"
#include "preview/pagestream.h"
#include "preview/previewarea.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"
#include "report/report.h"
#include "report/reportform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace pellion {
namespace {

void fillAppliances(ApplianceTable& table, int count) {
    for (int number = 1; number <= count; ++number) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText("Appliance " + std::to_string(number));
        table.FieldNamed("voltage").AssignNumber(230);
        table.FieldNamed("amperage").AssignNumber(0.5 + number % 13);
        table.FieldNamed("wattage").AssignNumber(230 * (0.5 + number % 13));
        table.FieldNamed("hrsday").AssignNumber(2);
        table.FieldNamed("kilowattshour").AssignNumber(0.23 * (0.5 + number % 13));
        table.FieldNamed("costhour").AssignNumber(0.046 * (0.5 + number % 13));
        table.FieldNamed("costday").AssignNumber(0.092 * (0.5 + number % 13));
        table.PostRecord();
    }
}

PrinterCapabilities letterPrinter() {
    PrinterCapabilities printer;
    printer.installed = true;
    printer.printerName = QStringLiteral("Benchmark printer");
    printer.offeredPapers = {letterPaperCode};
    printer.currentPaper = letterPaperCode;
    return printer;
}

// Kilobytes from a line of /proc/self/status ("VmHWM:", "VmRSS:").
double statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(std::strlen(key)))
                .trimmed()
                .split(' ')[0]
                .toDouble();
    }
    return 0;
}

void BM_PreviewLongList(benchmark::State& state) {
    const int appliances = static_cast<int>(state.range(0));
    ApplianceTable table;
    fillAppliances(table, appliances);
    double firstPageMs = 0;
    double runMs = 0;
    double rssGrowthKb = 0;
    int pages = 0;
    bool storeInMemory = true;
    for (auto _ : state) {
        ReportForm form(table);
        PreviewTarget target(&form.report(), letterPrinter());
        PreviewWindow window(target);
        QCoreApplication::processEvents();
        const double rssBefore = statusKilobytes("VmRSS:");
        QElapsedTimer clock;
        qint64 firstPageAt = -1;
        QObject::connect(window.previewArea(), &PreviewArea::pageAvailable, [&] {
            if (firstPageAt < 0 && window.previewArea()->pageShown())
                firstPageAt = clock.nsecsElapsed();
        });
        clock.start();
        form.report().run(target.printer());
        QCoreApplication::processEvents();
        const qint64 finishedAt = clock.nsecsElapsed();
        state.SetIterationTime(static_cast<double>(finishedAt) / 1e9);
        firstPageMs = static_cast<double>(firstPageAt) / 1e6;
        runMs = static_cast<double>(finishedAt) / 1e6;
        rssGrowthKb = statusKilobytes("VmRSS:") - rssBefore;
        pages = target.pageCount();
        storeInMemory = target.pages().stream().inMemory();
    }
    state.counters["first_page_ms"] = firstPageMs;
    state.counters["run_ms"] = runMs;
    state.counters["pages"] = pages;
    state.counters["store_in_memory"] = storeInMemory ? 1 : 0;
    state.counters["rss_growth_kb"] = rssGrowthKb;
    state.counters["peak_rss_kb"] = statusKilobytes("VmHWM:");
}
BENCHMARK(BM_PreviewLongList)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A page change reads one record, walking the chain from where the last read
// stopped; first and last are direct.
void BM_PageChange(benchmark::State& state) {
    ApplianceTable table;
    fillAppliances(table, 10000);
    ReportForm form(table);
    PreviewTarget target(&form.report(), letterPrinter());
    form.report().run(target.printer());
    const int count = target.pageCount();
    int page = 1;
    for (auto _ : state) {
        page = page * 7 % count + 1; // jumps both ways
        benchmark::DoNotOptimize(target.readPage(page));
    }
    state.counters["pages"] = count;
}
BENCHMARK(BM_PageChange)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pellion

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
