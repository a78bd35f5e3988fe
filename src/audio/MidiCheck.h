// A quick structural check of a Standard MIDI File, done before a song is
// handed to the synthesiser so that a missing, empty or foreign file never
// starts (and at once ends) a song.
#pragma once

#include <string>
#include <vector>

namespace capzel::ui {

// True when the bytes are a header chunk "MThd" (format 0, 1 or 2, a
// non-zero division) followed by chunks that all fit the file, with at least
// one track chunk "MTrk".
bool isStandardMidiFile(const std::vector<char>& bytes);

// The whole file, or an empty vector when it cannot be read or is larger
// than any song has reason to be (4 MB).
std::vector<char> readSongFile(const std::string& path);

}  // namespace capzel::ui
