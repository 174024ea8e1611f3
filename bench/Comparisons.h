// Ratios between benchmarks of the same run: Ledgrin's time for a job divided by the
// standard tool's time for the same job (below 1: Ledgrin is faster).
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace ledgrin::bench {

// Prints "what: <ours> vs <toolLabel>" with both times and their ratio after the run.
void AddComparison(const std::string& what, const std::string& ours, const std::string& toolLabel,
                   const std::string& tool);

// The console output as usual, plus the table of comparisons at the end. Times are the
// median of the repetitions.
class ComparisonReporter : public benchmark::ConsoleReporter {
  public:
    // In colour only on a terminal, so a saved report is plain text.
    ComparisonReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

  private:
    std::map<std::string, double> milliseconds_; // by benchmark name
};

} // namespace ledgrin::bench
