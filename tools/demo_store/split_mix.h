#pragma once

#include <cstdint>
#include <span>

namespace demostore {

// SplitMix64: tiny, fast and defined bit for bit, so a seed gives the same store with any
// compiler or standard library (the standard distributions do not promise that).
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A value in [0, bound); the modulo bias is far below anything demo data could show.
    std::uint64_t below(std::uint64_t bound) { return bound == 0 ? 0 : next() % bound; }

    // A value in [low, high].
    int between(int low, int high) {
        return low + static_cast<int>(below(static_cast<std::uint64_t>(high - low) + 1));
    }

    // True with the given chance in percent.
    bool percent(int chance) { return below(100) < static_cast<std::uint64_t>(chance); }

    template <typename T> const T& pick(std::span<const T> items) {
        return items[static_cast<std::size_t>(below(items.size()))];
    }

private:
    std::uint64_t state_;
};

// Independent streams from one seed, so adding a special story leaves the ordinary stories
// as they were.
inline SplitMix64 streamFor(std::uint64_t seed, std::uint64_t stream) {
    SplitMix64 mixer(seed ^ (stream * 0xD1B54A32D192ED03ULL));
    return SplitMix64(mixer.next());
}

} // namespace demostore
