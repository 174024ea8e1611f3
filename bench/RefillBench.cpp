// The item list's refill logic for the Part table: every record tested against the
// filters, the rows sorted by name. Without a search text (what start-up and a table
// switch do) and with one that keeps a good part of the rows.
#include "bench/BenchSupport.h"
#include "view/ItemFilter.h"

#include <benchmark/benchmark.h>

namespace ledgrin::bench {

namespace {

void RefillPart(benchmark::State& state, DemoSize size, const char* search) {
    const TableStore& store = DemoTables(size);
    FilterState filters;
    filters.search = search;
    std::size_t rows = 0;
    for (auto _ : state) {
        ListRowsResult result = ListRows(store, kPartTable, filters);
        if (!result.ok) state.SkipWithError("out of memory");
        rows = result.rows.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["records"] = store[kPartTable].RecordCount;
    state.counters["rows"] = static_cast<double>(rows);
}

} // namespace

void RegisterRefillBenchmarks() {
    for (const BenchSize& s : kBenchSizes) {
        for (const char* search : {"", "er"}) {
            std::string name = std::string("refill/part/") + s.name + (*search ? "/search-er" : "/all");
            benchmark::RegisterBenchmark(name.c_str(), RefillPart, s.size, search)
                ->Unit(benchmark::kMillisecond)
                ->ReportAggregatesOnly(true); // repetitions: --benchmark_repetitions
        }
    }
}

} // namespace ledgrin::bench
