// Rows read from an import file (or from the arguments of `set`, or made by `set --where`),
// before they are matched to records: every cell keeps where it came from, for messages.
#pragma once

#include "cli/Problem.h"

#include <string>
#include <vector>

namespace ledgrin::cli {

struct InputCell {
    std::string column; // as written in the file's header or object key
    std::string text;   // the value's bytes, unescaped
    Position at;        // where the value starts
};

struct InputRow {
    Position at; // where the row starts
    std::vector<InputCell> cells;
};

struct InputRows {
    std::vector<InputCell> header; // a CSV file's column names (as cells with no text)
    std::vector<InputRow> rows;
    std::vector<Problem> problems; // non-empty: the file could not be read as a whole
};

} // namespace ledgrin::cli
