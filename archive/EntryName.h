// Comparing archive entry names the way the game's archive is read: whole names, with
// only A to Z folded, so the result never depends on the locale or the C runtime.
#pragma once

#include <string_view>

namespace ledgrin {

// True when a and b are the same name apart from the case of A to Z ("data/Part.iff" is
// not "Part.iff"; bytes from 0x80 up compare as they are).
bool EntryNamesEqual(std::string_view a, std::string_view b);

} // namespace ledgrin
