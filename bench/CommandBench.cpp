// Whole ledgrin-cli commands over whole tables at the format's limit (the demo archive at its
// maximum size: 65,535 Part and 65,535 Desc records), each against its floor: a command that
// writes against `set` of one record (a load and one save of Part), a command that only reads
// against `tables` (a load). The inputs are made with ledgrin-cli itself: the archive with
// every Part price raised by one, its export (a CSV that changes every price), and the diff
// of the two as a patch of 65,535 changes. Every run of a writing command starts from a
// fresh copy of the archive, made while the clock is stopped. Counters: the CPU time of the
// command alone, and its peak memory, from one more run under /usr/bin/time (a process keeps
// the peak of the one that started it, and this one holds the demo tables).
#include "bench/BenchSupport.h"
#include "bench/Comparisons.h"
#include "records/RecordHead.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace ledgrin::bench {

namespace {

namespace fs = std::filesystem;

struct Inputs {
    std::string folder, base, changed, csv, patch, work;
};

void MustRun(const std::vector<std::string>& argv) {
    if (RunProgram(argv) != 0) {
        std::fprintf(stderr, "ledgrin_bench: %s %s failed\n", argv[0].c_str(), argv[1].c_str());
        std::exit(1);
    }
}

const Inputs& CommandInputs() {
    static const Inputs inputs = [] {
        Inputs in;
        in.folder = (fs::path(BenchFolder()) / "commands").string();
        fs::create_directories(in.folder);
        in.base = in.folder + "/base.iff";
        in.changed = in.folder + "/changed.iff";
        in.csv = in.folder + "/changed.csv";
        in.patch = in.folder + "/changes.json";
        in.work = in.folder + "/tarvik_gb.iff";
        fs::copy_file(DemoArchivePath(DemoSize::Max), in.base, fs::copy_options::overwrite_existing);
        fs::copy_file(in.base, in.changed, fs::copy_options::overwrite_existing);
        MustRun({LEDGRIN_CLI_PROGRAM, "set", in.changed, "Part", "--where", "Price>=0", "Price+=1",
                 "--no-backup"});
        MustRun({LEDGRIN_CLI_PROGRAM, "export", in.changed, "Part", "-o", in.csv});
        MustRun({LEDGRIN_CLI_PROGRAM, "diff", in.base, in.changed, "--patch", in.patch});
        return in;
    }();
    return inputs;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return text.empty() ? "0" : text;
}

double ChildCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    double ms = 0;
    for (const timeval& t : {usage.ru_utime, usage.ru_stime})
        ms += static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    return ms;
}

// Runs the command once per iteration; {work} in its words is the fresh copy of the archive.
void RunCommand(benchmark::State& state, std::vector<std::string> words, bool writes) {
    const Inputs& in = CommandInputs();
    std::vector<std::string> argv = {LEDGRIN_CLI_PROGRAM};
    for (std::string& w : words)
        argv.push_back(w == "{work}" ? in.work : w == "{base}" ? in.base : std::move(w));
    double cpu = 0;
    for (auto _ : state) {
        if (writes) {
            state.PauseTiming();
            fs::copy_file(in.base, in.work, fs::copy_options::overwrite_existing);
            state.ResumeTiming();
        }
        const double before = ChildCpuMilliseconds();
        if (RunProgram(argv) != 0) state.SkipWithError(("ledgrin-cli " + argv[1] + " failed").c_str());
        cpu += ChildCpuMilliseconds() - before;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    if (writes) fs::copy_file(in.base, in.work, fs::copy_options::overwrite_existing);
    const std::string peakFile = in.folder + "/peak.txt";
    argv.insert(argv.begin(), {"/usr/bin/time", "-f", "%M", "-o", peakFile});
    if (RunProgram(argv) == 0) state.counters["peak_MB"] = std::stod(ReadText(peakFile)) / 1024; // KiB
}

// The tables' bytes at the limit, of one archive or of two (diff), as the counter peak_MB,
// for the memory comparisons.
void TablesBytes(benchmark::State& state, int archives) {
    const TableStore& store = DemoTables(DemoSize::Max);
    double bytes = 0;
    for (TableIndex t = 0; t < kTableCount; ++t)
        bytes += static_cast<double>(store[t].Records.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes);
    state.counters["peak_MB"] = archives * bytes / (1024 * 1024);
}

struct Command {
    const char* name;
    std::vector<std::string> words;
    bool writes;
    const char* floor; // "tables" or "set-one"
    double goal;
    int archives = 1; // loaded at once
};

} // namespace

void RegisterCommandBenchmarks() {
    const std::string firstPart =
        std::to_string(RecordTypeId(DemoTables(DemoSize::Max).Record(kPartTable, 0)));
    const Inputs& in = CommandInputs();
    const Command commands[] = {
        {"tables", {"tables", "{base}"}, false, nullptr, 0},
        {"set-one", {"set", "{work}", "Part", firstPart, "Price=7", "--no-backup"}, true, nullptr, 0},
        {"set-where",
         {"set", "{work}", "Part", "--where", "Price>=0", "Price+=1", "--no-backup"},
         true,
         "set-one",
         1.2},
        {"import-csv", {"import", "{work}", "Part", in.csv, "--no-backup"}, true, "set-one", 1.4},
        {"apply", {"apply", "{work}", in.patch, "--no-backup"}, true, "set-one", 1.3},
        {"apply-dry-run", {"apply", "{base}", in.patch, "--dry-run"}, false, "tables", 1.5},
        {"diff", {"diff", "{base}", in.changed}, false, "tables", 2.2, 2},
        {"export-csv", {"export", "{base}", "Part", "-o", in.folder + "/out.csv"}, false, "tables", 1.3},
        {"export-json",
         {"export", "{base}", "Part", "--format", "json", "-o", in.folder + "/out.json"},
         false,
         "tables",
         1.5},
    };
    for (int archives : {1, 2})
        benchmark::RegisterBenchmark(("command/tables-bytes-" + std::to_string(archives) + "/max").c_str(),
                                     TablesBytes, archives)
            ->Iterations(1);
    for (const Command& c : commands) {
        const std::string name = std::string("command/") + c.name + "/max";
        benchmark::RegisterBenchmark(name.c_str(), RunCommand, c.words, c.writes)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->ReportAggregatesOnly(true);
        if (c.floor)
            AddComparison(std::string(c.name) + " at the limit, against its floor", name, c.floor,
                          std::string("command/") + c.floor + "/max", c.goal);
        AddComparison(std::string("peak memory of ") + c.name + " / the tables' bytes", name,
                      c.archives == 1 ? "tables" : "both's tables",
                      "command/tables-bytes-" + std::to_string(c.archives) + "/max", 2.0, "peak_MB");
    }
}

} // namespace ledgrin::bench
