// The music folder, its songs and the rotation from one song to the next.
#pragma once

#include <string>

namespace capzel {
struct MenuState;
}

namespace capzel::ui {

class MusicPlayer;

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
void songEnded(MenuState& songs, bool loopChecked, MusicPlayer& player, const std::string& folder,
               int previous, int current);

}  // namespace capzel::ui
