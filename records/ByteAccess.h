// Little-endian reads and writes at a byte offset. Writers store the low bits that fit
// the field and touch no other byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ledgrin {

inline std::uint8_t ReadU8(const std::uint8_t* p, std::size_t off) {
    return p[off];
}

inline std::uint16_t ReadU16(const std::uint8_t* p, std::size_t off) {
    return static_cast<std::uint16_t>(p[off] | (p[off + 1] << 8));
}

inline std::uint32_t ReadU32(const std::uint8_t* p, std::size_t off) {
    return static_cast<std::uint32_t>(p[off]) | (static_cast<std::uint32_t>(p[off + 1]) << 8) |
           (static_cast<std::uint32_t>(p[off + 2]) << 16) | (static_cast<std::uint32_t>(p[off + 3]) << 24);
}

inline void WriteU8(std::uint8_t* p, std::size_t off, std::uint32_t v) {
    p[off] = static_cast<std::uint8_t>(v);
}

inline void WriteU16(std::uint8_t* p, std::size_t off, std::uint32_t v) {
    p[off] = static_cast<std::uint8_t>(v);
    p[off + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void WriteU32(std::uint8_t* p, std::size_t off, std::uint32_t v) {
    p[off] = static_cast<std::uint8_t>(v);
    p[off + 1] = static_cast<std::uint8_t>(v >> 8);
    p[off + 2] = static_cast<std::uint8_t>(v >> 16);
    p[off + 3] = static_cast<std::uint8_t>(v >> 24);
}

// Reads or writes an unsigned field of 1, 2 or 4 bytes.
inline std::uint32_t ReadField(const std::uint8_t* p, std::size_t off, std::size_t width) {
    switch (width) {
    case 1: return ReadU8(p, off);
    case 2: return ReadU16(p, off);
    default: return ReadU32(p, off);
    }
}

inline void WriteField(std::uint8_t* p, std::size_t off, std::size_t width, std::uint32_t v) {
    switch (width) {
    case 1: WriteU8(p, off, v); break;
    case 2: WriteU16(p, off, v); break;
    default: WriteU32(p, off, v); break;
    }
}

// Calls run(begin, end) for each run of offsets in [from, to) at which a and b differ,
// first to last; an equal byte ends a run. Equal stretches are passed over 8 bytes at a time.
template <class Run>
void ForEachDifferingRun(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t to,
                         Run run) {
    std::size_t o = from;
    while (o < to) {
        if (o + 8 <= to && std::memcmp(a + o, b + o, 8) == 0) {
            o += 8;
            continue;
        }
        if (a[o] == b[o]) {
            ++o;
            continue;
        }
        std::size_t end = o;
        while (end < to && a[end] != b[end])
            ++end;
        run(o, end);
        o = end;
    }
}

} // namespace ledgrin
