// The Update limited to what a command asked for: a batch tool must not normalise bytes
// that nobody touched, so only changed fields and what the Update derives from them move.
#pragma once

#include "records/TableInfo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin {

// Record `stored` of item table t after the Update of the values in `wanted` (the stored
// record with the asked-for field values put in as they are) and of newName (nullptr:
// the name stays). Of the Update's result only these bytes are taken:
// - a field whose value differs between `wanted` and `stored`;
// - a field the Update writes differently than it would for the unchanged record
//   (PriceCopy after Price, MonthlyPrice, StatCopy after a stat, the bonus word);
// - all 40 bytes of a changed name, cleared first as the Update does.
// Every other byte, named or not, is copied from `stored`. May throw std::bad_alloc.
std::vector<std::uint8_t> ExactUpdate(TableIndex t, const std::uint8_t* stored, const std::uint8_t* wanted,
                                      const std::string* newName);

} // namespace ledgrin
