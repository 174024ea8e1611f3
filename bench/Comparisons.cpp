#include "bench/Comparisons.h"

#include <cstdio>
#include <ostream>
#include <unistd.h>

namespace ledgrin::bench {

namespace {

struct Comparison {
    std::string what, ours, toolLabel, tool;
};

std::vector<Comparison>& Comparisons() {
    static std::vector<Comparison> comparisons;
    return comparisons;
}

} // namespace

void AddComparison(const std::string& what, const std::string& ours, const std::string& toolLabel,
                   const std::string& tool) {
    Comparisons().push_back({what, ours, toolLabel, tool});
}

ComparisonReporter::ComparisonReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void ComparisonReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.error_occurred || !(median || single)) continue;
        milliseconds_[run.run_name.function_name] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
    }
}

void ComparisonReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    char line[256];
    out << "\nComparisons (median real time; ratio = Ledgrin / tool, below 1 means Ledgrin is faster)\n";
    for (const Comparison& c : Comparisons()) {
        auto ours = milliseconds_.find(c.ours), tool = milliseconds_.find(c.tool);
        if (ours == milliseconds_.end() || tool == milliseconds_.end()) continue; // filtered out
        std::snprintf(line, sizeof line, "  %-52s Ledgrin %9.2f ms  %-12s %9.2f ms  ratio %5.2f\n",
                      c.what.c_str(), ours->second, c.toolLabel.c_str(), tool->second,
                      ours->second / tool->second);
        out << line;
    }
    out.flush();
}

} // namespace ledgrin::bench
