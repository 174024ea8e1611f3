// The JSON of export and import: an array of flat objects whose values are strings or
// unsigned numbers. Text stays byte-faithful and the file pure ASCII: each byte from
// 0x80 up is written as \u0080 to \u00FF and read back as that one byte.
#pragma once

#include "tools/cli/InputRows.h"

#include <string>
#include <string_view>

namespace ledgrin::cli {

// Appends bytes as a JSON string literal, quotes included.
void AppendJsonString(std::string& out, std::string_view bytes);

// Reads an array of objects; every member becomes a cell of its object's row (a number
// keeps its text, so the importer decides whether it fits). Nested values, true, false,
// null, a \u escape above \u00FF and any syntax error are errors of their line; reading
// stops at the first.
InputRows ReadJson(std::string_view text);

} // namespace ledgrin::cli
