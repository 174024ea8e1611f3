#include "cli/Export.h"

#include "cli/CliText.h"
#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/TableColumns.h"
#include "records/RecordHead.h"

#include <algorithm>

namespace ledgrin::cli {

namespace {

// Each cell's value as the record holds it, without a string of its own: a full table
// has millions of cells.
class CellValues {
  public:
    CellValues(const TableStore& store, TableIndex t) : store_(store), t_(t), descriptions_(store) {}

    // True with a numeric column's number, false with a text column's bytes.
    bool Value(const Column& column, std::size_t index, std::uint64_t& number, std::string_view& text) const {
        const std::uint8_t* record = store_.Record(t_, index);
        switch (column.kind) {
        case ColumnKind::Index: number = index; return true;
        case ColumnKind::Field: number = GetField(record, *column.field); return true;
        case ColumnKind::Code: number = FieldCode(record, *column.field); return true;
        case ColumnKind::Name: text = RecordName(record); return false;
        case ColumnKind::Label: {
            const char* label = FieldLabel(record, *column.field);
            text = label ? label : "";
            return false;
        }
        case ColumnKind::Description:
            text = t_ == kDescTable ? StoredDescView(record) : descriptions_.TextOf(RecordTypeId(record));
            return false;
        }
        return false;
    }

  private:
    const TableStore& store_;
    TableIndex t_;
    DescIndex descriptions_;
};

// Each record is written straight into the output, within a bound computed first: what
// stands before each cell, numbers of at most 20 digits, and its texts escaped at worst.
template <typename WriteText>
void ExportRecords(const TableStore& store, TableIndex t, const std::vector<Column>& columns,
                   const std::vector<std::string>& before, std::string_view first, std::string_view next,
                   std::string_view end, std::size_t (*textLimit)(std::size_t), WriteText writeText,
                   BlockWriter& out) {
    const CellValues cells(store, t);
    std::size_t fixed = std::max(first.size(), next.size()) + end.size();
    for (std::size_t c = 0; c < columns.size(); ++c)
        fixed += before[c].size() + kDecimalSizeLimit;
    std::vector<std::uint64_t> numbers(columns.size());
    std::vector<std::string_view> texts(columns.size());
    std::vector<bool> numeric(columns.size());
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        std::size_t limit = fixed;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            numeric[c] = cells.Value(columns[c], i, numbers[c], texts[c]);
            if (!numeric[c]) limit += textLimit(texts[c].size());
        }
        char* p = out.Room(limit);
        const std::string_view opening = i == 0 ? first : next;
        p = std::copy(opening.begin(), opening.end(), p);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            p = std::copy(before[c].begin(), before[c].end(), p);
            p = numeric[c] ? WriteDecimal(p, numbers[c]) : writeText(p, texts[c]);
        }
        p = std::copy(end.begin(), end.end(), p);
        out.Wrote(p);
        out.Written();
    }
}

void ExportCsv(const TableStore& store, TableIndex t, const std::vector<Column>& columns, BlockWriter& out) {
    std::vector<std::string> names;
    for (const Column& column : columns)
        names.push_back(column.name);
    std::string header;
    AppendCsvRecord(header, names);
    out.Append(header);
    // Between cells the comma stands where the JSON export has a member's name.
    for (std::size_t c = 0; c < columns.size(); ++c)
        names[c] = c > 0 ? "," : "";
    ExportRecords(store, t, columns, names, "", "", "\r\n", CsvFieldSizeLimit, WriteCsvField, out);
}

void ExportJson(const TableStore& store, TableIndex t, const std::vector<Column>& columns, BlockWriter& out) {
    // Each member's name as it is written, with the separator before it.
    std::vector<std::string> names;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::string& name = names.emplace_back(c > 0 ? ", " : "");
        AppendJsonString(name, columns[c].name);
        name += ": ";
    }
    out.Append("[");
    ExportRecords(
        store, t, columns, names, "\n  {", ",\n  {", "}", QuotedSizeLimit,
        [](char* p, std::string_view text) { return WriteQuoted(p, text, QuoteStyle::Json); }, out);
    out.Append("\n]\n");
}

} // namespace

void ExportTable(const TableStore& store, TableIndex t, FileFormat format, BlockWriter& out) {
    const std::vector<Column> columns = TableColumns(t);
    if (format == FileFormat::Json)
        ExportJson(store, t, columns, out);
    else
        ExportCsv(store, t, columns, out);
}

} // namespace ledgrin::cli
