// What a keystroke in a price field costs: one recalculation pass over the
// whole list, and what choosing "Sort By" Appliance costs on a large list.
#include "ledger/appliancetable.h"
#include "ledger/costpass.h"
#include "tests/ledger/englishlikecomparison.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

using pellion::ApplianceTable;

void fillTable(ApplianceTable& table, int count) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> volts(100, 250);
    std::uniform_int_distribution<int> watts(1, 3000);
    std::uniform_int_distribution<int> hours(0, 24);
    std::uniform_int_distribution<int> letter(0, 51);
    pellion::Field& name = table.FieldNamed("appliance");
    pellion::Field& voltage = table.FieldNamed("voltage");
    pellion::Field& wattage = table.FieldNamed("wattage");
    pellion::Field& hrsday = table.FieldNamed("hrsday");
    for (int i = 0; i < count; ++i) {
        std::string text;
        for (int k = 0; k < 12; ++k) {
            int l = letter(random);
            text += char(l < 26 ? 'a' + l : 'A' + l - 26);
        }
        table.StartAppend();
        name.AssignText(text);
        voltage.AssignNumber(volts(random));
        wattage.AssignNumber(watts(random));
        hrsday.AssignNumber(hours(random) / 2.0);
        table.PostRecord();
    }
}

pellion::RecalcInputs prices() {
    pellion::RecalcInputs in;
    in.pricePerKwh = 0.25;
    in.dailyCharges = 0.5;
    in.kwhDiscountOn = true;
    in.discountKwh = 5;
    in.discountPrice = 0.1;
    return in;
}

void recalcPass(benchmark::State& state, bool sortedByWattage) {
    ApplianceTable table;
    fillTable(table, int(state.range(0)));
    if (sortedByWattage)
        table.SortByFields("wattage");
    pellion::RecalcInputs in = prices();
    // Measure the steady state. The first pass derives every amperage; the
    // second rounds every wattage to amperage x voltage, which in a table sorted
    // by wattage moves almost every record once. Only from then on does a pass
    // change nothing, as it does when the user types a new price.
    pellion::Recalculate(table, in);
    pellion::Recalculate(table, in);
    for (auto _ : state) {
        pellion::RecalcResult result = pellion::Recalculate(table, in);
        benchmark::DoNotOptimize(result.dayTotal);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RecalcPassUnsorted(benchmark::State& state) {
    recalcPass(state, false);
}
void BM_RecalcPassSortedByWattage(benchmark::State& state) {
    recalcPass(state, true);
}

void sortByName(benchmark::State& state, bool collating) {
    ApplianceTable table;
    fillTable(table, int(state.range(0)));
    if (collating)
        table.setTextComparison(pellion::testing::englishLikeComparison);
    for (auto _ : state)
        table.SortByFields("appliance");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortByNameBytes(benchmark::State& state) {
    sortByName(state, false);
}
void BM_SortByNameEnglishLike(benchmark::State& state) {
    sortByName(state, true);
}

} // namespace

BENCHMARK(BM_RecalcPassUnsorted)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcPassSortedByWattage)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortByNameBytes)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByNameEnglishLike)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
