// CSV as RFC 4180 writes it: comma-separated fields, CR LF after each record, and a
// field in double quotes when it holds a comma, a quote, a CR or a LF (quotes doubled).
// Bytes from 0x80 up pass through untouched in both directions.
#pragma once

#include "cli/InputRows.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

// Appends one record (its fields and the CR LF that ends it).
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);
// Appends one field, in quotes when it needs them; or writes it at p, which has room for
// CsvFieldSizeLimit(field.size()), returning the end.
void AppendCsvField(std::string& out, std::string_view field);
char* WriteCsvField(char* p, std::string_view field);
constexpr std::size_t CsvFieldSizeLimit(std::size_t bytes) {
    return 2 + 2 * bytes;
}

// Reads a whole file: the first record names the columns, every further record is a
// row. Records may end with CR LF or a bare LF; line feeds inside quotes belong to the
// field. Blank lines are skipped and a UTF-8 byte-order mark before the header is
// dropped. A record with another number of fields than the header, an unclosed quote
// or text after a closing quote is an error of its line.
InputRows ReadCsv(std::string_view text);

// ReadCsv a row at a time, for a file too large to hold as cells: the header is read
// first, then Next refills one row (keeping its strings' room) per record.
class CsvReader {
  public:
    explicit CsvReader(std::string_view text);
    ~CsvReader();
    const std::vector<InputCell>& header() const { return header_; }
    // The next well-formed row; false at the end of the file or at a malformed record.
    bool Next(InputRow& row);
    // ReadCsv's problems, complete once Next has returned false.
    std::vector<Problem>& problems() { return problems_; }

  private:
    bool ReadRecord(int& line, std::vector<InputCell>& cells, std::size_t& count);

    std::unique_ptr<class CsvScanner> scanner_;
    std::vector<InputCell> header_;
    std::vector<Problem> problems_;
    bool stopped_ = false; // at a malformed record, or with no header
};

} // namespace ledgrin::cli
