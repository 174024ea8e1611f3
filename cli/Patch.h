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

// A record found in only one of the two archives, which a patch cannot carry.
struct PatchUnmatched {
    std::string table;
    std::uint32_t typeId = 0;
    std::string name; // the item's name or the description's text
    bool inNew = false;
};

struct Patch {
    std::vector<PatchChange> changes;
    std::vector<PatchUnmatched> unmatched;
};

// The changes from a to b (both fully loaded), or only those of table `only`: item
// records paired by TypeID (records sharing one in index order) with their changed Name
// and numeric fields; descriptions as each TypeID's first Desc record.
Patch MakePatch(const TableStore& a, const TableStore& b, std::optional<TableIndex> only);

// The patch file: {"format": "ledgrin-patch", "version": 1, "changes": [...], "unmatched": [...]},
// one change per line.
std::string FormatPatch(const Patch& patch);

// Reads a patch file strictly: JSON errors, a change without one of its members, and two
// different changes of one field of one record are refused; a change given twice counts
// once. On error `problem` says where (line, and column for syntax) and what.
std::optional<Patch> ReadPatch(std::string_view text, Problem& problem);

enum class Outcome { Make, Already, Conflict };

struct ChangeOutcome {
    Outcome outcome = Outcome::Conflict;
    std::string found; // Conflict: what the target holds instead, for the message
};

struct ApplyPlan {
    std::vector<Problem> problems;       // changes the patch cannot express in this archive
    std::vector<ChangeOutcome> outcomes; // one per change, in the patch's order
    std::size_t Count(Outcome outcome) const;
};

// Compares every change with the archive: "new" there already, "old" there (to be made),
// or a conflict (another value; a TypeID no record or several records hold).
ApplyPlan PlanPatch(const TableStore& store, const Patch& patch);

// Makes the changes planned as Make; returns the tables written. Field values are stored
// as given, a name clears its 40 bytes first, a description is rewritten or appended.
std::vector<TableIndex> ApplyPatch(TableStore& store, const Patch& patch, const ApplyPlan& plan);

// "Part TypeID 123 Price", and a value as a message shows it.
std::string ChangeLabel(const PatchChange& change);
std::string ValueText(const PatchValue& value);

} // namespace ledgrin::cli
