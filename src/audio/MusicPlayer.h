// The background music player as the main window sees it: set a file (which
// loads it and starts playing), start, halt, a volume, and a notification on
// every change of its play state (2 = playing, 0 = stopped). Beside the
// music it strikes the game's sound effects, at a volume of their own.
#pragma once

#include <functional>
#include <string>

namespace capzel::ui {

class MusicPlayer {
public:
    static constexpr int kStopped = 0;
    static constexpr int kPlaying = 2;

    virtual ~MusicPlayer() = default;
    virtual void setFile(const std::string& path) = 0;
    virtual void play() = 0;
    // Stops at once. The halt is not announced as a change of play state,
    // so that the song-end handler never takes it for the end of a song.
    virtual void halt() = 0;

    // The music's volume in percent of the songs' own (0: silent, while the
    // song plays on).
    virtual void setVolume(int percent) { (void)percent; }
    // One stroke of General MIDI percussion key `key` at `velocity`
    // (1..127), at `volumePercent` of the effects' full volume.
    virtual void strike(int key, int velocity, int volumePercent) {
        (void)key;
        (void)velocity;
        (void)volumePercent;
    }

    // Called on the user-interface thread with (previous, new) state.
    std::function<void(int previous, int current)> onPlayStateChange;
};

}  // namespace capzel::ui
