#include "CliTestSupport.h"

#include "cli/Command.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace ledgrin::clitest {

namespace {

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string Contents(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        text.append(chunk, n);
    return text;
}

} // namespace

CliRun RunCli(const std::vector<std::string>& args) {
    const std::unique_ptr<std::FILE, FileClose> out(std::tmpfile()), err(std::tmpfile());
    if (!out || !err) throw std::runtime_error("no temporary file for the console");
    cli::Console console(out.get(), err.get());
    const int status = cli::RunCommandLine(args, console);
    return {status, Contents(out.get()), Contents(err.get())};
}

} // namespace ledgrin::clitest
