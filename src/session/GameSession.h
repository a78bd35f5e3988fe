// A game and everything that plays it, apart from any window: the game's
// state and field, the turn with its run under way (a charge, a shot, a
// replay), the computer's turns, taking a shot back, and keeping the running
// game for a start after a crash or a close.
//
// A window opens a board on the session to play on: a fresh field and a
// fresh turn, whose boxes and clock are the window's platform. The window
// drives the turn's runs from its clock, draws what the session holds and
// forwards its input. The session shows nothing itself: what the rules
// announce comes back as data, for the window to tell between two steps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ComputerTurn.h"
#include "controls/HiddenCommands.h"
#include "controls/RemoteShotTurn.h"
#include "model/GameSnapshot.h"
#include "controls/TurnController.h"
#include "model/Field.h"
#include "model/GameState.h"
#include "records/GameRecord.h"
#include "records/NewGame.h"
#include "records/SavedGame.h"

namespace capzel {

// Where the running game is kept between starts of the program.
class GameKeeper {
public:
    virtual ~GameKeeper() = default;
    virtual void keep(const GameState& g, const Field& field) = 0;
};

// The inputs of the shot launched last (its seat, aim line, strength and a
// placement by hand), as a game record and the online game keep them.
RecordedShot launchedShotInputs(const LastShot& last);

class GameSession {
public:
    // The run-long tables (names, scores, colours, frictions) live as long
    // as the session; `keeper` (none: nothing is kept) must outlive it.
    explicit GameSession(GameKeeper* keeper = nullptr) : keeper_(keeper) {}

    GameState& state() { return g_; }
    const GameState& state() const { return g_; }
    Field& field() { return field_; }
    const Field& field() const { return field_; }

    // A board to play on: the field as laid out with nothing moving, and a
    // new turn whose boxes and clock are `ui`'s. The turn of a board opened
    // before goes on existing for as long as its window holds it, but no
    // longer plays this game.
    std::shared_ptr<TurnController> openBoard(Platform& ui);
    // The board of `ui` goes: the computer's turn and the run under way end.
    void closeBoard(const Platform& ui);
    bool hasBoard() const { return turn_ != nullptr; }

    // The game, its field and the board's platform (a board must be open).
    GameContext context();
    TurnController& turn() { return *turn_; }
    const TurnController& turn() const { return *turn_; }

    // The one way a game begins, new or loaded (or resumed): it is built on
    // the open board, kept, and its first turn starts. New games need a
    // freshly opened board; a loaded game replaces the running one, whose
    // run under way ends. Gives the turn start's announcements to tell; when
    // the game has ended in it, the caller records it and calls keep().
    Judgement beginNewGame(const NewGameSettings& settings);
    Judgement beginSavedGame(const SavedGame& game);
    // A game of any setup (model/GameSetup.h), begun as a load begins one.
    Judgement beginGame(const GameSetup& setup);

    // A hidden command between two steps of the run: a shot under way keeps
    // the change for its replay. Gives what the command announces.
    Judgement runCommand(GameCommand command);

    // After the window's clock has advanced the run: a newly judged shot
    // is kept.
    void advanced();
    // Taking shots back, one at a time, as far as the game's first shot:
    // the first takes the last shot back as the turn does (turn().undo()),
    // every further one restores the game as the shot before was launched,
    // by playing the record again from its setup with no window (every
    // entry on the way checked against its hash). Possible while the game
    // runs and nothing is under way or being judged. Keeps the game.
    bool canUndo() const;
    bool undo();
    // Plays the shots taken back again, the last one taken back first,
    // until a shot is played or a command changes the game. Keeps the game.
    bool canRedo() const;
    bool redo();

    // The record of the running game (records/GameRecord.h): its setup, and
    // every judged shot, hidden command and undo since it began.
    const GameRecord& record() const { return record_; }
    // Where the record's times come from: the time as ISO 8601 text. None:
    // the record's times stay empty.
    void setTimeSource(std::function<std::string()> now) { now_ = std::move(now); }
    // Keeps the game as it stands now.
    void keep();

    // Whether the seat whose turn it is belongs to a computer.
    bool seatIsComputer() const { return computerToPlay(g_); }
    // The computer's turn, once started and until ended (it may be over).
    ComputerTurn* computerTurn() { return computer_.get(); }
    // Starts the computer's turn, when the seat is a computer's and nothing
    // runs or is still being judged; null otherwise. `seed` draws its misses.
    ComputerTurn* startComputerTurn(std::uint64_t seed);
    // Ends the computer's turn where it stands; the turn's runs are the
    // window's again.
    void endComputerTurn();

    // An online game: which seats are played at this computer (none set:
    // every seat is, as in any game here). A seat played elsewhere takes no
    // turn here, neither a person's nor the computer's; its shots come as
    // remote shots.
    void setSeatsPlayedHere(std::function<bool(int seat)> playedHere) { playedHere_ = std::move(playedHere); }
    bool online() const { return bool(playedHere_); }
    // Whether the seat whose turn it is is played at another computer, and
    // whether `seat` is played here.
    bool seatIsRemote() const;
    bool seatPlayedHere(int seat) const { return !playedHere_ || playedHere_(seat); }
    // Shows a shot played elsewhere on the board (controls/RemoteShotTurn.h),
    // when nothing runs or is still being judged; null otherwise. It ends
    // with endComputerTurn() as the computer's turn does.
    RemoteShotTurn* startRemoteShot(const RecordedShot& shot);
    RemoteShotTurn* remoteShot() { return remote_.get(); }
    // The game of an online room as its server sent it: a new game (no shot
    // played yet) begins as `newGame` makes it, with its record, when that
    // gives the server's game to the bit; otherwise the game becomes the
    // snapshot as it is, and its record starts empty. Gives the first turn's
    // announcements of a new game to tell.
    Judgement beginOnlineGame(const GameSnapshot& snapshot, const std::optional<NewGameSettings>& newGame);

private:
    Judgement startFirstTurn(const GameSetup& setup);
    // A shot the turn has judged since the last look goes into the record.
    void recordJudgedShot();
    void recordEntry(RecordEntry entry);
    void noteEnd(const std::vector<Announcement>& said);
    // Plays `record` (the running one with one entry more) from its setup;
    // when every entry matches (the new one too when its outcome is known),
    // the game becomes what it left and the new entry gets that outcome.
    bool restoreFromRecord(GameRecord& record, bool lastKnown);
    bool undoOrRedoPossible() const;
    BoardInputs boardInputs() const;

    GameKeeper* keeper_;
    GameState g_;
    Field field_;
    Platform* ui_ = nullptr;
    std::shared_ptr<TurnController> turn_;
    std::unique_ptr<ComputerTurn> computer_;
    std::unique_ptr<RemoteShotTurn> remote_;
    std::function<bool(int)> playedHere_;
    int keptShots_ = 0;

    GameRecord record_;
    int recordedShots_ = 0;                     // the turn's judged shots already in the record
    std::vector<RecordedShot> redoable_;        // shots taken back, the last taken back at the end
    std::vector<MidShotCommand> shotCommands_;  // commands during the shot under way
    std::function<std::string()> now_;
};

}  // namespace capzel
