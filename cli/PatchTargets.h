// What a patch change can touch, shared by the reader, the planner and the applier of
// patches (not for other users).
#pragma once

#include "cli/Patch.h"
#include "records/RecordFields.h"

#include <optional>
#include <string>
#include <string_view>

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

// The change's target as a key, the same for every spelling of its table and field;
// nullopt when it names no such thing.
std::optional<std::string> ResolvedKey(const PatchChange& c);

} // namespace ledgrin::cli
