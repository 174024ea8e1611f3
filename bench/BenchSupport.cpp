#include "bench/BenchSupport.h"

#include "archive/TableLoad.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ledgrin::bench {

const BenchSize kBenchSizes[2] = {{"realistic", DemoSize::Realistic}, {"max", DemoSize::Max}};

namespace {

class Folder {
  public:
    Folder() {
        const char* tmp = std::getenv("TMPDIR");
        path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/ledgrin-bench-XXXXXX";
        if (!mkdtemp(path_.data())) {
            std::perror("ledgrin_bench: mkdtemp");
            std::exit(1);
        }
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct Demo {
    std::string path;
    TableStore tables;
};

const Demo& DemoOf(DemoSize size) {
    static std::map<DemoSize, std::unique_ptr<Demo>> demos;
    std::unique_ptr<Demo>& demo = demos[size];
    if (demo) return *demo;
    demo = std::make_unique<Demo>();
    demo->path = BenchFolder() + "/demo-" + DemoName(size) + ".iff";
    bool ok = WriteDemoArchive(demo->path, {size, 1}) == DemoResult::Done;
    TableReader reader(demo->path);
    for (TableIndex t = 0; ok && t < kTableCount; ++t)
        ok = reader.Load(demo->tables, t) == kLoaded;
    if (!ok) {
        std::fprintf(stderr, "ledgrin_bench: cannot write and load %s\n", demo->path.c_str());
        std::exit(1);
    }
    return *demo;
}

} // namespace

const char* DemoName(DemoSize size) {
    for (const BenchSize& s : kBenchSizes)
        if (s.size == size) return s.name;
    return "small";
}

const std::string& BenchFolder() {
    static const Folder folder;
    return folder.path();
}

const std::string& DemoArchivePath(DemoSize size) {
    return DemoOf(size).path;
}

const TableStore& DemoTables(DemoSize size) {
    return DemoOf(size).tables;
}

int RunProgram(const std::vector<std::string>& argv, const std::string& cwd) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid;
    int started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool CopyFileDurably(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY);
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    static std::vector<char> buffer(1 << 20);
    bool ok = in >= 0 && out >= 0;
    ssize_t n;
    while (ok && (n = read(in, buffer.data(), buffer.size())) > 0)
        ok = write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
    ok = ok && fsync(out) == 0;
    if (in >= 0) close(in);
    if (out >= 0) ok = close(out) == 0 && ok;
    return ok;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

double CpuMilliseconds() {
    double ms = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& t : {usage.ru_utime, usage.ru_stime})
            ms += static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    }
    return ms;
}

void SetCpuCounter(benchmark::State& state, double start) {
    state.counters["cpu_ms"] =
        benchmark::Counter(CpuMilliseconds() - start, benchmark::Counter::kAvgIterations);
}

} // namespace ledgrin::bench
