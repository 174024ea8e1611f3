// Loading and saving the archive, each beside the standard tool doing the same work:
// all fourteen tables against `unzip -p` extracting the same entries in one process; a
// save of the largest table against `zip -9` replacing that entry in a copy of the archive
// (time and the archive's size after it) and against a plain copy of the archive file (one
// pass over its bytes, written to disk as a save writes its archive); and a whole
// `ledgrin-cli set` of one Part price against `zip -9` replacing Part.iff.
#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "bench/BenchSupport.h"
#include "bench/Comparisons.h"
#include "demo/ZipWriter.h"
#include "records/RecordHead.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace ledgrin::bench {

namespace {

namespace fs = std::filesystem;

void LoadAllTables(benchmark::State& state, DemoSize size) {
    const std::string& path = DemoArchivePath(size);
    const double cpu = CpuMilliseconds();
    for (auto _ : state) {
        TableStore store;
        TableReader reader(path);
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (reader.Load(store, t) != kLoaded) state.SkipWithError("a table did not load");
        benchmark::DoNotOptimize(store);
    }
    SetCpuCounter(state, cpu);
}

void UnzipAllTables(benchmark::State& state, DemoSize size) {
    std::vector<std::string> argv = {"unzip", "-p", DemoArchivePath(size)};
    for (TableIndex t = 0; t < kTableCount; ++t)
        argv.push_back(EntryName(t));
    const double cpu = CpuMilliseconds();
    for (auto _ : state)
        if (RunProgram(argv) != 0) state.SkipWithError("unzip failed");
    SetCpuCounter(state, cpu);
}

// A whole Ledgrin process that loads all fourteen tables (`ledgrin-cli tables`).
void LoadInProcessOfItsOwn(benchmark::State& state, DemoSize size) {
    std::vector<std::string> argv = {LEDGRIN_CLI_PROGRAM, "tables", DemoArchivePath(size)};
    const double cpu = CpuMilliseconds();
    for (auto _ : state)
        if (RunProgram(argv) != 0) state.SkipWithError("ledgrin-cli tables failed");
    SetCpuCounter(state, cpu);
}

TableIndex LargestTable(const TableStore& store) {
    TableIndex largest = 0;
    for (TableIndex t = 1; t < kTableCount; ++t)
        if (store[t].Records.size() > store[largest].Records.size()) largest = t;
    return largest;
}

// A folder of its own with a copy of the demo archive; returns the copy's path.
std::string CopyIntoFolder(const std::string& folderName, DemoSize size, const std::string& fileName) {
    fs::path folder = fs::path(BenchFolder()) / folderName;
    fs::create_directories(folder);
    std::string copy = (folder / fileName).string();
    fs::copy_file(DemoArchivePath(size), copy, fs::copy_options::overwrite_existing);
    return copy;
}

void SaveLargestTable(benchmark::State& state, DemoSize size) {
    const TableStore& store = DemoTables(size);
    const TableIndex t = LargestTable(store);
    std::string archive = CopyIntoFolder(std::string("save-") + DemoName(size), size, "tarvik_gb.iff");
    std::string folder = fs::path(archive).parent_path().string();
    const double cpu = CpuMilliseconds();
    for (auto _ : state)
        if (SaveTable(store, t, archive, folder) != kSaved) state.SkipWithError("the save failed");
    SetCpuCounter(state, cpu);
    state.SetLabel(EntryName(t));
    state.counters["bytes"] = static_cast<double>(fs::file_size(archive));
}

void ZipReplaceEntry(benchmark::State& state, DemoSize size, TableIndex t) {
    const TableSlot& slot = DemoTables(size)[t];
    std::string archive =
        CopyIntoFolder(std::string("zip-") + EntryName(t) + "-" + DemoName(size), size, "copy.iff");
    std::string folder = fs::path(archive).parent_path().string();
    if (!WriteFile(folder + "/" + EntryName(t),
                   TableEntryBytes(slot.RecordCount, slot.HeaderWord2, slot.Version, slot.Records)))
        state.SkipWithError("cannot write the entry file");
    const double cpu = CpuMilliseconds();
    for (auto _ : state)
        if (RunProgram({"zip", "-q", "-9", "copy.iff", EntryName(t)}, folder) != 0)
            state.SkipWithError("zip failed");
    SetCpuCounter(state, cpu);
    state.SetLabel(EntryName(t));
    state.counters["bytes"] = static_cast<double>(fs::file_size(archive));
}

void ZipReplaceLargestEntry(benchmark::State& state, DemoSize size) {
    ZipReplaceEntry(state, size, LargestTable(DemoTables(size)));
}

void ZipReplacePart(benchmark::State& state, DemoSize size) {
    ZipReplaceEntry(state, size, kPartTable);
}

// The whole `ledgrin-cli set` process changing the price of the first Part item, to one of
// two values in turn, so that every run changes the record and saves the table.
void CliSetPartPrice(benchmark::State& state, DemoSize size) {
    std::string archive = CopyIntoFolder(std::string("cli-") + DemoName(size), size, "tarvik_gb.iff");
    const std::string typeId = std::to_string(RecordTypeId(DemoTables(size).Record(kPartTable, 0)));
    int run = 0;
    const double cpu = CpuMilliseconds();
    for (auto _ : state) {
        const std::string price = ++run % 2 ? "Price=1500" : "Price=1600";
        if (RunProgram({LEDGRIN_CLI_PROGRAM, "set", archive, "Part", typeId, price, "--no-backup"}) != 0)
            state.SkipWithError("ledgrin-cli set failed");
    }
    SetCpuCounter(state, cpu);
    state.counters["bytes"] = static_cast<double>(fs::file_size(archive));
}

void CopyArchive(benchmark::State& state, DemoSize size) {
    fs::path folder = fs::path(BenchFolder()) / (std::string("copy-") + DemoName(size));
    fs::create_directories(folder);
    std::string copy = (folder / "copy.iff").string();
    const double cpu = CpuMilliseconds();
    for (auto _ : state)
        if (!CopyFileDurably(DemoArchivePath(size), copy)) state.SkipWithError("the copy failed");
    SetCpuCounter(state, cpu);
}

void Register(const std::string& name, void (*fn)(benchmark::State&, DemoSize), DemoSize size) {
    benchmark::RegisterBenchmark(name.c_str(), fn, size)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()               // the other tools' work happens in child processes
        ->ReportAggregatesOnly(true); // repetitions: --benchmark_repetitions
}

} // namespace

void RegisterArchiveBenchmarks() {
    for (const BenchSize& s : kBenchSizes) {
        std::string suffix = std::string("/") + s.name;
        Register("load/ledgrin" + suffix, LoadAllTables, s.size);
        Register("load/unzip-p" + suffix, UnzipAllTables, s.size);
        Register("load-process/ledgrin-cli" + suffix, LoadInProcessOfItsOwn, s.size);
        Register("save/ledgrin" + suffix, SaveLargestTable, s.size);
        Register("save/zip-9" + suffix, ZipReplaceLargestEntry, s.size);
        Register("save/copy" + suffix, CopyArchive, s.size);
        Register("set-process/ledgrin-cli" + suffix, CliSetPartPrice, s.size);
        Register("set-process/zip-9-part" + suffix, ZipReplacePart, s.size);

        AddComparison("load all 14 tables, " + std::string(s.name), "load/ledgrin" + suffix, "unzip -p",
                      "load/unzip-p" + suffix);
        AddComparison("load all 14 tables (whole process), " + std::string(s.name),
                      "load-process/ledgrin-cli" + suffix, "unzip -p", "load/unzip-p" + suffix, 0.4);
        AddComparison("save the largest table, " + std::string(s.name), "save/ledgrin" + suffix, "zip -9",
                      "save/zip-9" + suffix, 0.5);
        AddComparison("archive size after saving the largest table, " + std::string(s.name),
                      "save/ledgrin" + suffix, "zip -9", "save/zip-9" + suffix, 1.0, "bytes");
        AddComparison("save the largest table, " + std::string(s.name), "save/ledgrin" + suffix,
                      "copy + fsync", "save/copy" + suffix);
        AddComparison("ledgrin-cli set of a Part price (whole process), " + std::string(s.name),
                      "set-process/ledgrin-cli" + suffix, "zip -9 Part", "set-process/zip-9-part" + suffix,
                      0.6);
        AddComparison("archive size after that set, " + std::string(s.name),
                      "set-process/ledgrin-cli" + suffix, "zip -9 Part", "set-process/zip-9-part" + suffix,
                      1.0, "bytes");
    }
}

} // namespace ledgrin::bench
