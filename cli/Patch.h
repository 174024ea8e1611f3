// Patches that carry changes from one archive to another release of it: each change
// names its record by table and TypeID, not by position, and keeps the value it replaced,
// so applying it can tell a change already made from one that meets different data.
#pragma once

#include "archive/TableStore.h"
#include "cli/Problem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

// A value as export's JSON writes it: a number, a text, or null (no description).
struct PatchValue {
    enum Kind { Null, Number, Text } kind = Null;
    std::uint32_t number = 0;
    std::string text;
    bool operator==(const PatchValue& other) const;
};

struct PatchChange {
    std::string table; // "Part"; descriptions: "Desc"
    std::uint32_t typeId = 0;
    std::string field; // an export column; descriptions: "Description"
    PatchValue oldValue, newValue;
    int line = 0; // where the change starts in its patch file; 0: made here
};

// A record found in only one of the two archives: what version 1 patches list instead of
// carrying it.
struct PatchUnmatched {
    std::string table;
    std::uint32_t typeId = 0;
    std::string name; // the item's name or the description's text
    bool inNew = false;
};

// A record of the new archive only, carried whole: its bytes are the authority, so bytes
// no field names travel too. A new item's description goes with it; a description whose
// TypeID no item holds in either archive is an added record of table "Desc".
struct PatchAdded {
    std::string table;
    std::uint32_t typeId = 0;
    std::string name; // for people reading the patch: the item's name, or a description's text
    std::vector<std::uint8_t> record;
    std::optional<std::string> description;
    int line = 0;
};

// A record of the old archive only. Applying a patch reports it and never deletes it.
struct PatchRemoved {
    std::string table;
    std::uint32_t typeId = 0;
    std::string name;
};

struct Patch {
    std::uint32_t version = 2;
    std::vector<PatchChange> changes;
    std::vector<PatchAdded> added;         // version 2
    std::vector<PatchRemoved> removed;     // version 2
    std::vector<PatchUnmatched> unmatched; // version 1
};

// The changes from a to b (both fully loaded), or only those of table `only`: item
// records paired by TypeID (records sharing one in index order) with their changed Name
// and numeric fields, the records of only one archive as added and removed; descriptions
// as each TypeID's first Desc record.
Patch MakePatch(const TableStore& a, const TableStore& b, std::optional<TableIndex> only);

// The patch file: {"format": "ledgrin-patch", "version": 2, "changes": [...], "added":
// [...], "removed": [...]}, one change or record per line.
std::string FormatPatch(const Patch& patch);

// Reads a patch file of version 1 or 2 strictly: JSON errors, a change or record without
// one of its members, two different changes of one field of one record and two different
// records added with one TypeID are refused; the same change or record given twice counts
// once. On error `problem` says where (line, and column for syntax) and what.
std::optional<Patch> ReadPatch(std::string_view text, Problem& problem);

enum class Outcome { Make, Already, Conflict };

struct ChangeOutcome {
    Outcome outcome = Outcome::Conflict;
    std::string found; // Conflict: what the target holds instead, for the message
    std::size_t record = static_cast<std::size_t>(-1); // a field or a name: the record that holds it
};

struct ApplyPlan {
    std::vector<Problem> problems;            // changes the patch cannot express in this archive
    std::vector<ChangeOutcome> outcomes;      // one per change, in the patch's order
    std::vector<ChangeOutcome> added;         // one per added record, in the patch's order
    std::size_t Count(Outcome outcome) const; // changes and added records
};

// Compares every change with the archive: "new" there already, "old" there (to be made),
// or a conflict (another value; a TypeID no record or several records hold). An added
// record is made when its table has no record with its TypeID, already there when one
// with the same bytes is, and a conflict otherwise, also when the archive holds its
// description with another text. A table without room for the records to add is a problem.
ApplyPlan PlanPatch(const TableStore& store, const Patch& patch);

// Makes the changes and adds the records planned as Make; returns the tables written.
// Field values are stored as given, a name clears its 40 bytes first, a description is
// rewritten or appended; an added record and its description go at the ends of their tables.
std::vector<TableIndex> ApplyPatch(TableStore& store, const Patch& patch, const ApplyPlan& plan);

// "Part TypeID 123 Price", "Part TypeID 123 \"Cap\"", and a value as a message shows it.
std::string ChangeLabel(const PatchChange& change);
std::string AddedLabel(const PatchAdded& added);
std::string ValueText(const PatchValue& value);
// ChangeLabel and ValueText appended to out: a dry run lists a line for every change.
void AppendChangeLabel(std::string& out, const PatchChange& change);
void AppendValueText(std::string& out, const PatchValue& value);
// What a change or an added record writes, the same for every spelling of its table and
// field, so changes of one target in several patches can be told apart.
std::string TargetKey(const PatchChange& change);
std::string TargetKey(const PatchAdded& added);

} // namespace ledgrin::cli
