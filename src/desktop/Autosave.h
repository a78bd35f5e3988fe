// The running game kept on disk, so that closing the program or a crash
// loses nothing: after every judged shot (and when a game starts, is loaded
// or a shot is taken back) the game is written in the saved-game format to
// a file in the per-user data folder, replacing the file safely. A game that
// has ended removes the file. At the next start the game in it may be
// resumed.
//
// Several copies of the program may run at once and share that folder, so
// the files are slots: "autosave.CSG", "autosave-2.CSG", ... Each running
// copy holds the slot it writes with a lock file beside it ("<file>.lock",
// taken over when the copy that left it is no longer running), and no copy
// reads, offers, replaces or removes a slot another running copy holds.
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/SavedGame.h"

class QLockFile;

namespace capzel {
class Platform;
struct Game;
struct Board;
}  // namespace capzel

namespace capzel::ui {

inline constexpr const char* kResumeQuestion = "Resume the unfinished game from last time?";
inline constexpr const char* kResumeChoicePrompt =
    "Several unfinished games were kept from last time. Choose the one to resume:";

// Copies of the program that can each keep a game at once; a copy started
// while every slot is held keeps none, and says so once.
inline constexpr int kAutosaveSlots = 8;

// Slot `slot` (1 to kAutosaveSlots) in `folder`: "autosave.CSG" for the
// first, "autosave-<slot>.CSG" after it.
std::string autosaveSlotFile(const std::string& folder, int slot);

// The first slot's file in the per-user data folder.
std::string autosaveFile();

// Writes the running game to `path`, or removes the file when no game runs.
// Gives what went wrong, or the empty text.
std::string keepAutosave(Platform& files, const Game& g, const std::string& path);

struct AutosaveReading {
    std::optional<SavedGame> game;  // an unfinished game to offer
    std::string notice;             // for the player: the file was refused and set aside
};

// Reads `path` at start-up. A missing file, or one without players, offers
// nothing. A file that is not a saved game, or holds a game in which every
// player is out (nobody could take a turn), is renamed aside with a notice.
AutosaveReading readAutosave(Platform& files, const std::string& path);

// A kept game that no running copy holds, offered at start-up.
struct KeptGame {
    std::string path;
    SavedGame game;
    QString keptAt;  // when the file was last written, for the player's choice
};

// "Ann, Bob and Cleo: Bob's turn, kept 2026-12-08 10:22".
QString describeKeptGame(const KeptGame& kept);

// The slots of this running copy.
class AutosaveSlots {
public:
    explicit AutosaveSlots(std::string folder);
    ~AutosaveSlots();
    AutosaveSlots(const AutosaveSlots&) = delete;
    AutosaveSlots& operator=(const AutosaveSlots&) = delete;

    struct Scan {
        std::vector<KeptGame> games;       // unfinished games, lowest slot first
        std::vector<std::string> notices;  // files refused and set aside
    };

    // At start-up: holds every slot that keeps a file and that no running
    // copy holds, and reads the games in them. Until settle() the copy
    // holds them all, so no copy started meanwhile offers them too.
    Scan claimFreeSlots(Platform& files);

    // Keeps the slot of `path` for this run (a resumed game goes on in its
    // own file) and lets the other slots go, for this copy's own first
    // write and for other copies.
    void settle(const std::string& path = {});

    // This copy's file. A copy that has no slot yet takes the lowest one
    // no running copy holds (a game declined at start-up in it is replaced
    // by the next game, as with a single file); the empty text when no slot
    // could be taken, and then why() tells the player why.
    std::string file();
    std::string why() const;

private:
    bool hold(int slot);

    std::string folder_;
    std::map<int, std::unique_ptr<QLockFile>> held_;
    int own_ = 0;  // the slot this copy writes, 0 before one is chosen
    bool folderRefused_ = false;  // a lock could not even be made (rights, a full disk)
};

}  // namespace capzel::ui
