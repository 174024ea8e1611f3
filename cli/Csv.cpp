#include "cli/Csv.h"

#include <algorithm>

namespace ledgrin::cli {

// A cursor over the file that counts line feeds, so each field knows its line.
class CsvScanner {
  public:
    explicit CsvScanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    int line() const { return line_; }

    // Reads one record into the first `count` cells (texts and lines; cells beyond those
    // already there are added); false with `error` set when it is malformed.
    bool ReadRecord(std::vector<InputCell>& cells, std::size_t& count, std::string& error) {
        count = 0;
        for (;;) {
            if (count == cells.size()) cells.emplace_back();
            InputCell& cell = cells[count++];
            cell.text.clear();
            cell.at = Position::Line(line_);
            if (!ReadField(cell.text, error)) return false;
            if (AtEnd()) return true;
            char c = text_[pos_++];
            if (c == ',') continue;
            if (c == '\r') ++pos_; // ReadField stops at a CR only when a LF follows
            ++line_;
            return true;
        }
    }

    // Skips an empty line (LF or CR LF); false when the line is not empty.
    bool SkipBlankLine() {
        std::size_t length = text_[pos_] == '\n' ? 1 : text_.compare(pos_, 2, "\r\n") == 0 ? 2 : 0;
        if (length == 0) return false;
        pos_ += length;
        ++line_;
        return true;
    }

  private:
    bool AtRecordEnd() const { return text_[pos_] == '\n' || text_.compare(pos_, 2, "\r\n") == 0; }

    bool ReadField(std::string& out, std::string& error) {
        if (!AtEnd() && text_[pos_] == '"') return ReadQuoted(out, error);
        const std::size_t start = pos_;
        while (!AtEnd() && text_[pos_] != ',' && !AtRecordEnd())
            ++pos_;
        out.append(text_.data() + start, pos_ - start);
        return true;
    }

    bool ReadQuoted(std::string& out, std::string& error) {
        const int start = line_;
        ++pos_;
        for (;;) {
            // The text up to the next quote in one piece, its line feeds counted.
            const std::size_t quote = std::min(text_.find('"', pos_), text_.size());
            for (std::size_t at = pos_; (at = text_.find('\n', at)) < quote; ++at)
                ++line_;
            out.append(text_.data() + pos_, quote - pos_);
            pos_ = quote;
            if (AtEnd()) {
                error = "a quoted field starting on line " + std::to_string(start) + " has no closing quote";
                return false;
            }
            ++pos_; // the quote: doubled, or the field's end
            if (!AtEnd() && text_[pos_] == '"') {
                out += '"';
                ++pos_;
                continue;
            }
            if (AtEnd() || text_[pos_] == ',' || AtRecordEnd()) return true;
            error = "text after the closing quote of a field";
            return false;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        AppendCsvField(out, fields[i]);
    }
    out += "\r\n";
}

void AppendCsvField(std::string& out, std::string_view field) {
    const std::size_t size = out.size();
    out.resize(size + CsvFieldSizeLimit(field.size()));
    out.resize(static_cast<std::size_t>(WriteCsvField(&out[size], field) - out.data()));
}

char* WriteCsvField(char* p, std::string_view field) {
    const bool quoted = std::any_of(field.begin(), field.end(),
                                    [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (!quoted) return std::copy(field.begin(), field.end(), p);
    *p++ = '"';
    // The text up to each quote in one piece, the quote doubled.
    std::size_t from = 0;
    for (std::size_t quote; (quote = field.find('"', from)) != std::string_view::npos; from = quote + 1) {
        p = std::copy(field.begin() + from, field.begin() + quote + 1, p);
        *p++ = '"';
    }
    p = std::copy(field.begin() + from, field.end(), p);
    *p++ = '"';
    return p;
}

CsvReader::CsvReader(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    scanner_ = std::make_unique<CsvScanner>(text);
    int line = 0;
    std::size_t count = 0;
    if (!ReadRecord(line, header_, count)) {
        header_.clear();
        if (!stopped_) problems_.push_back({Position::Line(1), "the file has no header line"});
        stopped_ = true;
        return;
    }
    header_.resize(count);
    for (InputCell& cell : header_)
        cell.column = std::move(cell.text), cell.text.clear();
}

CsvReader::~CsvReader() = default;

bool CsvReader::ReadRecord(int& line, std::vector<InputCell>& cells, std::size_t& count) {
    CsvScanner& scanner = *scanner_;
    std::string error;
    while (!stopped_ && !scanner.AtEnd()) {
        if (scanner.SkipBlankLine()) continue;
        line = scanner.line();
        if (scanner.ReadRecord(cells, count, error)) return true;
        problems_.push_back({Position::Line(line), error});
        stopped_ = true;
    }
    return false;
}

bool CsvReader::Next(InputRow& row) {
    std::size_t count = 0;
    int line = 0;
    while (ReadRecord(line, row.cells, count)) {
        if (count != header_.size()) {
            problems_.push_back({Position::Line(line), "the record has " + std::to_string(count) +
                                                           " fields, the header " +
                                                           std::to_string(header_.size())});
            continue;
        }
        row.cells.resize(count);
        row.at = Position::Line(line);
        for (std::size_t i = 0; i < count; ++i)
            if (row.cells[i].column != header_[i].column) row.cells[i].column = header_[i].column;
        return true;
    }
    return false;
}

InputRows ReadCsv(std::string_view text) {
    CsvReader reader(text);
    InputRows result;
    InputRow row;
    while (reader.Next(row))
        result.rows.push_back(row);
    result.header = reader.header();
    result.problems = std::move(reader.problems());
    return result;
}

} // namespace ledgrin::cli
