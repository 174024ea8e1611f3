#include "view/ItemFilter.h"

#include "records/Diagnostics.h"
#include "records/NameSearch.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>

namespace ledgrin {

namespace {

const FieldDef* CharFilterField(TableIndex t) {
    return FilterField(t, ListFilter::Char);
}
const FieldDef* TypeFilterField(TableIndex t) {
    return FilterField(t, ListFilter::Type);
}

int FilterValue(long itemData, int multiplier) {
    long long value = (static_cast<long long>(itemData) - 1) * multiplier;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string_view SearchPattern(const FilterState& state) {
    return std::string_view(state.search).substr(0, kSearchTextMax);
}

bool Matches(const FieldDef* field, int filter, const std::uint8_t* record) {
    return filter < 0 || field == nullptr || FieldCode(record, *field) == static_cast<std::uint32_t>(filter);
}

std::uint32_t RecordsIn(const TableSlot& slot, TableIndex t) {
    return static_cast<std::uint32_t>(
        std::min<std::size_t>(slot.RecordCount, slot.Records.size() / RecordSize(t)));
}

// The list's order before the direction bit: column 0 by TypeID, descending (+1 when
// the first is smaller); any other column by name, ascending.
int CompareKeys(int column, std::uint32_t typeIdA, std::string_view nameA, std::uint32_t typeIdB,
                std::string_view nameB) {
    if (column == 0) return (typeIdA < typeIdB) - (typeIdA > typeIdB);
    return CompareNamesNoCase(nameA, nameB);
}

int Directed(int raw, int column, std::uint32_t sortDirectionBits) {
    bool reversed = column >= 0 && column < 32 && ((sortDirectionBits >> column) & 1u) != 0;
    return reversed ? -raw : raw;
}

struct SortKey {
    std::string_view name;
    std::uint32_t typeId;
    std::uint32_t row;
};

// The same order as CompareListRows, with each record's name and TypeID read once rather
// than at every comparison: a refill sorts up to 65,535 rows.
void SortByKeys(std::vector<std::uint32_t>& rows, const TableStore& store, TableIndex t, int column,
                std::uint32_t sortDirectionBits) {
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (std::uint32_t row : rows) {
        const std::uint8_t* record = store.Record(t, row);
        keys.push_back({RecordName(record), RecordTypeId(record), row});
    }
    std::stable_sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        int raw = CompareKeys(column, a.typeId, a.name, b.typeId, b.name);
        return Directed(raw, column, sortDirectionBits) < 0;
    });
    for (std::size_t i = 0; i < keys.size(); ++i)
        rows[i] = keys[i].row;
}

} // namespace

std::vector<FilterRow> FilterRows(const char* firstRow, const LabelList& labels) {
    std::vector<FilterRow> rows;
    rows.push_back({firstRow, 0});
    for (int pos = 0; pos < labels.count; ++pos)
        if (const char* label = labels.At(static_cast<std::uint32_t>(pos))) rows.push_back({label, pos + 1});
    return rows;
}

bool TableHasCharFilter(TableIndex t) {
    return CharFilterField(t) != nullptr;
}

bool TableHasTypeFilter(TableIndex t) {
    return TypeFilterField(t) != nullptr;
}

// The combo row's item data is the label position + 1; the record stores position x scale.
int CharFilterValue(TableIndex t, long itemData) {
    const FieldDef* field = CharFilterField(t);
    return field ? FilterValue(itemData, field->scale) : -1;
}

int TypeFilterValue(TableIndex t, long itemData) {
    const FieldDef* field = TypeFilterField(t);
    return field ? FilterValue(itemData, field->scale) : -1;
}

namespace {

// The filter fields are looked up once per refill: a table may have 65,535 records.
bool Passes(const std::uint8_t* record, const FilterState& state, const FieldDef* charField,
            const FieldDef* typeField) {
    std::string_view pattern = SearchPattern(state);
    if (RecordEnabled(record) == 0) return false;
    if (!pattern.empty() && !FindTextNoCase(RecordName(record), pattern)) return false;
    if (!Matches(charField, state.charFilter, record)) return false;
    if (!Matches(typeField, state.typeFilter, record)) return false;
    return !state.shopOnly || (RecordShopFlags(record) & (kShopAvailable | kShopDisplayOnly)) != 0;
}

} // namespace

bool RecordPasses(TableIndex t, const std::uint8_t* record, const FilterState& state) {
    return Passes(record, state, CharFilterField(t), TypeFilterField(t));
}

std::vector<std::uint32_t> FilterRecords(const TableStore& store, TableIndex t, const FilterState& state) {
    std::vector<std::uint32_t> rows;
    if (!IsItemTable(t)) return rows;
    const FieldDef* charField = CharFilterField(t);
    const FieldDef* typeField = TypeFilterField(t);
    std::uint32_t count = RecordsIn(store[t], t);
    rows.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        if (Passes(store.Record(t, i), state, charField, typeField)) rows.push_back(i);
    return rows;
}

int CompareListRows(const TableStore& store, TableIndex t, std::uint32_t a, std::uint32_t b, int column,
                    std::uint32_t sortDirectionBits) {
    const std::uint8_t* ra = store.Record(t, a);
    const std::uint8_t* rb = store.Record(t, b);
    int raw = CompareKeys(column, RecordTypeId(ra), RecordName(ra), RecordTypeId(rb), RecordName(rb));
    return Directed(raw, column, sortDirectionBits);
}

void SortRows(std::vector<std::uint32_t>& rows, const TableStore& store, TableIndex t, int column,
              std::uint32_t sortDirectionBits) {
    try {
        SortByKeys(rows, store, t, column, sortDirectionBits);
    } catch (const std::bad_alloc&) {
        std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
            return CompareListRows(store, t, a, b, column, sortDirectionBits) < 0;
        });
    }
}

ListRowsResult ListRows(const TableStore& store, TableIndex t, const FilterState& state) noexcept {
    ListRowsResult result;
    try {
        DiagPrintf("%s", FilterLine(state).c_str());
        result.rows = FilterRecords(store, t, state);
    } catch (const std::bad_alloc&) {
        return result;
    }
    SortRows(result.rows, store, t, 1, 0);
    result.ok = true;
    return result;
}

std::string TypeIdText(std::uint32_t typeId) {
    return std::to_string(static_cast<std::int32_t>(typeId));
}

std::string FilterLine(const FilterState& state) {
    std::string_view pattern = SearchPattern(state);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "\" - Char: %d - Type: %d\n", state.charFilter, state.typeFilter);
    std::string line = "Filter: \"";
    line.append(pattern);
    line.append(numbers);
    return line;
}

} // namespace ledgrin
