#pragma once
// A small pseudo-random generator (splitmix64) whose output is the same on every platform
// and standard library, so that demo data depend only on the seed.
#include <cstdint>

namespace demo::detail {

class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A value in [0, n), n > 0 (multiply-shift; its bias is far below anything that matters
    // for demo data).
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
    }
    int Between(int low, int high) {  // inclusive
        return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
    }
    bool Percent(std::uint32_t p) { return Below(100) < p; }

  private:
    std::uint64_t state_;
};

// An independent stream per purpose, so that changing one table's rows leaves the others as
// they were.
inline SplitMix64 Stream(std::uint32_t seed, std::uint64_t purpose) {
    SplitMix64 mixer((static_cast<std::uint64_t>(seed) << 32) ^ (purpose * 0xD1B54A32D192ED03ULL));
    return SplitMix64(mixer.Next());
}

}  // namespace demo::detail
