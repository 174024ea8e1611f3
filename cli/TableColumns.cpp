#include "cli/TableColumns.h"

#include "cli/CliText.h"
#include "records/DescRecord.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <cstring>

namespace ledgrin::cli {

namespace {

void AddLabel(std::vector<Column>& columns, const FieldDef& field) {
    if (!field.labels) return;
    columns.push_back({std::string(field.labels->name) + "Label", ColumnKind::Label, false, &field});
}

} // namespace

// The stored fields, the Name after TypeID; then the codes kept in the TypeID, each with
// its label; then the labels of the table's own fields and of the head's.
std::vector<Column> TableColumns(TableIndex t) {
    std::vector<Column> columns;
    if (!IsValidTable(t)) return columns;
    columns.push_back({"Index", ColumnKind::Index, true, nullptr});
    for (const FieldDef& field : TableFields(t)) {
        columns.push_back({field.name, ColumnKind::Field, true, &field});
        if (IsItemTable(t) && std::strcmp(field.name, "TypeID") == 0)
            columns.push_back({"Name", ColumnKind::Name, false, nullptr});
    }
    if (IsItemTable(t)) {
        for (const FieldDef& code : TypeIdCodeFields(t)) {
            columns.push_back({code.name, ColumnKind::Code, true, &code});
            AddLabel(columns, code);
        }
        const FieldList fields = TableFields(t);
        const std::size_t head = HeadFieldCount(t);
        for (std::size_t i = head; i < fields.size(); ++i)
            AddLabel(columns, fields.begin()[i]);
        for (std::size_t i = 0; i < head; ++i)
            AddLabel(columns, fields.begin()[i]);
    }
    columns.push_back({"Description", ColumnKind::Description, false, nullptr});
    return columns;
}

std::uint32_t FieldValue(TableIndex t, const std::uint8_t* record, const char* name) {
    const FieldDef* field = FindField(t, name);
    return field ? GetField(record, *field) : 0;
}

const Column* FindColumn(const std::vector<Column>& columns, std::string_view name) {
    auto it = std::find_if(columns.begin(), columns.end(),
                           [&](const Column& c) { return NamesEqualNoCase(c.name, name); });
    return it == columns.end() ? nullptr : &*it;
}

std::string StoredDescText(const std::uint8_t* descRecord) {
    return std::string(StoredDescView(descRecord));
}

std::string_view StoredDescView(const std::uint8_t* descRecord) {
    const char* text = reinterpret_cast<const char*>(descRecord + kDescTextOffset);
    const void* nul = std::memchr(text, '\0', kDescTextSize);
    return {text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : kDescTextSize};
}

std::string DecodedText(const Column& column, const std::uint8_t* record) {
    if (column.kind == ColumnKind::Code) return Decimal(FieldCode(record, *column.field));
    const char* label = FieldLabel(record, *column.field);
    return label ? label : "";
}

std::string CellText(const TableStore& store, const DescIndex& descriptions, TableIndex t, std::size_t index,
                     const Column& column) {
    const std::uint8_t* record = store.Record(t, index);
    switch (column.kind) {
    case ColumnKind::Index: return std::to_string(index);
    case ColumnKind::Field: return Decimal(GetField(record, *column.field));
    case ColumnKind::Name: return std::string(RecordName(record));
    case ColumnKind::Code:
    case ColumnKind::Label: return DecodedText(column, record);
    case ColumnKind::Description:
        return std::string(t == kDescTable ? StoredDescView(record)
                                           : descriptions.TextOf(RecordTypeId(record)));
    }
    return {};
}

} // namespace ledgrin::cli
