// A kept game made ready to be watched: its record replayed once with no
// window, shot by shot, checking every shot against the record. It holds
// what the Watch window lists (who shot, what the rules said), the chart's
// standings, and the game as it stood before and after every shot, so that
// the window can jump anywhere and play any shot on its field. A record
// that plays differently (another version of the game) is kept up to the
// shot before the first difference, with a message naming that shot.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/LastShot.h"
#include "controls/SteppedRun.h"
#include "model/Game.h"
#include "records/GameRecord.h"
#include "ui/charts/GameChart.h"

namespace capzel {
class TurnController;
}

namespace capzel::ui {

// A row of the watched game: a shot, or an undo that took the last shot
// still in effect back (player 0, nothing launched).
struct WatchedShot {
    int player = 0;                 // who shot
    std::string shooter;            // that player's name
    std::vector<std::string> said;  // what the rules announced once it was judged
};

struct GamePosition {
    Game state;
    Field field;
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
    const GamePosition& after(int k) const { return after_[std::size_t(k)]; }
    // The game as shot k (from 1) was launched: aimed, its strength set
    // (for an undo, the game before it).
    const GamePosition& launch(int k) const { return launch_[std::size_t(k - 1)]; }
    // The game as each hidden command that came while shot k ran left it,
    // with the advance it came before.
    const std::vector<MidShotChange>& changes(int k) const { return changes_[std::size_t(k - 1)]; }

private:
    std::vector<WatchedShot> shots_;
    std::vector<GamePosition> after_;
    std::vector<GamePosition> launch_;
    std::vector<std::vector<MidShotChange>> changes_;
    GameStandings standings_;
    std::string stopMessage_;
};

// A watched shot run by the turn of the window's field, the changes of the
// hidden commands that came during it put on the game before the advance
// they came at, as the game's own replay puts them: the shot ends where the
// record says, with nothing to put right afterwards.
class WatchedShotRun final : public SteppedRun {
public:
    WatchedShotRun(TurnController& turn, Game& g, Field& field) : turn_(turn), g_(g), field_(field) {}

    // A shot the turn has just launched, and the changes made while it ran.
    void begin(const std::vector<MidShotChange>& changes);

    bool running() const override;
    long wait() const override;
    GameFlow advance() override;
    bool shotUnderWay() const override;

private:
    TurnController& turn_;
    Game& g_;
    Field& field_;
    std::vector<MidShotChange> changes_;
    std::size_t nextChange_ = 0;
    long advances_ = 0;
};

}  // namespace capzel::ui
