// A game and everything that plays it at one computer, apart from any
// window: the match (the game and its record), the board's turn with its
// run under way (a charge, a shot, a replay), the computer's turns, shots
// played at other computers, taking shots back and playing them again, and
// keeping the running game for a start after a crash or a close.
//
// A window opens a board on the session to play on: a fresh turn whose
// boxes and clock are the window's platform. The window drives the turn's
// runs from its clock, draws what the turn shows and forwards its input.
// The session shows nothing itself: what the rules announce comes back as
// data, for the window to tell between two steps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/ComputerTurn.h"
#include "controls/RemoteShotTurn.h"
#include "controls/TurnController.h"
#include "match/Match.h"
#include "model/Command.h"
#include "model/Game.h"
#include "records/GameRecord.h"
#include "records/NewGame.h"
#include "records/SavedGame.h"

namespace capzel {

// Where the running game is kept between starts of the program.
class GameKeeper {
public:
    virtual ~GameKeeper() = default;
    virtual void keep(const Game& g) = 0;
};

class GameSession {
public:
    // `keeper` (none: nothing is kept) must outlive the session.
    explicit GameSession(GameKeeper* keeper = nullptr) : keeper_(keeper) {}

    const Game& game() const { return match_.game(); }
    const Match& match() const { return match_; }

    // A board to play on: a new turn whose boxes and clock are `ui`'s. The
    // turn of a board opened before goes on existing for as long as its
    // window holds it, but no longer plays this game.
    std::shared_ptr<TurnController> openBoard(Platform& ui);
    // The board of `ui` goes: the computer's turn and the run under way end.
    void closeBoard(const Platform& ui);
    bool hasBoard() const { return turn_ != nullptr; }
    TurnController& turn() { return *turn_; }
    const TurnController& turn() const { return *turn_; }

    // The one way a game begins, new or loaded (or resumed): it is built, its
    // record begins, it is kept, and its first turn starts. A new game is
    // built on a fresh field; a loaded one on the running game's field, so
    // that the walls stay as they are. The run under way ends. Gives the
    // turn start's announcements to tell.
    Judgement beginNewGame(const NewGameSettings& settings);
    Judgement beginSavedGame(const SavedGame& game);
    Judgement beginGame(const GameSetup& setup, bool freshField = false);

    // A hidden command between two steps of the run: its input boxes are
    // asked through the board's platform, then the match plays it (a shot
    // in play keeps it with the advance it came at). Gives what it announces.
    Judgement runCommand(HiddenCommandKind kind);

    // After the window's clock has advanced the run: a newly judged shot is
    // kept (and an ended game has its end time).
    void advanced();

    // Taking shots back, as far as the game's first shot, and playing them
    // again until a new command is played. In a game with computer seats,
    // undo goes back to the last turn of a person at this computer, and redo
    // plays the recorded shots again up to the next such turn, so that the
    // computer never shoots anew in between. Possible while the game runs
    // and nothing is under way or being judged. Keeps the game.
    bool canUndo() const;
    bool undo();
    bool canRedo() const;
    bool redo();

    // The record of the running game (records/GameRecord.h).
    const GameRecord& record() const { return match_.record(); }
    // Where the record's times come from: the time as ISO 8601 text. None:
    // the record's times stay empty.
    void setTimeSource(std::function<std::string()> now) { now_ = std::move(now); }
    // Keeps the game as it stands now.
    void keep();

    // Whether the seat whose turn it is belongs to a computer.
    bool seatIsComputer() const { return computerToPlay(game()); }
    // The computer's turn, once started and until ended (it may be over).
    ComputerTurn* computerTurn() { return computer_.get(); }
    // Starts the computer's turn, when the seat is a computer's and nothing
    // runs or is still being judged; null otherwise. `seed` draws its misses.
    ComputerTurn* startComputerTurn(std::uint64_t seed);
    // Ends the computer's turn and a shown remote shot where they stand.
    void endComputerTurn();

    // An online game: which seats are played at this computer (none set:
    // every seat is, as in any game here). A seat played elsewhere takes no
    // turn here, neither a person's nor the computer's; its shots come as
    // remote shots.
    void setSeatsPlayedHere(std::function<bool(int seat)> playedHere) { playedHere_ = std::move(playedHere); }
    bool online() const { return bool(playedHere_); }
    bool seatIsRemote() const;
    bool seatPlayedHere(int seat) const { return !stopped_ && (!playedHere_ || playedHere_(seat)); }
    // A game watched online whose server has gone: it stays on the field as
    // it last stood, nobody plays it here, and nothing of it is kept. A new
    // game ends this.
    void stopPlaying();
    bool stoppedPlaying() const { return stopped_; }
    // Shows a shot played elsewhere on the board (controls/RemoteShotTurn.h),
    // when nothing runs or is still being judged; null otherwise. It ends
    // with endComputerTurn() as the computer's turn does.
    RemoteShotTurn* startRemoteShot(const ShotCommand& shot);
    RemoteShotTurn* remoteShot() { return remote_.get(); }

    // The game of an online room as its server sent it: a new game (no shot
    // played yet) begins as `newGame` makes it, with its first turn's
    // announcements, when that gives the server's game to the bit; otherwise
    // the game becomes the server's as it is, and its record starts there.
    Judgement beginOnlineGame(const Game& served, const std::optional<NewGameSettings>& newGame);

private:
    Judgement startGame(Game built);
    void replaceMatch(Match match);
    bool undoOrRedoPossible() const;
    bool personPlaysHere(int seat) const;
    bool hasComputerSeats() const;
    void noteEnd();

    GameKeeper* keeper_;
    Match match_;
    Platform* ui_ = nullptr;
    std::shared_ptr<TurnController> turn_;
    std::unique_ptr<ComputerTurn> computer_;
    std::unique_ptr<RemoteShotTurn> remote_;
    std::function<bool(int)> playedHere_;
    bool stopped_ = false;
    int keptShots_ = 0;
    std::function<std::string()> now_;
    std::string began_;
};

}  // namespace capzel
