// A small, fixed pseudo-random generator (SplitMix64). The demo archive must be the
// same on every machine and compiler, which std::uniform_int_distribution does not promise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ledgrin {

class DemoRandom {
  public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    // An independent stream for one purpose (a table, its filler) of one seed.
    static DemoRandom Stream(std::uint32_t seed, std::uint32_t purpose) {
        DemoRandom mix((static_cast<std::uint64_t>(seed) << 32) ^ (purpose * 0x9E3779B9u));
        return DemoRandom(mix.Next64());
    }

    std::uint64_t Next64() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Next() { return static_cast<std::uint32_t>(Next64() >> 32); }

    // 0 to n - 1 (n > 0); the small bias of the modulo does not matter here.
    std::uint32_t Below(std::uint32_t n) { return Next() % n; }
    // lo to hi inclusive.
    std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) { return lo + Below(hi - lo + 1); }
    bool Percent(std::uint32_t p) { return Below(100) < p; }

    template <typename T, std::size_t N> const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<std::uint32_t>(N))];
    }

  private:
    std::uint64_t state_;
};

} // namespace ledgrin
