#include "records/NameSearch.h"

#include <algorithm>

namespace ledgrin {

namespace {

unsigned char FoldAZ(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

} // namespace

std::optional<std::size_t> FindTextNoCase(std::string_view text, std::string_view pattern) {
    text = UpToNul(text);
    pattern = UpToNul(pattern);
    for (std::size_t start = 0; start + pattern.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < pattern.size() && FoldAZ(text[start + i]) == FoldAZ(pattern[i]))
            ++i;
        if (i == pattern.size()) return start;
    }
    return std::nullopt;
}

int CompareNamesNoCase(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int diff = FoldAZ(a[i]) - FoldAZ(b[i]);
        if (diff != 0) return diff;
    }
    return (a.size() > n) - (b.size() > n);
}

} // namespace ledgrin
