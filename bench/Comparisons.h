// Ratios between benchmarks of the same run: Ledgrin's figure for a job divided by the
// standard tool's figure for the same job (below 1: Ledgrin is faster, or smaller).
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace ledgrin::bench {

// Prints "what: <ours> vs <toolLabel>" with both figures and their ratio after the run:
// median real times, or, with a counter named, that counter of each (bytes). Times are
// followed by the ratio of the benchmarks' "cpu_ms" counters where both have one. A goal
// above 0 is the largest ratio wanted; the line says whether the run met it.
void AddComparison(const std::string& what, const std::string& ours, const std::string& toolLabel,
                   const std::string& tool, double goal = 0, const std::string& counter = "");

// The console output as usual, plus the table of comparisons at the end. Times are the
// median of the repetitions.
class ComparisonReporter : public benchmark::ConsoleReporter {
  public:
    // In colour only on a terminal, so a saved report is plain text.
    ComparisonReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

  private:
    std::map<std::string, double> milliseconds_;                    // by benchmark name
    std::map<std::string, std::map<std::string, double>> counters_; // by benchmark name, counter name
};

} // namespace ledgrin::bench
