// A kept game made ready to be watched: its record replayed once with no
// window, shot by shot, checking every shot against the record. It holds
// what the Watch window lists (who shot, what the rules said), the chart's
// standings, the game as it stood after every shot and, for every shot,
// the game it starts from and the shot itself, so that the window can jump
// anywhere and play any shot on its field through the rulebook. A record
// that plays differently (another version of the game) is kept up to the
// shot before the first difference, with a message naming that shot.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Command.h"
#include "model/Game.h"
#include "records/GameRecord.h"
#include "ui/charts/GameChart.h"

namespace capzel::ui {

// A row of the watched game: a shot, or an undo that took the last shot
// still in effect back (player 0, nothing launched).
struct WatchedShot {
    int player = 0;                 // who shot
    std::string shooter;            // that player's name
    std::vector<std::string> said;  // what the rules announced once it was judged
};

class WatchedGame {
public:
    // Reads and replays `recordText`. A record that cannot be read gives
    // nothing and `refusal` says which field is wrong.
    static std::unique_ptr<WatchedGame> open(std::string_view recordText, std::string& refusal);
    // Replays a record already read.
    explicit WatchedGame(const GameRecord& record);

    // The shots and undos that play as recorded.
    int shotCount() const { return int(shots_.size()); }
    bool isUndo(int k) const { return shot(k).player == 0; }
    const WatchedShot& shot(int k) const { return shots_[std::size_t(k - 1)]; }
    const GameStandings& standings() const { return standings_; }
    // Empty when every shot of the record played as recorded.
    const std::string& stopMessage() const { return stopMessage_; }

    // The game after shot k is judged (0: as it began).
    const Game& after(int k) const { return after_[std::size_t(k)]; }
    // The game shot k (from 1) starts from, and the shot as it was played
    // (with the hidden commands that came while it ran); for an undo, the
    // game before it and no shot.
    const Game& before(int k) const { return before_[std::size_t(k - 1)]; }
    const ShotCommand& command(int k) const { return commands_[std::size_t(k - 1)]; }

private:
    std::vector<WatchedShot> shots_;
    std::vector<Game> after_;
    std::vector<Game> before_;
    std::vector<ShotCommand> commands_;
    GameStandings standings_;
    std::string stopMessage_;
};

}  // namespace capzel::ui
