#include "cli/Patch.h"

#include "cli/CliText.h"
#include "cli/Json.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <tuple>
#include <unordered_set>

namespace ledgrin::cli {

namespace {

constexpr const char* kFormat = "ledgrin-patch";
constexpr std::uint32_t kVersion = 2; // written; 1 is still read

std::string BareName(TableIndex t) {
    const std::string entry = EntryName(t);
    return entry.substr(0, entry.size() - 4); // without ".iff"
}

PatchValue Number(std::uint32_t n) {
    return {PatchValue::Number, n, {}};
}
PatchValue Text(std::string_view text) {
    return {PatchValue::Text, 0, std::string(text)};
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
        if (descB.Find(id) != kNoDescription) added.description = descB.TextOf(id);
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

// --- applying -------------------------------------------------------------------------

enum class Target { None, Field, Name, Description };

struct Resolved {
    Target target = Target::None;
    TableIndex table = 0;
    const FieldDef* field = nullptr;
};

// What a change can touch, or why it cannot.
Resolved Resolve(const PatchChange& c, std::string& why) {
    std::optional<TableIndex> t = FindTableByName(c.table);
    Resolved r;
    if (!t) {
        why = "unknown table " + QuotedText(c.table);
        return r;
    }
    r.table = *t;
    const Column* column = nullptr;
    const std::vector<Column> columns = TableColumns(*t);
    if (*t == kDescTable)
        r.target = NamesEqualNoCase(c.field, "Description") ? Target::Description : Target::None;
    else if ((column = FindColumn(columns, c.field)) && column->kind == ColumnKind::Name)
        r.target = Target::Name;
    else if (column && column->kind == ColumnKind::Field && !NamesEqualNoCase(c.field, "TypeID"))
        r.target = Target::Field, r.field = column->field;
    if (r.target == Target::None) {
        why = QuotedText(c.field) + " is not a field a patch can change in " + EntryName(*t);
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

} // namespace

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
        "{\n  \"format\": \"" + std::string(kFormat) + "\",\n  \"version\": " + Decimal(kVersion) + ",";
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

namespace {

// A change's value: null, a text or an unsigned number.
PatchValue ReadPatchValue(JsonReader& json) {
    switch (json.Peek()) {
    case JsonReader::Kind::String: return Text(json.ReadString());
    case JsonReader::Kind::Number: {
        const std::string text = json.ReadNumber();
        PatchValue value = Number(0);
        if (ParseUnsigned(text, value.number) != NumberParse::Ok)
            json.Fail(text + " is not an unsigned number of 32 bits");
        return value;
    }
    default:
        if (json.Peek() == JsonReader::Kind::Literal && json.ReadLiteral() == "null") return PatchValue{};
        json.Fail("a value must be a number, a text or null");
    }
}

std::uint32_t ReadTypeId(JsonReader& json) {
    if (json.Peek() != JsonReader::Kind::Number) json.Fail("\"typeid\" must be a number");
    const std::string text = json.ReadNumber();
    std::uint32_t typeId = 0;
    if (ParseUnsigned(text, typeId) != NumberParse::Ok) json.Fail(text + " is not a TypeID");
    return typeId;
}

std::string ReadText(JsonReader& json, const char* member) {
    if (json.Peek() != JsonReader::Kind::String) json.Fail("\"" + std::string(member) + "\" must be a text");
    return json.ReadString();
}

// Calls member(name) for each member of the object that comes next; members it does not
// know it leaves unread, and they are skipped.
template <typename Member> void ReadObject(JsonReader& json, const char* what, Member member) {
    if (json.Peek() != JsonReader::Kind::Object) json.Fail(std::string(what) + " must be an object");
    json.BeginObject();
    std::string name;
    while (json.NextMember(name))
        if (!member(name)) json.SkipValue();
}

template <typename Item> void ReadArray(JsonReader& json, const char* what, Item item) {
    if (json.Peek() != JsonReader::Kind::Array) json.Fail(std::string(what) + " must be an array");
    json.BeginArray();
    for (std::size_t i = 1; json.NextItem(); ++i)
        item(i);
}

PatchChange ReadChange(JsonReader& json, std::size_t number) {
    PatchChange c;
    c.line = json.Line();
    unsigned seen = 0;
    ReadObject(json, "a change", [&](const std::string& name) {
        const std::string_view names[] = {"table", "typeid", "field", "old", "new"};
        const auto at = std::find(std::begin(names), std::end(names), name) - std::begin(names);
        if (at == 5) return false;
        seen |= 1u << at;
        if (at == 0) c.table = ReadText(json, "table");
        if (at == 1) c.typeId = ReadTypeId(json);
        if (at == 2) c.field = ReadText(json, "field");
        if (at == 3) c.oldValue = ReadPatchValue(json);
        if (at == 4) c.newValue = ReadPatchValue(json);
        return true;
    });
    if (seen != 0x1F)
        throw JsonError{c.line, 0,
                        "change " + std::to_string(number) +
                            " needs \"table\", \"typeid\", \"field\", \"old\" and \"new\""};
    return c;
}

PatchUnmatched ReadUnmatched(JsonReader& json, std::size_t number) {
    PatchUnmatched u;
    const int line = json.Line();
    unsigned seen = 0;
    ReadObject(json, "an unmatched record", [&](const std::string& name) {
        if (name == "table")
            u.table = ReadText(json, "table"), seen |= 1;
        else if (name == "typeid")
            u.typeId = ReadTypeId(json), seen |= 2;
        else if (name == "name")
            u.name = ReadText(json, "name");
        else if (name == "only_in")
            u.inNew = ReadText(json, "only_in") == "new";
        else
            return false;
        return true;
    });
    if (seen != 3)
        throw JsonError{line, 0,
                        "unmatched record " + std::to_string(number) + " needs \"table\" and \"typeid\""};
    return u;
}

std::vector<std::uint8_t> ReadHex(JsonReader& json, const char* member) {
    const std::string text = ReadText(json, member);
    std::vector<std::uint8_t> bytes;
    const auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) break;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (2 * bytes.size() != text.size())
        json.Fail(std::string("\"") + member + "\" must be pairs of hex digits, one pair per byte");
    return bytes;
}

PatchAdded ReadAdded(JsonReader& json, std::size_t number) {
    PatchAdded a;
    a.line = json.Line();
    unsigned seen = 0;
    ReadObject(json, "an added record", [&](const std::string& name) {
        if (name == "table")
            a.table = ReadText(json, "table"), seen |= 1;
        else if (name == "typeid")
            a.typeId = ReadTypeId(json), seen |= 2;
        else if (name == "record")
            a.record = ReadHex(json, "record"), seen |= 4;
        else if (name == "name")
            a.name = ReadText(json, "name");
        else if (name == "description") {
            const PatchValue value = ReadPatchValue(json);
            if (value.kind == PatchValue::Number) json.Fail("\"description\" must be a text or null");
            if (value.kind == PatchValue::Text) a.description = value.text;
        } else
            return false;
        return true;
    });
    if (seen != 7)
        throw JsonError{a.line, 0,
                        "added record " + std::to_string(number) +
                            " needs \"table\", \"typeid\" and \"record\""};
    return a;
}

PatchRemoved ReadRemoved(JsonReader& json, std::size_t number) {
    PatchRemoved r;
    const int line = json.Line();
    unsigned seen = 0;
    ReadObject(json, "a removed record", [&](const std::string& name) {
        if (name == "table")
            r.table = ReadText(json, "table"), seen |= 1;
        else if (name == "typeid")
            r.typeId = ReadTypeId(json), seen |= 2;
        else if (name == "name")
            r.name = ReadText(json, "name");
        else
            return false;
        return true;
    });
    if (seen != 3)
        throw JsonError{line, 0,
                        "removed record " + std::to_string(number) + " needs \"table\" and \"typeid\""};
    return r;
}

// Two records added with one TypeID to one table: the same one again counts once; two
// different ones are refused.
void DropRepeatedAdded(Patch& patch) {
    std::map<std::string, std::size_t> first;
    std::vector<PatchAdded> kept;
    for (std::size_t i = 0; i < patch.added.size(); ++i) {
        PatchAdded& a = patch.added[i];
        const auto [at, fresh] = first.emplace(TargetKey(a), i);
        if (fresh) {
            kept.push_back(std::move(a));
            continue;
        }
        const PatchAdded& earlier = patch.added[at->second];
        if (earlier.record == a.record && earlier.description == a.description) continue;
        throw JsonError{a.line, 0,
                        "added record " + std::to_string(i + 1) + " (" + AddedLabel(a) +
                            ") and added record " + std::to_string(at->second + 1) + " on line " +
                            std::to_string(earlier.line) + " add different records with one TypeID"};
    }
    patch.added = std::move(kept);
}

// What one change writes: its table, record and field, as names compare; nullopt when the
// change names no such thing (planning reports that).
std::optional<std::tuple<TableIndex, std::uint32_t, int, const FieldDef*>> ChangeKey(const PatchChange& c) {
    std::string why;
    const Resolved r = Resolve(c, why);
    if (r.target == Target::None) return std::nullopt;
    return std::make_tuple(r.table, c.typeId, static_cast<int>(r.target), r.field);
}

// One field of one record changed twice: the same change again counts once; two
// different ones are refused, since either could be meant.
void DropRepeatedChanges(Patch& patch) {
    std::map<std::tuple<TableIndex, std::uint32_t, int, const FieldDef*>, std::size_t> first;
    std::vector<PatchChange> kept;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        PatchChange& c = patch.changes[i];
        const auto key = ChangeKey(c);
        if (!key) {
            kept.push_back(std::move(c));
            continue;
        }
        const auto [at, added] = first.emplace(*key, i);
        if (added) {
            kept.push_back(std::move(c));
            continue;
        }
        const PatchChange& earlier = patch.changes[at->second];
        if (earlier.oldValue == c.oldValue && earlier.newValue == c.newValue) continue;
        throw JsonError{c.line, 0,
                        "change " + std::to_string(i + 1) + " (" + ChangeLabel(c) + ": " +
                            ValueText(c.oldValue) + " -> " + ValueText(c.newValue) + ") and change " +
                            std::to_string(at->second + 1) + " on line " + std::to_string(earlier.line) +
                            " (" + ValueText(earlier.oldValue) + " -> " + ValueText(earlier.newValue) +
                            ") change the same field differently"};
    }
    patch.changes = std::move(kept);
}

} // namespace

std::optional<Patch> ReadPatch(std::string_view text, Problem& problem) {
    JsonReader json(text);
    Patch patch;
    try {
        std::optional<std::string> format, version;
        int formatLine = 0;
        bool haveChanges = false;
        ReadObject(json, "a patch", [&](const std::string& name) {
            if (name == "format") {
                formatLine = json.Line();
                format = json.Peek() == JsonReader::Kind::String ? json.ReadString() : (json.SkipValue(), "");
            } else if (name == "version") {
                version =
                    json.Peek() == JsonReader::Kind::Number ? json.ReadNumber() : (json.SkipValue(), "?");
            } else if (name == "changes") {
                haveChanges = true;
                ReadArray(json, "\"changes\"",
                          [&](std::size_t i) { patch.changes.push_back(ReadChange(json, i)); });
            } else if (name == "unmatched") {
                ReadArray(json, "\"unmatched\"",
                          [&](std::size_t i) { patch.unmatched.push_back(ReadUnmatched(json, i)); });
            } else if (name == "added") {
                ReadArray(json, "\"added\"",
                          [&](std::size_t i) { patch.added.push_back(ReadAdded(json, i)); });
            } else if (name == "removed") {
                ReadArray(json, "\"removed\"",
                          [&](std::size_t i) { patch.removed.push_back(ReadRemoved(json, i)); });
            } else {
                return false;
            }
            return true;
        });
        json.Finish();
        if (format != std::string(kFormat))
            throw JsonError{formatLine, 0, "not a ledgrin patch (\"format\" is not \"ledgrin-patch\")"};
        if (version != "1" && version != "2")
            throw JsonError{0, 0, "patch version " + version.value_or("missing") + " is not supported"};
        patch.version = *version == "1" ? 1 : 2;
        if (!haveChanges) throw JsonError{0, 0, "the patch has no \"changes\""};
        DropRepeatedChanges(patch);
        DropRepeatedAdded(patch);
    } catch (const JsonError& e) {
        problem = {e.line > 0 ? Position::Line(e.line, e.column) : Position{}, e.message};
        return std::nullopt;
    }
    return patch;
}

std::size_t ApplyPlan::Count(Outcome outcome) const {
    std::size_t n = 0;
    for (const std::vector<ChangeOutcome>* list : {&outcomes, &added})
        for (const ChangeOutcome& o : *list)
            n += o.outcome == outcome;
    return n;
}

namespace {

// Where an added record stands against the archive: its table without the TypeID (make
// it), the same bytes there (already), or another record there (a conflict); its
// description likewise.
void PlanAdded(const TableStore& store, const PatchAdded& a, std::size_t i,
               std::map<TableIndex, TypeIdIndex>& byTypeId, const DescIndex& descriptions,
               std::array<std::size_t, kTableCount>& appends, ApplyPlan& plan) {
    ChangeOutcome& o = plan.added.emplace_back();
    const auto problem = [&](const std::string& why) {
        plan.problems.push_back(
            {a.line > 0 ? Position::Line(a.line) : Position{},
             "added record " + std::to_string(i + 1) + " (" + AddedLabel(a) + "): " + why});
    };
    const std::optional<TableIndex> t = FindTableByName(a.table);
    if (!t) return problem("unknown table " + QuotedText(a.table));
    if (a.record.size() != RecordSize(*t))
        return problem("the record has " + std::to_string(a.record.size()) + " bytes; those of " +
                       EntryName(*t) + " have " + std::to_string(RecordSize(*t)));
    if (TypeIdOf(*t, a.record.data()) != a.typeId)
        return problem("the record holds TypeID " + Decimal(TypeIdOf(*t, a.record.data())));
    if (a.description &&
        (a.description->size() > kDescTextSize || a.description->find('\0') != std::string::npos))
        return problem("the description does not fit a Desc record");
    const std::vector<std::size_t>& holders =
        *t == kDescTable ? byTypeId.try_emplace(kDescTable, store, kDescTable).first->second.Find(a.typeId)
                         : byTypeId.try_emplace(*t, store, *t).first->second.Find(a.typeId);
    if (holders.empty()) {
        o.outcome = Outcome::Make;
        ++appends[*t];
    } else if (holders.size() == 1 &&
               std::equal(a.record.begin(), a.record.end(), store.Record(*t, holders[0]))) {
        o.outcome = Outcome::Already;
    } else {
        o.found = holders.size() == 1 ? EntryName(*t) + std::string(" record ") + std::to_string(holders[0]) +
                                            " holds this TypeID with other bytes"
                                      : std::to_string(holders.size()) + " records hold this TypeID";
        return;
    }
    if (!a.description) return;
    const std::size_t d = descriptions.Find(a.typeId);
    if (d == kNoDescription) {
        o.outcome = Outcome::Make;
        ++appends[kDescTable];
    } else if (StoredDescText(store.Record(kDescTable, d)) != *a.description) {
        o.outcome = Outcome::Conflict;
        o.found = "its description " + QuotedText(StoredDescText(store.Record(kDescTable, d)));
    }
}

} // namespace

ApplyPlan PlanPatch(const TableStore& store, const Patch& patch) {
    ApplyPlan plan;
    std::map<TableIndex, TypeIdIndex> byTypeId; // built for the tables the patch names
    const DescIndex descriptions(store);
    std::array<std::size_t, kTableCount> appends{}; // records each table is to gain
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        ChangeOutcome& o = plan.outcomes.emplace_back();
        if (r.target == Target::None) {
            plan.problems.push_back(
                {c.line > 0 ? Position::Line(c.line) : Position{},
                 "change " + std::to_string(i + 1) + " (" + ChangeLabel(c) + "): " + why});
            continue;
        }
        PatchValue current;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions.Find(c.typeId);
            if (d != kNoDescription) current = Text(StoredDescText(store.Record(kDescTable, d)));
        } else {
            const std::vector<std::size_t>& found =
                byTypeId.try_emplace(r.table, store, r.table).first->second.Find(c.typeId);
            if (found.size() != 1) {
                o.found = found.empty() ? "no record holds this TypeID"
                                        : std::to_string(found.size()) + " records hold this TypeID";
                continue;
            }
            const std::uint8_t* record = store.Record(r.table, found[0]);
            current =
                r.target == Target::Name ? Text(RecordName(record)) : Number(GetField(record, *r.field));
        }
        o.outcome = current == c.newValue   ? Outcome::Already
                    : current == c.oldValue ? Outcome::Make
                                            : Outcome::Conflict;
        o.found = ValueText(current);
        appends[kDescTable] += o.outcome == Outcome::Make && current.kind == PatchValue::Null;
    }
    for (std::size_t i = 0; i < patch.added.size(); ++i)
        PlanAdded(store, patch.added[i], i, byTypeId, descriptions, appends, plan);
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (appends[t] > kMaxRecordCount - store[t].RecordCount)
            plan.problems.push_back({{},
                                     std::string(EntryName(t)) + " has no room for " +
                                         Plural(appends[t], "more record", "more records") + "; it holds " +
                                         std::to_string(store[t].RecordCount) + " of " +
                                         std::to_string(kMaxRecordCount)});
    return plan;
}

std::vector<TableIndex> ApplyPatch(TableStore& store, const Patch& patch, const ApplyPlan& plan) {
    std::vector<bool> written(kTableCount, false);
    DescIndex descriptions(store); // appends go to the end, so found indexes stay valid
    std::map<TableIndex, TypeIdIndex> byTypeId;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        if (plan.outcomes[i].outcome != Outcome::Make) continue;
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        written[r.table] = true;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions.Find(c.typeId);
            if (d != kNoDescription)
                WriteDescText(store.Record(kDescTable, d), c.newValue.text);
            else
                AppendPlannedDescription(store, descriptions, c.typeId, c.newValue.text);
            continue;
        }
        // The plan made it only where one record holds the TypeID.
        const TypeIdIndex& index = byTypeId.try_emplace(r.table, store, r.table).first->second;
        std::uint8_t* record = store.Record(r.table, index.Find(c.typeId).front());
        if (r.target == Target::Name)
            SetRecordName(record, c.newValue.text);
        else
            SetField(record, *r.field, c.newValue.number);
    }
    for (std::size_t i = 0; i < patch.added.size(); ++i) {
        if (plan.added[i].outcome != Outcome::Make) continue;
        const PatchAdded& a = patch.added[i];
        const TableIndex t = *FindTableByName(a.table);
        TypeIdIndex& index = byTypeId.try_emplace(t, store, t).first->second;
        if (index.Find(a.typeId).empty()) {
            // The plan found room, so the count cannot wrap.
            TableSlot& slot = store[t];
            slot.Records.insert(slot.Records.end(), a.record.begin(), a.record.end());
            index.Add(a.typeId, slot.RecordCount++);
            if (t == kDescTable) descriptions.Add(a.typeId, slot.RecordCount - 1u);
            written[t] = true;
        }
        if (a.description && descriptions.Find(a.typeId) == kNoDescription) {
            AppendPlannedDescription(store, descriptions, a.typeId, *a.description);
            written[kDescTable] = true;
        }
    }
    std::vector<TableIndex> tables;
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (written[t]) tables.push_back(t);
    return tables;
}

std::string ChangeLabel(const PatchChange& change) {
    return change.table + " TypeID " + Decimal(change.typeId) + " " + change.field;
}

std::string AddedLabel(const PatchAdded& added) {
    return added.table + " TypeID " + Decimal(added.typeId) + " " + QuotedText(added.name);
}

std::string TargetKey(const PatchChange& change) {
    const auto key = ChangeKey(change);
    if (!key) return "unresolved " + change.table + " " + Decimal(change.typeId) + " " + change.field;
    const auto& [table, typeId, target, field] = *key;
    return std::to_string(table) + " " + Decimal(typeId) + " " + std::to_string(target) + " " +
           (field ? field->name : "");
}

std::string TargetKey(const PatchAdded& added) {
    const std::optional<TableIndex> t = FindTableByName(added.table);
    return "added " + (t ? std::to_string(*t) : added.table) + " " + Decimal(added.typeId);
}

std::string ValueText(const PatchValue& value) {
    if (value.kind == PatchValue::Number) return Decimal(value.number);
    return value.kind == PatchValue::Text ? QuotedText(value.text) : "no description";
}

} // namespace ledgrin::cli
