#include "cli/Console.h"

#include "cli/CliText.h"
#include "records/RecordHead.h"

namespace ledgrin::cli {

namespace {

constexpr std::size_t kMaxProblemsShown = 50;

std::string Where(const Problem& problem, const ProblemSource& source) {
    const Position& at = problem.at;
    switch (at.kind) {
    case Position::Kind::Line:
        return source.name + ":" + std::to_string(at.number) +
               (at.column > 0 ? ":" + std::to_string(at.column) : "");
    case Position::Kind::Argument:
        return "ledgrin-cli: " + source.name + ": argument " + std::to_string(at.number);
    case Position::Kind::Record: {
        const std::uint8_t* record = source.store->Record(source.table, static_cast<std::size_t>(at.number));
        return RecordHeading(source.table, static_cast<std::size_t>(at.number), RecordTypeId(record),
                             RecordName(record));
    }
    case Position::Kind::Nothing: break;
    }
    return source.name;
}

} // namespace

void Console::Out(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), out_);
}

bool Console::FlushOut() {
    return std::fflush(out_) == 0 && !std::ferror(out_);
}

void Console::Error(std::string_view message) {
    ErrorLine("ledgrin-cli: " + std::string(message));
}

void Console::ErrorLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fputc('\n', err_);
}

void Console::ErrorText(std::string_view lines) {
    std::fwrite(lines.data(), 1, lines.size(), err_);
}

void Console::Report(const std::vector<Problem>& problems, const ProblemSource& source) {
    // Every record's problem is shown: each names a record that a batch edit would change.
    const bool all = source.store != nullptr;
    for (std::size_t i = 0; i < problems.size() && (all || i < kMaxProblemsShown); ++i)
        ErrorLine(Where(problems[i], source) + ": " + problems[i].message);
    if (!all && problems.size() > kMaxProblemsShown)
        ErrorLine("... and " + std::to_string(problems.size() - kMaxProblemsShown) + " more errors");
}

void Console::Refuse(const std::vector<Problem>& problems, const ProblemSource& source) {
    Report(problems, source);
    Error("nothing was written");
}

} // namespace ledgrin::cli
