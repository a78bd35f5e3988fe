#include "audio/Songs.h"

#include <QCoreApplication>
#include <QDir>

#include "model/WindowState.h"
#include "audio/MusicPlayer.h"
#include "desktop/ProgramFolder.h"

namespace capzel::ui {

std::string musicFolder() { return musicFolderOf(QCoreApplication::applicationDirPath().toStdString()); }

std::string musicFolderOf(const std::string& programFolder) {
    // An installed copy keeps its songs in the shared data folder.
    const QString base = QString::fromStdString(installedCopy(programFolder) ? installedDataFolder(programFolder)
                                                                             : programFolder);
    return QDir::cleanPath(base + QStringLiteral("/media")).toStdString() + "/";
}

int countSongs(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    if (folder.empty() || !dir.exists()) return 0;
    // Songs are opened by their exact names ("1.mid"), so they are counted
    // by the same spelling.
    return int(dir.entryList({QStringLiteral("*.mid")}, QDir::Files | QDir::Hidden | QDir::CaseSensitive).size());
}

std::string songPath(const std::string& folder, int songNumber) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + std::to_string(songNumber) + ".mid";
}

void songEnded(MenuState& songs, bool loopChecked, MusicPlayer& player, const std::string& folder, int previous,
               int current) {
    if (previous != MusicPlayer::kPlaying || current != MusicPlayer::kStopped) return;
    if (!loopChecked) {
        if (songs.songNumber == songs.songCount) songs.songNumber = 1;
        else songs.songNumber = songs.songNumber + 1;
    }
    player.halt();
    player.setFile(songPath(folder, songs.songNumber));
    player.play();
}

}  // namespace capzel::ui
