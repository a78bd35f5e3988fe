// Scales, chords and a small repeatable random source for the composer.
#pragma once

#include <array>
#include <cstdint>

#include "Composer.h"

namespace midigen {

using Scale = std::array<int, 7>;

// The scale heard over a chord: minor keys raise the seventh step under the
// dominant chord (degree 4), which makes that chord major.
inline Scale scaleFor(Mode mode, int chordDegree) {
    if (mode == Mode::Major) return {0, 2, 4, 5, 7, 9, 11};
    Scale s{0, 2, 3, 5, 7, 8, 10};
    if (((chordDegree % 7) + 7) % 7 == 4) s[6] = 11;
    return s;
}

inline int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// MIDI key of scale step idx (0 = tonic, 7 = tonic an octave up, -1 = the
// step below the tonic).
inline int pitchOf(int idx, int tonicKey, const Scale& scale) {
    const int octave = floorDiv(idx, 7);
    return tonicKey + 12 * octave + scale[std::size_t(idx - 7 * octave)];
}

// True when scale step idx is the root, third or fifth of the chord.
inline bool isChordTone(int idx, int chordDegree) {
    const int d = ((idx - chordDegree) % 7 + 7) % 7;
    return d == 0 || d == 2 || d == 4;
}

// xorshift32: small, fast, and the same numbers on every platform.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t state_;
};

}  // namespace midigen
