// What was wrong with an input and where: one type for every reader, plan and check of
// the command-line tool, and one printer (Console::Report).
#pragma once

#include <string>

namespace ledgrin::cli {

// Where a value came from: a line of a file (and the byte in that line where a syntax
// error was found), a word of the command line, or a record of the table a command
// changes. Nothing: the input as a whole.
struct Position {
    enum class Kind { Nothing, Line, Argument, Record };
    Kind kind = Kind::Nothing;
    int number = 0; // the line (from 1), the word after the command's name (from 1), the record index
    int column = 0; // Line: the byte in the line, from 1; 0 when not known

    static Position Line(int line, int column = 0) { return {Kind::Line, line, column}; }
    static Position Argument(int word) { return {Kind::Argument, word, 0}; }
    static Position Record(std::size_t index) { return {Kind::Record, static_cast<int>(index), 0}; }
};

struct Problem {
    Position at;
    std::string message;
};

// "line 7", "argument 4", "record 12": a position inside a message.
std::string PositionText(const Position& at);

} // namespace ledgrin::cli
