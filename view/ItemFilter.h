// The item list's search, filters and sort order, as plain functions over the store.
// The window reads its filter controls into a FilterState, asks for the rows and inserts
// them; nothing here touches a control.
#pragma once

#include "archive/TableStore.h"
#include "records/Labels.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin {

// The search box is read with a 39-byte buffer: at most 38 characters take part.
constexpr std::size_t kSearchTextMax = 38;

struct FilterState {
    std::string search;    // the search box; only its first 38 characters are used
    int charFilter = -1;   // CharFilterValue of the first combo box; negative: off
    int typeFilter = -1;   // TypeFilterValue of the second combo box; negative: off
    bool shopOnly = false; // " Shop active" checked
};

// One row of a filter drop-down list: its text and item data.
struct FilterRow {
    std::string text;
    int data; // 0 for the first row; position + 1 for a label
};

// The rows a filter list holds: the first row, then each labelled code in order. Blank
// labels get no row, so the item data, not the row index, carries the code.
std::vector<FilterRow> FilterRows(const char* firstRow, const LabelList& labels);

// Whether table t filters by the first (10014) or second (10015) combo box.
bool TableHasCharFilter(TableIndex t);
bool TableHasTypeFilter(TableIndex t);

// The filter value for the item data of the selected combo row (-1 when none is
// selected, as the combo box reports it): item data - 1, times the field's scale (128 for
// Item kinds, 16 for Skin kinds); -1 for a table without that filter. Negative: off.
int CharFilterValue(TableIndex t, long itemData);
int TypeFilterValue(TableIndex t, long itemData);

// Whether record (of item table t) becomes a list row, tested in this order: Enabled
// not 0, the search text found in the Name, the char filter, the type filter, and with
// the shop filter ShopFlags bit 5 or bit 7.
bool RecordPasses(TableIndex t, const std::uint8_t* record, const FilterState& state);

// Indexes of the records of table t that pass, in index order. May throw std::bad_alloc.
std::vector<std::uint32_t> FilterRecords(const TableStore& store, TableIndex t, const FilterState& state);

// The list view's sort callback for the records a and b of table t (both below its
// RecordCount). Column 0: TypeIDs compared unsigned, +1 when a's is smaller (descending);
// any other column: the names in CompareNamesNoCase order (ascending). Negated when bit
// `column` of sortDirectionBits is set. Equal keys give 0.
int CompareListRows(const TableStore& store, TableIndex t, std::uint32_t a, std::uint32_t b, int column,
                    std::uint32_t sortDirectionBits);

// Sorts rows (record indexes) in CompareListRows order; rows with equal keys keep
// their relative order.
void SortRows(std::vector<std::uint32_t>& rows, const TableStore& store, TableIndex t, int column,
              std::uint32_t sortDirectionBits);

struct ListRowsResult {
    std::vector<std::uint32_t> rows; // record indexes, in list order
    bool ok = false;                 // false only when memory ran out (rows then empty)
};

// A whole refill: prints the filter line, then gives the rows that pass, sorted by name
// A to Z (column 1 with all direction bits clear), ready to insert in this order.
ListRowsResult ListRows(const TableStore& store, TableIndex t, const FilterState& state) noexcept;

// Column 0 text: the TypeID as a signed decimal ("%d"), so 0xFFFFFFFF shows as -1.
std::string TypeIdText(std::uint32_t typeId);

// "Filter: \"%s\" - Char: %d - Type: %d\n" with the search text as used (38 characters).
std::string FilterLine(const FilterState& state);

} // namespace ledgrin
