// ledgrin_bench: Google Benchmark over the demo archives at their realistic and their
// maximum size, with the comparisons against the standard tools printed at the end.
// Takes the usual --benchmark_* options (e.g. --benchmark_filter=save).
#include "bench/Comparisons.h"
#include "records/Diagnostics.h"

#include <benchmark/benchmark.h>

namespace ledgrin::bench {
void RegisterArchiveBenchmarks();
void RegisterRefillBenchmarks();
void RegisterCommandBenchmarks();
} // namespace ledgrin::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    ledgrin::bench::RegisterArchiveBenchmarks();
    ledgrin::bench::RegisterRefillBenchmarks();
    ledgrin::bench::RegisterCommandBenchmarks();

    // The loader's lines would mix with the report; the programs run as child processes
    // still print theirs (into /dev/null).
    ledgrin::QuietDiagnostics quiet;
    ledgrin::bench::ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
