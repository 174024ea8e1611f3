#include "CliTestSupport.h"

#include "cli/Commands.h"

namespace ledgrin::clitest {

CliRun RunCli(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = cli::RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

} // namespace ledgrin::clitest
