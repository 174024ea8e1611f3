// What a patch change can touch, shared by the reader, the planner and the applier of
// patches (not for other users).
#pragma once

#include "cli/Patch.h"
#include "records/RecordFields.h"

#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace ledgrin::cli {

// The "format" member of every patch file.
inline constexpr const char* kPatchFormat = "ledgrin-patch";

PatchValue Number(std::uint32_t n);
PatchValue Text(std::string_view text);

enum class Target { None, Field, Name, Description };

struct Resolved {
    Target target = Target::None;
    TableIndex table = 0;
    const FieldDef* field = nullptr;
};

// What a change can touch, or (target None) why it cannot.
Resolved Resolve(const PatchChange& c, std::string& why);

// What a change writes, the same for every spelling of its table and field; nullopt when
// it names no such thing. ResolvedKey gives it as text.
struct ChangeTarget {
    TableIndex table = 0;
    std::uint32_t typeId = 0;
    Target target = Target::None;
    const FieldDef* field = nullptr;
    bool operator<(const ChangeTarget& o) const {
        return std::tie(table, typeId, target, field) < std::tie(o.table, o.typeId, o.target, o.field);
    }
    bool operator==(const ChangeTarget& o) const {
        return std::tie(table, typeId, target, field) == std::tie(o.table, o.typeId, o.target, o.field);
    }
};
std::optional<ChangeTarget> ResolvedTarget(const PatchChange& c);
std::optional<std::string> ResolvedKey(const PatchChange& c);

} // namespace ledgrin::cli
