#include "cli/Csv.h"

namespace ledgrin::cli {

namespace {

struct CsvField {
    std::string text;
    int line = 0;
};
struct CsvRecord {
    int line = 0;
    std::vector<CsvField> fields;
};

// A cursor over the file that counts line feeds, so each field knows its line.
class CsvScanner {
  public:
    explicit CsvScanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    int line() const { return line_; }

    // Reads one record; false with `error` set when it is malformed.
    bool ReadRecord(CsvRecord& record, std::string& error) {
        record = CsvRecord{line_, {}};
        for (;;) {
            CsvField field{{}, line_};
            if (!ReadField(field.text, error)) return false;
            record.fields.push_back(std::move(field));
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
        while (!AtEnd() && text_[pos_] != ',' && !AtRecordEnd())
            out += text_[pos_++];
        return true;
    }

    bool ReadQuoted(std::string& out, std::string& error) {
        const int start = line_;
        ++pos_;
        for (;;) {
            if (AtEnd()) {
                error = "a quoted field starting on line " + std::to_string(start) + " has no closing quote";
                return false;
            }
            char c = text_[pos_++];
            if (c == '"') {
                if (!AtEnd() && text_[pos_] == '"') {
                    out += '"';
                    ++pos_;
                    continue;
                }
                if (AtEnd() || text_[pos_] == ',' || AtRecordEnd()) return true;
                error = "text after the closing quote of a field";
                return false;
            }
            if (c == '\n') ++line_;
            out += c;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

InputRow RowFromRecord(const CsvRecord& header, CsvRecord& record) {
    InputRow row;
    row.at = Position::Line(record.line);
    for (std::size_t i = 0; i < record.fields.size(); ++i)
        row.cells.push_back(
            {header.fields[i].text, std::move(record.fields[i].text), Position::Line(record.fields[i].line)});
    return row;
}

} // namespace

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        AppendCsvField(out, fields[i]);
    }
    out += "\r\n";
}

void AppendCsvField(std::string& out, std::string_view field) {
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    while (first < field.size() && !special(field[first]))
        ++first;
    if (first == field.size()) {
        out.append(field.data(), field.size());
        return;
    }
    // Quoted: the text up to each quote, which is doubled, goes in one append.
    out += '"';
    std::size_t from = 0;
    for (std::size_t quote = field.find('"'); quote != std::string_view::npos;
         quote = field.find('"', from)) {
        out.append(field.data() + from, quote + 1 - from);
        out += '"';
        from = quote + 1;
    }
    out.append(field.data() + from, field.size() - from);
    out += '"';
}

InputRows ReadCsv(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    InputRows result;
    CsvScanner scanner(text);
    CsvRecord header, record;
    bool haveHeader = false;
    std::string error;
    while (!scanner.AtEnd()) {
        if (scanner.SkipBlankLine()) continue;
        const int line = scanner.line();
        if (!scanner.ReadRecord(record, error)) {
            result.problems.push_back({Position::Line(line), error});
            return result;
        }
        if (!haveHeader) {
            header = std::move(record);
            haveHeader = true;
            for (const CsvField& field : header.fields)
                result.header.push_back({field.text, {}, Position::Line(field.line)});
        } else if (record.fields.size() != header.fields.size()) {
            result.problems.push_back({Position::Line(record.line),
                                       "the record has " + std::to_string(record.fields.size()) +
                                           " fields, the header " + std::to_string(header.fields.size())});
        } else {
            result.rows.push_back(RowFromRecord(header, record));
        }
    }
    if (!haveHeader) result.problems.push_back({Position::Line(1), "the file has no header line"});
    return result;
}

} // namespace ledgrin::cli
