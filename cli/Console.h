// ledgrin-cli's two output handles, passed to every command: what a command produces goes
// to `out`, messages to `err`. Tests give it files of their own.
#pragma once

#include "archive/TableStore.h"
#include "cli/Problem.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

// What the positions of a list of problems are in: the file (or the command, for
// problems of its arguments) and, for problems of records, the table that holds them.
struct ProblemSource {
    std::string name;                  // the file's path, or the command's name
    const TableStore* store = nullptr; // Record problems: the records they name
    TableIndex table = 0;
};

class Console {
  public:
    Console(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

    void Out(std::string_view text);
    // False when what was written could not all reach the output.
    bool FlushOut();
    // A message of the tool, on a line of its own: "ledgrin-cli: MESSAGE".
    void Error(std::string_view message);
    // A line to standard error as it stands; text of whole lines as it stands.
    void ErrorLine(std::string_view line);
    void ErrorText(std::string_view lines);
    // One line per problem: "FILE:LINE: message" (":COLUMN" after the line where known),
    // "FILE: message" for the file as a whole, "ledgrin-cli: COMMAND: argument N: message",
    // or the record's heading and the message. At most 50 lines, then how many more.
    void Report(const std::vector<Problem>& problems, const ProblemSource& source);
    // The problems that stop a command before it writes, and that nothing was written.
    void Refuse(const std::vector<Problem>& problems, const ProblemSource& source);

    // Set once a write has replaced the archive: an unexpected failure after it must not
    // say that nothing was written.
    bool archiveReplaced = false;

  private:
    std::FILE* out_;
    std::FILE* err_;
};

} // namespace ledgrin::cli
