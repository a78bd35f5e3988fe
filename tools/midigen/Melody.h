// The tune: eight-bar sections built from rhythm patterns, chord tones on the
// strong beats and steps between them, with the opening motif coming back in
// the second half of the section.
#pragma once

#include <vector>

#include "Harmony.h"

namespace midigen {

// One melody note; start and length in eighth notes from the start of its bar.
struct Tone {
    int start = 0;
    int length = 0;
    int idx = 0;   // scale step, 0 = tonic
};

using Bar = std::vector<Tone>;

struct MelodyRange {
    int low = -2;
    int high = 9;
    int start = 2;   // where the first note is sought
};

// A section of chords.size() bars (a multiple of 4). The last note lands on
// the tonic; the fourth bar ends on a note of its chord.
std::vector<Bar> composeSection(const std::vector<int>& chords, int beatsPerBar, bool bridge,
                                const MelodyRange& range, Rng& rng);

// The same section with its last two bars written anew.
std::vector<Bar> varyEnding(const std::vector<Bar>& section, const std::vector<int>& chords,
                            int beatsPerBar, const MelodyRange& range, Rng& rng);

}  // namespace midigen
