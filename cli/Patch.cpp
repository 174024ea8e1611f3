#include "cli/Patch.h"

#include "cli/PatchTargets.h"

#include "cli/CliText.h"
#include "cli/Json.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace ledgrin::cli {

namespace {

constexpr std::uint32_t kVersion = 2; // written; 1 is still read

std::string BareName(TableIndex t) {
    const std::string entry = EntryName(t);
    return entry.substr(0, entry.size() - 4); // without ".iff"
}

std::vector<std::uint8_t> RecordBytes(const TableStore& store, TableIndex t, std::size_t index) {
    const std::uint8_t* record = store.Record(t, index);
    return {record, record + RecordSize(t)};
}

// Every TypeID an item of either store holds.
std::unordered_set<std::uint32_t> ItemTypeIds(const TableStore& a, const TableStore& b) {
    std::unordered_set<std::uint32_t> ids;
    for (const TableStore* store : {&a, &b})
        for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
            for (std::size_t i = 0; i < (*store)[t].RecordCount; ++i)
                ids.insert(RecordTypeId(store->Record(t, i)));
    return ids;
}

void CompareItems(const TableStore& a, const TableStore& b, TableIndex t, const DescIndex& descB,
                  Patch& patch) {
    const RecordPairs pairs = PairByTypeId(a, b, t);
    for (std::size_t i = 0; i < a[t].RecordCount; ++i) {
        const std::uint8_t* ra = a.Record(t, i);
        const std::uint32_t id = RecordTypeId(ra);
        if (pairs.partner[i] == RecordPairs::kUnpaired) {
            patch.removed.push_back({BareName(t), id, std::string(RecordName(ra))});
            continue;
        }
        const std::uint8_t* rb = b.Record(t, pairs.partner[i]);
        if (RecordName(ra) != RecordName(rb))
            patch.changes.push_back({BareName(t), id, "Name", Text(RecordName(ra)), Text(RecordName(rb))});
        for (const FieldDef& field : TableFields(t))
            if (GetField(ra, field) != GetField(rb, field))
                patch.changes.push_back(
                    {BareName(t), id, field.name, Number(GetField(ra, field)), Number(GetField(rb, field))});
    }
    for (std::size_t j : pairs.onlyB) {
        const std::uint32_t id = RecordTypeId(b.Record(t, j));
        PatchAdded& added = patch.added.emplace_back();
        added = {BareName(t), id, std::string(RecordName(b.Record(t, j))), RecordBytes(b, t, j),
                 std::nullopt};
        if (descB.Find(id) != kNoDescription) added.description = std::string(descB.TextOf(id));
    }
}

// Descriptions as items show them: each TypeID's first Desc record. A new item's
// description travels with the item; one no item holds in either store travels whole.
void CompareDescriptions(const TableStore& a, const TableStore& b, const DescIndex& inA, const DescIndex& inB,
                         const std::unordered_set<std::uint32_t>& addedItems, Patch& patch) {
    const std::unordered_set<std::uint32_t> items = ItemTypeIds(a, b);
    for (std::size_t j = 0; j < b[kDescTable].RecordCount; ++j) {
        const std::uint32_t id = TypeIdOf(kDescTable, b.Record(kDescTable, j));
        if (inB.Find(id) != j || addedItems.count(id)) continue;
        const std::string newText = StoredDescText(b.Record(kDescTable, j));
        const std::size_t i = inA.Find(id);
        if (i == kNoDescription && !items.count(id))
            patch.added.push_back({"Desc", id, newText, RecordBytes(b, kDescTable, j), std::nullopt});
        else if (i == kNoDescription)
            patch.changes.push_back({"Desc", id, "Description", PatchValue{}, Text(newText)});
        else if (std::string oldText = StoredDescText(a.Record(kDescTable, i)); oldText != newText)
            patch.changes.push_back({"Desc", id, "Description", Text(oldText), Text(newText)});
    }
    for (std::size_t i = 0; i < a[kDescTable].RecordCount; ++i) {
        const std::uint32_t id = TypeIdOf(kDescTable, a.Record(kDescTable, i));
        if (inA.Find(id) == i && inB.Find(id) == kNoDescription)
            patch.removed.push_back({"Desc", id, StoredDescText(a.Record(kDescTable, i))});
    }
}

std::string HexText(const std::vector<std::uint8_t>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

void AppendValue(std::string& out, const PatchValue& value) {
    if (value.kind == PatchValue::Null) out += "null";
    if (value.kind == PatchValue::Number) out += Decimal(value.number);
    if (value.kind == PatchValue::Text) AppendJsonString(out, value.text);
}

} // namespace

PatchValue Number(std::uint32_t n) {
    return {PatchValue::Number, n, {}};
}

PatchValue Text(std::string_view text) {
    return {PatchValue::Text, 0, std::string(text)};
}

namespace {

// What a change's table and field name, as Resolve finds them before it checks the values.
struct NamedTarget {
    std::optional<TableIndex> table;
    Target target = Target::None;
    const FieldDef* field = nullptr;
};

NamedTarget FindNamedTarget(const std::string& table, const std::string& field) {
    // Built once per table: a patch may hold a change for every record of a full table.
    static const std::array<std::vector<Column>, kTableCount> kColumns = [] {
        std::array<std::vector<Column>, kTableCount> all;
        for (TableIndex u = 0; u < kTableCount; ++u)
            all[u] = TableColumns(u);
        return all;
    }();
    // A patch names the same table and field change after change: the last answer is kept.
    thread_local std::string lastTable, lastField;
    thread_local NamedTarget last;
    thread_local bool known = false;
    if (known && table == lastTable && field == lastField) return last;
    NamedTarget named;
    named.table = FindTableByName(table);
    if (named.table) {
        const Column* column = nullptr;
        if (*named.table == kDescTable)
            named.target = NamesEqualNoCase(field, "Description") ? Target::Description : Target::None;
        else if ((column = FindColumn(kColumns[*named.table], field)) && column->kind == ColumnKind::Name)
            named.target = Target::Name;
        else if (column && column->kind == ColumnKind::Field && !NamesEqualNoCase(field, "TypeID"))
            named.target = Target::Field, named.field = column->field;
    }
    lastTable = table, lastField = field, last = named, known = true;
    return named;
}

} // namespace

Resolved Resolve(const PatchChange& c, std::string& why) {
    const NamedTarget named = FindNamedTarget(c.table, c.field);
    Resolved r;
    if (!named.table) {
        why = "unknown table " + QuotedText(c.table);
        return r;
    }
    r.table = *named.table;
    r.target = named.target;
    r.field = named.field;
    if (r.target == Target::None) {
        why = QuotedText(c.field) + " is not a field a patch can change in " + EntryName(r.table);
        return r;
    }
    const bool numeric = r.target == Target::Field;
    const PatchValue::Kind kind = numeric ? PatchValue::Number : PatchValue::Text;
    const bool oldOk =
        c.oldValue.kind == kind || (r.target == Target::Description && c.oldValue.kind == PatchValue::Null);
    if (!oldOk || c.newValue.kind != kind) {
        why = std::string("\"old\" and \"new\" must be ") + (numeric ? "numbers" : "texts");
    } else if (numeric && !FitsWidth(c.newValue.number, r.field->width)) {
        why = Decimal(c.newValue.number) + " does not fit its " + std::to_string(8 * r.field->width) +
              "-bit field";
    } else if (!numeric && c.newValue.text.find('\0') != std::string::npos) {
        why = "the new text contains a NUL byte";
    } else if (!numeric &&
               c.newValue.text.size() > (r.target == Target::Name ? kNameSize - 1 : kDescTextSize)) {
        why = "the new text has " + std::to_string(c.newValue.text.size()) + " bytes; at most " +
              std::to_string(r.target == Target::Name ? kNameSize - 1 : kDescTextSize) + " are stored";
    }
    if (!why.empty()) r.target = Target::None;
    return r;
}

std::optional<ChangeTarget> ResolvedTarget(const PatchChange& c) {
    std::string why;
    const Resolved r = Resolve(c, why);
    if (r.target == Target::None) return std::nullopt;
    return ChangeTarget{r.table, c.typeId, r.target, r.field};
}

std::optional<std::string> ResolvedKey(const PatchChange& c) {
    const std::optional<ChangeTarget> target = ResolvedTarget(c);
    if (!target) return std::nullopt;
    return std::to_string(target->table) + " " + Decimal(target->typeId) + " " +
           std::to_string(static_cast<int>(target->target)) + " " +
           (target->field ? target->field->name : "");
}

bool PatchValue::operator==(const PatchValue& other) const {
    return kind == other.kind && number == other.number && text == other.text;
}

Patch MakePatch(const TableStore& a, const TableStore& b, std::optional<TableIndex> only) {
    Patch patch;
    const DescIndex descA(a), descB(b);
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
        if (!only || *only == t) CompareItems(a, b, t, descB, patch);
    std::unordered_set<std::uint32_t> addedItems;
    for (const PatchAdded& added : patch.added)
        addedItems.insert(added.typeId);
    if (!only || *only == kDescTable) CompareDescriptions(a, b, descA, descB, addedItems, patch);
    return patch;
}

std::string FormatPatch(const Patch& patch) {
    std::string out =
        "{\n  \"format\": \"" + std::string(kPatchFormat) + "\",\n  \"version\": " + Decimal(kVersion) + ",";
    // One member: a list of objects, one per line.
    const auto list = [&](const char* name, std::size_t n, const auto& item) {
        out += std::string("\n  \"") + name + "\": [";
        for (std::size_t i = 0; i < n; ++i) {
            out += i == 0 ? "\n    {" : ",\n    {";
            item(i);
            out += "}";
        }
        out += n == 0 ? "]" : "\n  ]";
    };
    const auto head = [&](const std::string& table, std::uint32_t typeId) {
        out += "\"table\": ";
        AppendJsonString(out, table);
        out += ", \"typeid\": " + Decimal(typeId);
    };
    list("changes", patch.changes.size(), [&](std::size_t i) {
        const PatchChange& c = patch.changes[i];
        head(c.table, c.typeId);
        out += ", \"field\": ";
        AppendJsonString(out, c.field);
        out += ", \"old\": ";
        AppendValue(out, c.oldValue);
        out += ", \"new\": ";
        AppendValue(out, c.newValue);
    });
    out += ",";
    list("added", patch.added.size(), [&](std::size_t i) {
        const PatchAdded& a = patch.added[i];
        head(a.table, a.typeId);
        out += ", \"name\": ";
        AppendJsonString(out, a.name);
        out += ", \"record\": \"" + HexText(a.record) + "\", \"description\": ";
        AppendValue(out, a.description ? Text(*a.description) : PatchValue{});
    });
    out += ",";
    list("removed", patch.removed.size(), [&](std::size_t i) {
        head(patch.removed[i].table, patch.removed[i].typeId);
        out += ", \"name\": ";
        AppendJsonString(out, patch.removed[i].name);
    });
    return out + "\n}\n";
}

std::string ChangeLabel(const PatchChange& change) {
    std::string label;
    AppendChangeLabel(label, change);
    return label;
}

void AppendChangeLabel(std::string& out, const PatchChange& change) {
    out += change.table;
    out += " TypeID ";
    AppendDecimal(out, change.typeId);
    out += ' ';
    out += change.field;
}

std::string AddedLabel(const PatchAdded& added) {
    return added.table + " TypeID " + Decimal(added.typeId) + " " + QuotedText(added.name);
}

std::string TargetKey(const PatchChange& change) {
    return ResolvedKey(change).value_or("unresolved " + change.table + " " + Decimal(change.typeId) + " " +
                                        change.field);
}

std::string TargetKey(const PatchAdded& added) {
    const std::optional<TableIndex> t = FindTableByName(added.table);
    return "added " + (t ? std::to_string(*t) : added.table) + " " + Decimal(added.typeId);
}

std::string ValueText(const PatchValue& value) {
    std::string text;
    AppendValueText(text, value);
    return text;
}

void AppendValueText(std::string& out, const PatchValue& value) {
    if (value.kind == PatchValue::Number)
        AppendDecimal(out, value.number);
    else if (value.kind == PatchValue::Text)
        AppendQuoted(out, value.text, QuoteStyle::Message);
    else
        out += "no description";
}

} // namespace ledgrin::cli
