// Shared by the benchmarks: the demo archives they run on, other programs started as
// child processes, and files copied or written whole.
#pragma once

#include "archive/TableStore.h"
#include "demo/DemoArchive.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace ledgrin::bench {

// The demo sizes measured: "realistic" (3,000 Part records) and "max" (65,535 Part and
// 65,535 Desc records).
struct BenchSize {
    const char* name;
    DemoSize size;
};
extern const BenchSize kBenchSizes[2];
const char* DemoName(DemoSize size);

// A folder of this run (under $TMPDIR or /tmp, on disk as a user's archive would be),
// removed at exit.
const std::string& BenchFolder();

// The demo archive of that size, written once per run into BenchFolder().
const std::string& DemoArchivePath(DemoSize size);
// Its tables as the editor holds them after start-up.
const TableStore& DemoTables(DemoSize size);

// Runs a program with its standard output thrown away, in folder `cwd` ("" for this
// one); returns its exit status, or -1 when it could not be started or was signalled.
int RunProgram(const std::vector<std::string>& argv, const std::string& cwd = "");

// Copies the file in one pass with a 1 MiB buffer, then has the system write it to disk,
// as a save does with its new archive.
bool CopyFileDurably(const std::string& from, const std::string& to);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// CPU time, user and system, of this process and of the child processes it has waited for,
// in milliseconds. On a busy machine it varies far less than the time on the clock.
double CpuMilliseconds();

// Sets the counter "cpu_ms" to the CPU time per iteration since `start` (a CpuMilliseconds()
// taken just before the benchmark's loop).
void SetCpuCounter(benchmark::State& state, double start);

} // namespace ledgrin::bench
