// Producing the page images of a long usage report: what a preview of a
// large appliance list costs in time and memory.

#include "ledger/appliancetable.h"
#include "report/pagesink.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reportprinter.h"

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace pellion;

// Keeps only the sizes, as a page store that spills to disk would.
class CountingSink : public PageSink {
public:
    void startDocument() override {
        pages = 0;
        bytes = 0;
    }
    void appendPageImage(const QByteArray& page) override {
        ++pages;
        bytes += page.size();
    }
    void finishDocument(int) override {}

    int pages = 0;
    long long bytes = 0;
};

void fillTable(ApplianceTable& table, int count) {
    for (int number = 1; number <= count; ++number) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText("Appliance " + std::to_string(number));
        table.FieldNamed("voltage").AssignNumber(230);
        table.FieldNamed("amperage").AssignNumber(0.25 * number);
        table.FieldNamed("wattage").AssignNumber(57.5 * number);
        table.FieldNamed("kilowattshour").AssignNumber(0.0575 * number);
        table.FieldNamed("costhour").AssignNumber(0.0115 * number);
        table.PostRecord();
    }
}

PrinterCapabilities letterPrinter() {
    PrinterCapabilities printer;
    printer.installed = true;
    printer.offeredPapers = {letterPaperCode};
    printer.currentPaper = letterPaperCode;
    return printer;
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ReportPageImages(benchmark::State& state) {
    ApplianceTable table;
    fillTable(table, static_cast<int>(state.range(0)));
    ReportForm form(table);
    CountingSink sink;
    for (auto _ : state) {
        ReportPrinter target(letterPrinter());
        target.setPageImageDestination(sink);
        form.report().run(target);
    }
    state.counters["pages"] = sink.pages;
    state.counters["imageKiB"] = static_cast<double>(sink.bytes) / 1024;
    state.counters["peakRssKiB"] = static_cast<double>(peakMemoryKiB());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReportPageImages)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
