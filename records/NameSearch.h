// The name search and the name order of the item list. Both fold only A to Z, so bytes
// from 0x80 up compare the same on every platform and in every locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ledgrin {

// Position of the first occurrence of pattern in text, folding only A to Z; bytes from
// 0x80 up are compared as they are. Both end at an embedded NUL. An empty pattern is
// found at 0.
std::optional<std::size_t> FindTextNoCase(std::string_view text, std::string_view pattern);

// Name order: each byte mapped A-Z to lower case, then compared unsigned; a name that is
// a prefix of the other sorts first. Negative, 0 or positive.
int CompareNamesNoCase(std::string_view a, std::string_view b);

} // namespace ledgrin
