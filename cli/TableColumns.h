// The columns of a table as export writes them and import reads them: the record's
// index, every named field under its name (with the Name text after TypeID), read-only
// columns decoded from the TypeID and the label lists, and the item's description.
#pragma once

#include "archive/TableStore.h"
#include "cli/RecordIndex.h"
#include "records/RecordFields.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ledgrin::cli {

enum class ColumnKind {
    Index,       // the record's index in its table; import uses it only to tell apart
                 // records that share a TypeID
    Field,       // a named numeric field of the record
    Name,        // the Name text
    Code,        // read-only: a code kept in bits of the TypeID
    Label,       // read-only: the label of a field's code
    Description, // the item's description text (Desc table)
};

struct Column {
    std::string name;
    ColumnKind kind;
    bool numeric;          // written as a JSON number
    const FieldDef* field; // Field, Code and Label: the row it shows
};

// In export order. For the Desc table: Index, TypeID and Description.
std::vector<Column> TableColumns(TableIndex t);

// The column named `name` (A to Z folded), or nullptr.
const Column* FindColumn(const std::vector<Column>& columns, std::string_view name);

// The value of the field named `name` in a record of table t; 0 when the table has none.
std::uint32_t FieldValue(TableIndex t, const std::uint8_t* record, const char* name);

// The text of a Desc record's field, up to the NUL, at most 512 bytes, line feeds as stored;
// as a copy, or as a view of the record.
std::string StoredDescText(const std::uint8_t* descRecord);
std::string_view StoredDescView(const std::uint8_t* descRecord);

// The text of a Code or Label column for a record.
std::string DecodedText(const Column& column, const std::uint8_t* record);

// The value of one column for record `index` of table t.
std::string CellText(const TableStore& store, const DescIndex& descriptions, TableIndex t, std::size_t index,
                     const Column& column);

} // namespace ledgrin::cli
