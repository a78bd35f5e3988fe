// Plays a song file into memory instead of a sound card: how long it runs
// and how loud it is. The music tests use it to check that the songs
// really sound.
#pragma once

#include <string>

namespace capzel::test {

struct SongRendering {
    bool readable = false;      // the file is a Standard MIDI File
    bool started = false;       // the player took the song and its clock moved
    bool finished = false;      // the player came to its end within the limit
    int totalTicks = 0;         // length of the song in MIDI ticks
    double seconds = 0.0;       // audio rendered until the end (or the limit)
    double rms = 0.0;           // over both channels; full scale is 1.0
    double peak = 0.0;          // largest absolute sample
};

// Renders the song at 44100 frames per second until the player is done or
// `maxSeconds` of audio have been made, with no audio device involved.
SongRendering renderSong(const std::string& midiPath, const std::string& soundfont, double maxSeconds);

}  // namespace capzel::test
