// CSV as RFC 4180 writes it: comma-separated fields, CR LF after each record, and a
// field in double quotes when it holds a comma, a quote, a CR or a LF (quotes doubled).
// Bytes from 0x80 up pass through untouched in both directions.
#pragma once

#include "cli/InputRows.h"

#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

// Appends one record (its fields and the CR LF that ends it).
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);
// Appends one field, in quotes when it needs them.
void AppendCsvField(std::string& out, std::string_view field);

// Reads a whole file: the first record names the columns, every further record is a
// row. Records may end with CR LF or a bare LF; line feeds inside quotes belong to the
// field. Blank lines are skipped and a UTF-8 byte-order mark before the header is
// dropped. A record with another number of fields than the header, an unclosed quote
// or text after a closing quote is an error of its line.
InputRows ReadCsv(std::string_view text);

} // namespace ledgrin::cli
