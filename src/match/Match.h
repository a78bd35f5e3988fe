// A game and the log of the commands that made it: the one thing every way
// of playing holds. The window's session, the server's room, the online
// client, Watch and the record tools each play through a Match, so they all
// check and apply commands in the same place (rules/Rulebook.h) and keep the
// same record (records/GameRecord.h).
//
// A match starts from any game: a new one whose first turn has started, a
// loaded one, or a game taken over midway (joined online, or replaced by the
// server's). Its record starts there, so every game has one.
//
// Shots are played whole (play) or stepped by a clock (launch, then the shot
// in play's advances, then finishShot). A hidden command runs between two
// shots as an entry of its own, or during a shot, kept with the shot at the
// advance it came. Undo takes the last shot still in effect back; redo plays
// the shots taken back again, exactly as they were played, until a new
// command is played.
#pragma once

#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "model/Command.h"
#include "model/Game.h"
#include "model/Refusal.h"
#include "records/GameRecord.h"
#include "rules/Rulebook.h"
#include "rules/ShotInPlay.h"

namespace capzel {

// What playing a command gave: a refusal, or what it did.
struct Played {
    std::optional<Refusal> refusal;
    Outcome outcome;
    bool taken() const { return !refusal; }
};

class Match {
public:
    // A match of `start` as it stands; `said` is what its first turn start
    // announced (nothing for a game taken over midway).
    explicit Match(Game start = Game{}, std::vector<Announcement> said = {});
    ~Match();
    Match(Match&&) noexcept;
    Match& operator=(Match&&) noexcept;
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    const Game& game() const { return game_; }
    const GameRecord& record() const { return record_; }
    // Shots played and still in effect.
    int shotsInEffect() const { return int(launches_.size()); }

    // Whether the command can be played now (a shot under way refuses shots).
    std::optional<Refusal> validate(const Command& command) const;

    // Checks, applies and logs a whole command. A hidden command during a
    // shot in play runs between its advances and is kept with the shot.
    Played play(const Command& command);

    // A shot to step with a clock: checked and launched; null when refused
    // (see `refusal`). The shot in play is advanced by its driver, then
    // finishShot() judges and logs it.
    ShotInPlay* launch(const ShotCommand& shot, std::optional<Refusal>* refusal = nullptr);
    ShotInPlay* shotInPlay() { return inPlay_.get(); }
    const ShotInPlay* shotInPlay() const { return inPlay_.get(); }
    // Judges the shot in play once it rests, and logs it.
    Outcome finishShot();
    // The game is being replaced or closed mid-shot: the shot in play goes,
    // its pieces stopped where they are, and nothing of it is logged.
    void dropShot();

    // Taking the last shot in effect back, and playing the shots taken back
    // again. Neither while a shot is in play.
    bool canUndo() const;
    bool undo();
    bool canRedo() const;
    Played redo();
    // The shot the next redo plays.
    const RecordedShot* nextRedo() const { return redoable_.empty() ? nullptr : &redoable_.back(); }

    // The last shot in effect and the game as it stood at its launch (for a
    // replay of it on screen); null before the first shot.
    const RecordedShot* lastShot() const;
    const Game* gameAtLastLaunch() const;

    // Records of the first version: what the player had left on the board
    // when a command or an undo came is put on the game first, as it was.
    void putBoardInputs(const BoardInputs& before);

    // When the game began and ended, for the record (ISO 8601 text).
    void setTimes(std::string began, std::string ended);

private:
    ShotInPlay* launchShot(const ShotCommand& shot, std::optional<Refusal>* refusal);
    void log(RecordEntry entry);
    void noteWinner(const std::vector<Announcement>& said);

    Game game_;
    GameRecord record_;
    // The game at the launch of each shot still in effect, and its entry.
    struct Launch {
        Game atLaunch;
        std::size_t entry;
    };
    std::vector<Launch> launches_;
    std::vector<RecordedShot> redoable_;  // the last taken back at the end
    std::unique_ptr<ShotInPlay> inPlay_;
    Game beforeInPlay_;
    std::vector<MidShotCommand> inPlayCommands_;  // live commands during the shot in play
};

// The game at the launch of `shot` from `before`: the shot's inputs on it
// (a placement by hand, the aim line, hidden) and the shot under way.
Game gameAtLaunch(const Game& before, const ShotCommand& shot);

// Takes a shot back: `now` becomes the game as it stood at the shot's
// launch (`atLaunch`): places, speeds, scores, targets, flags, killers and
// whose turn, with no shot under way and the aim line hidden; whether walls
// are in play, the walls, the piece holder and the aim line's ends stay as
// they are now.
void restoreLaunch(Game& now, const Game& atLaunch);

}  // namespace capzel
