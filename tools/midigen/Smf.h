// A small writer for Standard MIDI Files (format 1): one conductor track with
// tempo, metre and key, then one track per instrument.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace midigen {

constexpr int kTicksPerQuarter = 480;

struct Note {
    int tick = 0;      // start, in ticks from the beginning of the song
    int length = 0;    // in ticks
    int key = 60;      // MIDI key number
    int velocity = 80;
};

struct Track {
    std::string name;
    int channel = 0;   // 0..15; channel 9 is the percussion channel
    int program = 0;   // General MIDI program 0..127
    int volume = 100;  // controller 7
    int pan = 64;      // controller 10
    int reverb = 40;   // controller 91
    int chorus = 0;    // controller 93
    std::vector<Note> notes;
};

struct Song {
    std::string title;
    int beatsPerMinute = 120;
    int beatsPerBar = 4;      // quarter-note beats
    int keySharps = 0;        // key signature: sharps (> 0) or flats (< 0)
    bool minorKey = false;
    int endTick = 0;          // where every track ends
    std::vector<Track> tracks;
};

// The complete file, ready to be written as it is.
std::vector<std::uint8_t> writeSmf(const Song& song);

}  // namespace midigen
