// Rows read from an import file (or from the arguments of `set`), before they are
// matched to records: every cell keeps the line it came from, for error messages.
#pragma once

#include <string>
#include <vector>

namespace ledgrin::cli {

struct InputCell {
    std::string column; // as written in the file's header or object key
    std::string text;   // the value's bytes, unescaped
    int line = 0;       // where the value starts (for `set`: the argument's position)
};

struct InputRow {
    int line = 0; // where the row starts
    std::vector<InputCell> cells;
};

struct InputError {
    int line = 0;
    std::string message;
    int column = 0; // where a syntax error was found in its line; 0: not known
};

struct InputRows {
    std::vector<InputCell> header; // a CSV file's column names (as cells with no text)
    std::vector<InputRow> rows;
    std::vector<InputError> errors; // non-empty: the file could not be read as a whole
};

} // namespace ledgrin::cli
