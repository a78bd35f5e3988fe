// Turns a short plan (key, metre, chord changes, instruments, form) into a
// complete song: a melody, an accompaniment, a bass line and, if wanted, a
// light drum part. The same plan always gives the same notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Smf.h"

namespace midigen {

enum class Mode { Major, Minor };             // minor uses a major dominant chord
enum class ChordStyle { Block, Pad, Arpeggio };
enum class BassStyle { Walking, Pulse, Waltz };
enum class DrumStyle { None, Light };

struct SongPlan {
    std::string title;
    int beatsPerMinute = 112;
    int beatsPerBar = 4;          // 3 or 4
    int tonicKey = 65;            // the key's tonic in the melody's octave
    Mode mode = Mode::Major;
    int keySharps = 0;
    std::vector<int> verse;       // chord per bar (scale degree, 0 = tonic), 8 bars
    std::vector<int> bridge;      // chord per bar of the middle section, 8 bars
    std::string form = "AaBA";    // A verse, a verse with a new ending, B bridge
    int melodyProgram = 0;
    int chordProgram = 0;
    int bassProgram = 32;
    ChordStyle chords = ChordStyle::Block;
    BassStyle bass = BassStyle::Walking;
    DrumStyle drums = DrumStyle::None;
    // The mix (controller 7 of each part): the instruments of the soundfont
    // differ in loudness, so every song sets its own balance.
    int melodyVolume = 90;
    int chordVolume = 80;
    int bassVolume = 85;
    int drumVolume = 80;
    std::uint32_t seed = 1;
};

Song compose(const SongPlan& plan);

}  // namespace midigen
