// Loading and saving a ledger of 100,000 appliances. Goals: load <= 150 ms,
// save <= 100 ms, and a load needing little memory beyond the table it fills
// (the counter extra_per_file_byte: peak heap during the load above the heap
// the loaded table keeps, per byte of file).

#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include <malloc.h>
#include <unistd.h>

namespace {

std::atomic<long long> g_heapBytes{0};
std::atomic<long long> g_heapPeak{0};

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    long long now = g_heapBytes += static_cast<long long>(malloc_usable_size(p));
    long long peak = g_heapPeak.load();
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void operator delete(void* p) noexcept {
    if (!p)
        return;
    g_heapBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

constexpr int kAppliances = 100000;

std::string benchFolder() {
    auto folder =
        std::filesystem::temp_directory_path() / ("ledgerfile_bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder.string();
}

void fill(pellion::ApplianceTable& table) {
    for (int i = 0; i < kAppliances; ++i) {
        table.StartAppend();
        double volts = i % 2 ? 230 : 120;
        double watts = 20 + i % 2400;
        double hours = (i % 240) / 10.0;
        double kwh = watts / 1000;
        table.field(0).AssignNumber(watts / volts);
        table.field(1).AssignText("Appliance " + std::to_string(i));
        table.field(2).AssignNumber(kwh * hours * 0.2);
        table.field(3).AssignNumber(kwh * 0.2);
        table.field(4).AssignNumber(hours);
        table.field(5).AssignNumber(kwh);
        table.field(6).AssignNumber(volts);
        table.field(7).AssignNumber(watts);
        table.PostRecord();
    }
}

void BM_SaveLedger(benchmark::State& state) {
    pellion::ApplianceTable table;
    fill(table);
    const std::string path = benchFolder() + "/pellion.csv";
    for (auto _ : state)
        pellion::SaveLedger(table, path);
    state.counters["file_bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_SaveLedger)->Unit(benchmark::kMillisecond);

void BM_LoadLedger(benchmark::State& state) {
    const std::string path = benchFolder() + "/pellion.csv";
    {
        pellion::ApplianceTable table;
        fill(table);
        pellion::SaveLedger(table, path);
    }
    const double fileBytes = double(std::filesystem::file_size(path));
    double extra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* table = new pellion::ApplianceTable;
        long long before = g_heapBytes.load();
        g_heapPeak = before;
        state.ResumeTiming();

        pellion::LoadLedger(*table, path);

        state.PauseTiming();
        extra = double(g_heapPeak.load() - g_heapBytes.load());
        if (table->RecordTotal() != kAppliances)
            state.SkipWithError("not every record was read");
        delete table;
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = fileBytes;
    state.counters["extra_per_file_byte"] = extra / fileBytes;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_LoadLedger)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
