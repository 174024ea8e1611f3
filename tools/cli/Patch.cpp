#include "tools/cli/Patch.h"

#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "tools/cli/CliText.h"
#include "tools/cli/Json.h"
#include "tools/cli/TableColumns.h"

#include <map>
#include <new>
#include <unordered_map>

namespace ledgrin::cli {

namespace {

constexpr const char* kFormat = "ledgrin-patch";
constexpr std::uint32_t kVersion = 1;

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

// Each TypeID's first Desc record, in record order.
std::vector<std::pair<std::uint32_t, std::size_t>>
FirstDescriptions(const TableStore& store, std::map<std::uint32_t, std::size_t>& byId) {
    std::vector<std::pair<std::uint32_t, std::size_t>> order;
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i) {
        const std::uint32_t id = FieldValue(kDescTable, store.Record(kDescTable, i), "TypeID");
        if (byId.emplace(id, i).second) order.emplace_back(id, i);
    }
    return order;
}

void CompareItems(const TableStore& a, const TableStore& b, TableIndex t, Patch& patch) {
    std::map<std::uint32_t, std::vector<std::size_t>> inB;
    for (std::size_t j = 0; j < b[t].RecordCount; ++j)
        inB[RecordTypeId(b.Record(t, j))].push_back(j);
    std::vector<bool> matched(b[t].RecordCount, false);
    std::map<std::uint32_t, std::size_t> seen;
    for (std::size_t i = 0; i < a[t].RecordCount; ++i) {
        const std::uint8_t* ra = a.Record(t, i);
        const std::uint32_t id = RecordTypeId(ra);
        const std::size_t occurrence = seen[id]++;
        auto found = inB.find(id);
        if (found == inB.end() || occurrence >= found->second.size()) {
            patch.unmatched.push_back({BareName(t), id, std::string(RecordName(ra)), false});
            continue;
        }
        matched[found->second[occurrence]] = true;
        const std::uint8_t* rb = b.Record(t, found->second[occurrence]);
        if (RecordName(ra) != RecordName(rb))
            patch.changes.push_back({BareName(t), id, "Name", Text(RecordName(ra)), Text(RecordName(rb))});
        for (const FieldDef& field : TableFields(t))
            if (GetField(ra, field) != GetField(rb, field))
                patch.changes.push_back(
                    {BareName(t), id, field.name, Number(GetField(ra, field)), Number(GetField(rb, field))});
    }
    for (std::size_t j = 0; j < b[t].RecordCount; ++j)
        if (!matched[j])
            patch.unmatched.push_back(
                {BareName(t), RecordTypeId(b.Record(t, j)), std::string(RecordName(b.Record(t, j))), true});
}

void CompareDescriptions(const TableStore& a, const TableStore& b, Patch& patch) {
    std::map<std::uint32_t, std::size_t> inA, inB;
    const auto orderA = FirstDescriptions(a, inA);
    for (const auto& [id, j] : FirstDescriptions(b, inB)) {
        const std::string newText = StoredDescText(b.Record(kDescTable, j));
        auto found = inA.find(id);
        if (found == inA.end())
            patch.changes.push_back({"Desc", id, "Description", PatchValue{}, Text(newText)});
        else if (std::string oldText = StoredDescText(a.Record(kDescTable, found->second));
                 oldText != newText)
            patch.changes.push_back({"Desc", id, "Description", Text(oldText), Text(newText)});
    }
    for (const auto& [id, i] : orderA)
        if (!inB.count(id))
            patch.unmatched.push_back({"Desc", id, StoredDescText(a.Record(kDescTable, i)), false});
}

void AppendValue(std::string& out, const PatchValue& value) {
    if (value.kind == PatchValue::Null) out += "null";
    if (value.kind == PatchValue::Number) out += Decimal(value.number);
    if (value.kind == PatchValue::Text) AppendJsonString(out, value.text);
}

// --- reading: the JSON subset a patch uses ---------------------------------------------

struct JsonValue {
    enum Kind { Null, Number, String, Array, Object, Other } kind = Null;
    std::string text; // String: the bytes; Number: as written
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;
    const JsonValue* Member(std::string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name) return &value;
        return nullptr;
    }
};

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    bool Parse(JsonValue& value, std::string& why) {
        if (ReadValue(value, 0) && (Skip(), pos_ == text_.size())) return true;
        why = "line " + std::to_string(Line()) + ": " + (error_.empty() ? "text after the end" : error_);
        return false;
    }

  private:
    int Line() const {
        int line = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i)
            line += text_[i] == '\n';
        return line;
    }
    bool Fail(const char* message) {
        error_ = message;
        return false;
    }
    void Skip() {
        while (pos_ < text_.size() && std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
    }
    bool Eat(char c) {
        Skip();
        if (pos_ < text_.size() && text_[pos_] == c) return ++pos_, true;
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    bool ReadValue(JsonValue& v, int depth) {
        Skip();
        if (depth > 8) return Fail("nested too deeply");
        if (pos_ >= text_.size()) return Fail("unexpected end of the file");
        const char c = text_[pos_];
        if (c == '"') return v.kind = JsonValue::String, ReadString(v.text);
        if (c == '[') return v.kind = JsonValue::Array, ReadArray(v, depth);
        if (c == '{') return v.kind = JsonValue::Object, ReadObject(v, depth);
        if (Word("null")) return v.kind = JsonValue::Null, true;
        if (Word("true") || Word("false")) return v.kind = JsonValue::Other, true;
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view("0123456789+-.eE").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
        if (pos_ == start) return Fail("expected a value");
        v.kind = JsonValue::Number;
        v.text = std::string(text_.substr(start, pos_ - start));
        return true;
    }

    bool ReadArray(JsonValue& v, int depth) {
        ++pos_;
        if (Eat(']')) return true;
        do {
            if (!ReadValue(v.items.emplace_back(), depth + 1)) return false;
        } while (Eat(','));
        return Eat(']') || Fail("expected ',' or ']'");
    }

    bool ReadObject(JsonValue& v, int depth) {
        ++pos_;
        if (Eat('}')) return true;
        do {
            Skip();
            auto& [key, value] = v.members.emplace_back();
            if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("expected a member name");
            if (!ReadString(key)) return false;
            if (!Eat(':')) return Fail("expected ':'");
            if (!ReadValue(value, depth + 1)) return false;
        } while (Eat(','));
        return Eat('}') || Fail("expected ',' or '}'");
    }

    // Texts are bytes: \u0000 to \u00FF is that byte, as export writes them.
    bool ReadString(std::string& out) {
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
            const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
            if (simple.find(e) != std::string_view::npos) {
                out += meaning[simple.find(e)];
                continue;
            }
            std::uint32_t code = 0;
            if (e != 'u' || pos_ + 4 > text_.size() ||
                ParseUnsigned("0x" + std::string(text_.substr(pos_, 4)), code) != NumberParse::Ok ||
                code > 0xFF)
                return Fail("a \\u escape must be \\u0000 to \\u00FF");
            pos_ += 4;
            out += static_cast<char>(code);
        }
        return Eat('"') || Fail("a string has no closing quote");
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

bool ReadPatchValue(const JsonValue* json, PatchValue& value) {
    if (!json) return false;
    if (json->kind == JsonValue::Null) return value = PatchValue{}, true;
    if (json->kind == JsonValue::String) return value = Text(json->text), true;
    return json->kind == JsonValue::Number && ParseUnsigned(json->text, value.number) == NumberParse::Ok &&
           (value.kind = PatchValue::Number, true);
}

bool ReadTypeId(const JsonValue* json, std::uint32_t& typeId) {
    return json && json->kind == JsonValue::Number && ParseUnsigned(json->text, typeId) == NumberParse::Ok;
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
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
        if (!only || *only == t) CompareItems(a, b, t, patch);
    if (!only || *only == kDescTable) CompareDescriptions(a, b, patch);
    return patch;
}

std::string FormatPatch(const Patch& patch) {
    std::string out = "{\n  \"format\": \"" + std::string(kFormat) +
                      "\",\n  \"version\": " + Decimal(kVersion) + ",\n  \"changes\": [";
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        out += i == 0 ? "\n    {\"table\": " : ",\n    {\"table\": ";
        AppendJsonString(out, c.table);
        out += ", \"typeid\": " + Decimal(c.typeId) + ", \"field\": ";
        AppendJsonString(out, c.field);
        out += ", \"old\": ";
        AppendValue(out, c.oldValue);
        out += ", \"new\": ";
        AppendValue(out, c.newValue);
        out += "}";
    }
    out += patch.changes.empty() ? "],\n  \"unmatched\": [" : "\n  ],\n  \"unmatched\": [";
    for (std::size_t i = 0; i < patch.unmatched.size(); ++i) {
        const PatchUnmatched& u = patch.unmatched[i];
        out += i == 0 ? "\n    {\"table\": " : ",\n    {\"table\": ";
        AppendJsonString(out, u.table);
        out += ", \"typeid\": " + Decimal(u.typeId) + ", \"name\": ";
        AppendJsonString(out, u.name);
        out += std::string(", \"only_in\": ") + (u.inNew ? "\"new\"}" : "\"old\"}");
    }
    return out + (patch.unmatched.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

std::optional<Patch> ReadPatch(const std::string& text, std::string& why) {
    JsonValue root;
    if (!JsonParser(text).Parse(root, why)) return std::nullopt;
    const JsonValue* format = root.Member("format");
    const JsonValue* version = root.Member("version");
    const JsonValue* changes = root.Member("changes");
    const JsonValue* unmatched = root.Member("unmatched");
    if (!format || format->kind != JsonValue::String || format->text != kFormat) {
        why = "not a ledgrin patch (\"format\" is not \"ledgrin-patch\")";
        return std::nullopt;
    }
    if (!version || version->text != Decimal(kVersion)) {
        why = "patch version " + (version ? version->text : std::string("missing")) + " is not supported";
        return std::nullopt;
    }
    if (!changes || changes->kind != JsonValue::Array || (unmatched && unmatched->kind != JsonValue::Array)) {
        why = "\"changes\" and \"unmatched\" must be arrays";
        return std::nullopt;
    }
    Patch patch;
    for (std::size_t i = 0; i < changes->items.size(); ++i) {
        const JsonValue& item = changes->items[i];
        PatchChange c;
        const JsonValue *table = item.Member("table"), *field = item.Member("field");
        if (!table || table->kind != JsonValue::String || !field || field->kind != JsonValue::String ||
            !ReadTypeId(item.Member("typeid"), c.typeId) || !ReadPatchValue(item.Member("old"), c.oldValue) ||
            !ReadPatchValue(item.Member("new"), c.newValue)) {
            why = "change " + std::to_string(i + 1) +
                  " needs \"table\" and \"field\" texts, a \"typeid\" number, and \"old\" and \"new\" values";
            return std::nullopt;
        }
        c.table = table->text;
        c.field = field->text;
        patch.changes.push_back(std::move(c));
    }
    for (std::size_t i = 0; unmatched && i < unmatched->items.size(); ++i) {
        const JsonValue& item = unmatched->items[i];
        PatchUnmatched u;
        const JsonValue *table = item.Member("table"), *name = item.Member("name"),
                        *in = item.Member("only_in");
        if (!table || table->kind != JsonValue::String || !ReadTypeId(item.Member("typeid"), u.typeId)) {
            why = "unmatched record " + std::to_string(i + 1) +
                  " needs a \"table\" text and a \"typeid\" number";
            return std::nullopt;
        }
        u.table = table->text;
        u.name = name && name->kind == JsonValue::String ? name->text : "";
        u.inNew = in && in->text == "new";
        patch.unmatched.push_back(std::move(u));
    }
    return patch;
}

std::size_t ApplyPlan::Count(Outcome outcome) const {
    std::size_t n = 0;
    for (const ChangeOutcome& o : outcomes)
        n += o.outcome == outcome;
    return n;
}

ApplyPlan PlanPatch(const TableStore& store, const Patch& patch) {
    ApplyPlan plan;
    std::map<TableIndex, std::unordered_map<std::uint32_t, std::vector<std::size_t>>> byTypeId;
    const DescIndex descriptions(store);
    std::size_t appends = 0;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        ChangeOutcome& o = plan.outcomes.emplace_back();
        if (r.target == Target::None) {
            plan.errors.push_back("change " + std::to_string(i + 1) + " (" + ChangeLabel(c) + "): " + why);
            continue;
        }
        PatchValue current;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions.Find(c.typeId);
            if (d != kNoDescription) current = Text(StoredDescText(store.Record(kDescTable, d)));
        } else {
            auto& index = byTypeId[r.table];
            if (index.empty())
                for (std::size_t k = 0; k < store[r.table].RecordCount; ++k)
                    index[RecordTypeId(store.Record(r.table, k))].push_back(k);
            auto found = index.find(c.typeId);
            if (found == index.end() || found->second.size() != 1) {
                o.found = found == index.end()
                              ? "no record holds this TypeID"
                              : std::to_string(found->second.size()) + " records hold this TypeID";
                continue;
            }
            const std::uint8_t* record = store.Record(r.table, found->second[0]);
            current =
                r.target == Target::Name ? Text(RecordName(record)) : Number(GetField(record, *r.field));
        }
        o.outcome = current == c.newValue   ? Outcome::Already
                    : current == c.oldValue ? Outcome::Make
                                            : Outcome::Conflict;
        o.found = ValueText(current);
        appends += o.outcome == Outcome::Make && current.kind == PatchValue::Null;
    }
    if (appends > kMaxRecordCount - store[kDescTable].RecordCount)
        plan.errors.push_back(std::string(EntryName(kDescTable)) + " has no room for " +
                              std::to_string(appends) + " more descriptions");
    return plan;
}

std::vector<TableIndex> ApplyPatch(TableStore& store, const Patch& patch, const ApplyPlan& plan) {
    std::vector<bool> written(kTableCount, false);
    const DescIndex descriptions(store); // appends go to the end, so found indexes stay valid
    std::map<TableIndex, std::unordered_map<std::uint32_t, std::size_t>> byTypeId;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        if (plan.outcomes[i].outcome != Outcome::Make) continue;
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        written[r.table] = true;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions.Find(c.typeId);
            TableSlot& desc = store[kDescTable];
            if (d != kNoDescription)
                WriteDescText(store.Record(kDescTable, d), c.newValue.text);
            else if (AppendDescription(desc.Records, desc.RecordCount, c.typeId, c.newValue.text) !=
                     AppendResult::Appended)
                throw std::bad_alloc(); // the plan checked the room, so only memory can be short
            continue;
        }
        auto& index = byTypeId[r.table];
        if (index.empty())
            for (std::size_t k = 0; k < store[r.table].RecordCount; ++k)
                index[RecordTypeId(store.Record(r.table, k))] = k;
        std::uint8_t* record = store.Record(r.table, index[c.typeId]);
        if (r.target == Target::Name)
            SetRecordName(record, c.newValue.text);
        else
            SetField(record, *r.field, c.newValue.number);
    }
    std::vector<TableIndex> tables;
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (written[t]) tables.push_back(t);
    return tables;
}

std::string ChangeLabel(const PatchChange& change) {
    return change.table + " TypeID " + Decimal(change.typeId) + " " + change.field;
}

std::string ValueText(const PatchValue& value) {
    if (value.kind == PatchValue::Number) return Decimal(value.number);
    return value.kind == PatchValue::Text ? QuotedText(value.text) : "no description";
}

} // namespace ledgrin::cli
