#include "bench/Comparisons.h"

#include <cstdio>
#include <ostream>
#include <unistd.h>

namespace ledgrin::bench {

namespace {

struct Comparison {
    std::string what, ours, toolLabel, tool;
    double goal;
    std::string counter;
};

std::vector<Comparison>& Comparisons() {
    static std::vector<Comparison> comparisons;
    return comparisons;
}

} // namespace

void AddComparison(const std::string& what, const std::string& ours, const std::string& toolLabel,
                   const std::string& tool, double goal, const std::string& counter) {
    Comparisons().push_back({what, ours, toolLabel, tool, goal, counter});
}

ComparisonReporter::ComparisonReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void ComparisonReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.error_occurred || !(median || single)) continue;
        const std::string& name = run.run_name.function_name;
        milliseconds_[name] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        for (const auto& [counter, value] : run.counters)
            counters_[name][counter] = value;
    }
}

void ComparisonReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    char line[400];
    out << "\nComparisons (median real time, or size; ratio = Ledgrin / tool, below 1 means Ledgrin is "
           "faster or smaller; for times, the same ratio of CPU time, children included, follows)\n";
    for (const Comparison& c : Comparisons()) {
        double ours, tool;
        if (c.counter.empty()) {
            auto o = milliseconds_.find(c.ours), t = milliseconds_.find(c.tool);
            if (o == milliseconds_.end() || t == milliseconds_.end()) continue; // filtered out
            ours = o->second, tool = t->second;
        } else {
            auto o = counters_[c.ours].find(c.counter), t = counters_[c.tool].find(c.counter);
            if (o == counters_[c.ours].end() || t == counters_[c.tool].end()) continue;
            ours = o->second, tool = t->second;
        }
        const char* unit = c.counter.empty() ? "ms" : c.counter.c_str();
        const int decimals = c.counter.empty() ? 2 : 0;
        int n = std::snprintf(line, sizeof line, "  %-58s Ledgrin %11.*f %-5s %-14s %11.*f %-5s ratio %6.3f",
                              c.what.c_str(), decimals, ours, unit, c.toolLabel.c_str(), decimals, tool, unit,
                              ours / tool);
        // The CPU time of the same runs: on a busy machine the wall clock also counts the
        // time spent waiting for a core.
        double cpuRatio = 0;
        if (c.counter.empty() && n > 0 && static_cast<std::size_t>(n) < sizeof line) {
            auto o = counters_[c.ours].find("cpu_ms"), t = counters_[c.tool].find("cpu_ms");
            if (o != counters_[c.ours].end() && t != counters_[c.tool].end() && t->second > 0) {
                cpuRatio = o->second / t->second;
                n += std::snprintf(line + n, sizeof line - n, "  (CPU %.2f vs %.2f ms, ratio %6.3f)",
                                   o->second, t->second, cpuRatio);
            }
        }
        if (c.goal > 0 && n > 0 && static_cast<std::size_t>(n) < sizeof line) {
            n += std::snprintf(line + n, sizeof line - n, "  goal <= %.2f: %s", c.goal,
                               ours / tool <= c.goal ? "met" : "MISSED");
            if (cpuRatio > 0 && n > 0 && static_cast<std::size_t>(n) < sizeof line)
                std::snprintf(line + n, sizeof line - n, " (by CPU: %s)",
                              cpuRatio <= c.goal ? "met" : "MISSED");
        }
        out << line << "\n";
    }
    out.flush();
}

} // namespace ledgrin::bench
