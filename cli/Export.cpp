#include "cli/Export.h"

#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/TableColumns.h"

namespace ledgrin::cli {

namespace {

std::string ExportCsv(const TableStore& store, TableIndex t, const std::vector<Column>& columns) {
    const DescIndex descriptions(store);
    std::string out;
    std::vector<std::string> fields;
    for (const Column& column : columns)
        fields.push_back(column.name);
    AppendCsvRecord(out, fields);
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        fields.clear();
        for (const Column& column : columns)
            fields.push_back(CellText(store, descriptions, t, i, column));
        AppendCsvRecord(out, fields);
    }
    return out;
}

std::string ExportJson(const TableStore& store, TableIndex t, const std::vector<Column>& columns) {
    const DescIndex descriptions(store);
    std::string out = "[";
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        out += i == 0 ? "\n  {" : ",\n  {";
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) out += ", ";
            AppendJsonString(out, columns[c].name);
            out += ": ";
            std::string text = CellText(store, descriptions, t, i, columns[c]);
            if (columns[c].numeric)
                out += text;
            else
                AppendJsonString(out, text);
        }
        out += '}';
    }
    out += "\n]\n";
    return out;
}

} // namespace

std::string ExportTable(const TableStore& store, TableIndex t, FileFormat format) {
    const std::vector<Column> columns = TableColumns(t);
    return format == FileFormat::Json ? ExportJson(store, t, columns) : ExportCsv(store, t, columns);
}

} // namespace ledgrin::cli
