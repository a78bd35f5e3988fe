// The background music player as the main window sees it: set a file (which
// loads it and starts playing), start, halt, and a notification on every
// change of its play state (2 = playing, 0 = stopped).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace capzel {
struct GameState;
}

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

    // Called on the user-interface thread with (previous, new) state.
    std::function<void(int previous, int current)> onPlayStateChange;
};

// The real player, built on FluidSynth with a General MIDI soundfont. With
// no sound device or no soundfont it stays silent and never fails.
std::unique_ptr<MusicPlayer> createMusicPlayer();

// The music folder: "media/" beside the program (or the installed share
// folder, `../share/capzel/media/`, when the program runs from an installed
// copy); with neither, the first, so that its absence can be reported.
std::string musicFolder();
std::string musicFolderOf(const std::string& programFolder);

// Number of "*.mid" files in the folder; 0 when it is missing.
int countSongs(const std::string& folder);

// folder + "<n>.mid".
std::string songPath(const std::string& folder, int songNumber);

// The song-end handler: acts only for (previous, current) = (2, 0). Without
// the loop mark it moves songNumber on (back to 1 after songCount), then
// halts the player, sets the file of songNumber and starts it.
void songEnded(GameState& g, bool loopChecked, MusicPlayer& player, const std::string& folder,
               int previous, int current);

}  // namespace capzel::ui
