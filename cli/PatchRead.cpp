// Reading a patch file: shape checks on the strict JSON reader.
#include "cli/CliText.h"
#include "cli/Json.h"
#include "cli/Patch.h"
#include "cli/PatchTargets.h"

#include <algorithm>
#include <map>

namespace ledgrin::cli {

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

// One field of one record changed twice: the same change again counts once; two
// different ones are refused, since either could be meant.
void DropRepeatedChanges(Patch& patch) {
    // Sorted by target (file order within one), so repeats stand side by side; and no
    // second copy of the changes, which a patch of a full table makes large.
    std::vector<std::pair<ChangeTarget, std::size_t>> targets;
    for (std::size_t i = 0; i < patch.changes.size(); ++i)
        if (const std::optional<ChangeTarget> target =
                ResolvedTarget(patch.changes[i])) // else planning reports it
            targets.emplace_back(*target, i);
    if (!std::is_sorted(targets.begin(), targets.end())) // diff writes them in order
        std::sort(targets.begin(), targets.end());
    std::vector<bool> repeat(patch.changes.size(), false);
    std::size_t conflict = patch.changes.size(), conflictWith = 0; // the first in file order
    for (std::size_t k = 1, first = 0; k < targets.size(); ++k) {
        if (!(targets[k].first == targets[first].first)) {
            first = k;
            continue;
        }
        const PatchChange &earlier = patch.changes[targets[first].second],
                          &c = patch.changes[targets[k].second];
        if (earlier.oldValue == c.oldValue && earlier.newValue == c.newValue)
            repeat[targets[k].second] = true;
        else if (targets[k].second < conflict)
            conflict = targets[k].second, conflictWith = targets[first].second;
    }
    if (conflict < patch.changes.size()) {
        const PatchChange &c = patch.changes[conflict], &earlier = patch.changes[conflictWith];
        throw JsonError{c.line, 0,
                        "change " + std::to_string(conflict + 1) + " (" + ChangeLabel(c) + ": " +
                            ValueText(c.oldValue) + " -> " + ValueText(c.newValue) + ") and change " +
                            std::to_string(conflictWith + 1) + " on line " + std::to_string(earlier.line) +
                            " (" + ValueText(earlier.oldValue) + " -> " + ValueText(earlier.newValue) +
                            ") change the same field differently"};
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        if (repeat[i]) continue;
        if (kept != i) patch.changes[kept] = std::move(patch.changes[i]); // a self-move would empty it
        ++kept;
    }
    patch.changes.resize(kept);
}

} // namespace

std::optional<Patch> ReadPatch(std::string_view text, Problem& problem) {
    JsonReader json(text);
    Patch patch;
    // A patch has a change per line, so its lines are room for its changes and none is
    // moved as the list grows.
    patch.changes.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
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
        if (format != std::string(kPatchFormat))
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

} // namespace ledgrin::cli
