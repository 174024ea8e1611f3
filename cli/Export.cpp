#include "cli/Export.h"

#include "cli/CliText.h"
#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/TableColumns.h"
#include "records/RecordHead.h"

namespace ledgrin::cli {

namespace {

// Each cell is appended straight to the output: a full table has millions of them.
class CellWriter {
  public:
    CellWriter(const TableStore& store, TableIndex t) : store_(store), t_(t), descriptions_(store) {}

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

void ExportCsv(const TableStore& store, TableIndex t, const std::vector<Column>& columns, BlockWriter& out) {
    std::vector<std::string> names;
    for (const Column& column : columns)
        names.push_back(column.name);
    AppendCsvRecord(out.text(), names);
    const CellWriter cells(store, t);
    std::uint64_t number = 0;
    std::string_view text;
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        std::string& line = out.text();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) line += ',';
            if (cells.Value(columns[c], i, number, text))
                AppendDecimal(line, number);
            else
                AppendCsvField(line, text);
        }
        line += "\r\n";
        out.Written();
    }
}

void ExportJson(const TableStore& store, TableIndex t, const std::vector<Column>& columns, BlockWriter& out) {
    // Each member's name as it is written, with the separator before it.
    std::vector<std::string> names;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::string& name = names.emplace_back(c > 0 ? ", " : "");
        AppendJsonString(name, columns[c].name);
        name += ": ";
    }
    const CellWriter cells(store, t);
    std::uint64_t number = 0;
    std::string_view text;
    out.text() += "[";
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        std::string& line = out.text();
        line += i == 0 ? "\n  {" : ",\n  {";
        for (std::size_t c = 0; c < columns.size(); ++c) {
            line += names[c];
            if (cells.Value(columns[c], i, number, text))
                AppendDecimal(line, number);
            else
                AppendJsonString(line, text);
        }
        line += '}';
        out.Written();
    }
    out.text() += "\n]\n";
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
