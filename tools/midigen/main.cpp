// midigen: writes the game's background songs 1.mid, 2.mid and 3.mid into
// the folder given on the command line. Everything is composed here, from
// the plans below; the output is the same on every run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Composer.h"

namespace {

using namespace midigen;

// General MIDI programs (numbered from 0).
constexpr int kElectricPiano = 4;
constexpr int kMarimba = 12;
constexpr int kNylonGuitar = 24;
constexpr int kAcousticBass = 32;
constexpr int kFingeredBass = 33;
constexpr int kPizzicato = 45;
constexpr int kStrings = 48;
constexpr int kClarinet = 71;
constexpr int kFlute = 73;

std::vector<SongPlan> plans() {
    SongPlan meadow;  // bright and easy-going, F major
    meadow.title = "Meadow Run";
    meadow.beatsPerMinute = 112;
    meadow.beatsPerBar = 4;
    meadow.tonicKey = 65;
    meadow.mode = Mode::Major;
    meadow.keySharps = -1;
    meadow.verse = {0, 5, 3, 4, 0, 3, 4, 0};
    meadow.bridge = {3, 4, 2, 5, 3, 4, 1, 4};
    meadow.form = "AaBA";
    meadow.melodyProgram = kFlute;
    meadow.chordProgram = kElectricPiano;
    meadow.bassProgram = kAcousticBass;
    meadow.chords = ChordStyle::Block;
    meadow.bass = BassStyle::Walking;
    meadow.drums = DrumStyle::Light;
    meadow.melodyVolume = 85;
    meadow.chordVolume = 97;
    meadow.bassVolume = 85;
    meadow.drumVolume = 86;
    meadow.seed = 20240611;

    SongPlan lake;  // a calm waltz, A minor
    lake.title = "Evening Lake";
    lake.beatsPerMinute = 96;
    lake.beatsPerBar = 3;
    lake.tonicKey = 69;
    lake.mode = Mode::Minor;
    lake.keySharps = 0;
    lake.verse = {0, 5, 2, 6, 0, 3, 4, 0};
    lake.bridge = {5, 2, 3, 0, 5, 2, 4, 4};
    lake.form = "AaBA";
    lake.melodyProgram = kClarinet;
    lake.chordProgram = kStrings;
    lake.bassProgram = kPizzicato;
    lake.chords = ChordStyle::Pad;
    lake.bass = BassStyle::Waltz;
    lake.drums = DrumStyle::None;
    lake.melodyVolume = 88;
    lake.chordVolume = 50;
    lake.bassVolume = 105;
    lake.seed = 77031;

    SongPlan kettle;  // bouncy, G major
    kettle.title = "Copper Kettle";
    kettle.beatsPerMinute = 128;
    kettle.beatsPerBar = 4;
    kettle.tonicKey = 67;
    kettle.mode = Mode::Major;
    kettle.keySharps = 1;
    kettle.verse = {0, 3, 0, 4, 0, 3, 4, 0};
    kettle.bridge = {5, 3, 0, 4, 5, 1, 4, 4};
    kettle.form = "AaBA";
    kettle.melodyProgram = kMarimba;
    kettle.chordProgram = kNylonGuitar;
    kettle.bassProgram = kFingeredBass;
    kettle.chords = ChordStyle::Arpeggio;
    kettle.bass = BassStyle::Pulse;
    kettle.drums = DrumStyle::Light;
    kettle.melodyVolume = 127;
    kettle.chordVolume = 114;
    kettle.bassVolume = 77;
    kettle.drumVolume = 86;
    kettle.seed = 5150;

    return {meadow, lake, kettle};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: midigen <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    int number = 1;
    for (const SongPlan& plan : plans()) {
        const std::vector<std::uint8_t> bytes = writeSmf(compose(plan));
        const std::filesystem::path file = folder / (std::to_string(number++) + ".mid");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "midigen: cannot write %s\n", file.string().c_str());
            return 1;
        }
    }
    return 0;
}
