#include "CliTestSupport.h"

#include "tools/cli/Commands.h"

#include <algorithm>

namespace ledgrin::clitest {

void Put(TableStore& store, TableIndex t, std::size_t index, std::size_t offset, std::size_t width,
         std::uint32_t value) {
    for (std::size_t i = 0; i < width; ++i)
        store.Record(t, index)[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

CliRun RunCli(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = cli::RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

std::vector<std::string> CliTest::Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ledgrin::clitest
