// A room of the online game, and the one authority on its game: a Match
// (match/Match.h) and the seats around it. The server checks and plays every
// shot itself through the same rulebook as every program, and tells the
// players what it gave. The players' programs play the same inputs and
// compare their result with the server's.
//
// A room is made for a number of seats, each a person's or a computer's.
// People take the human seats by joining (the maker takes the first); the
// game begins once every human seat is taken. A player who drops keeps the
// seat for kSeatHold: joining again with the seat's token takes it back.
// After that the seat is released: the computer plays it (at Club level)
// until somebody joins and takes it, with a new token. Host rights stay with
// the seats the maker took, held by their token: a released seat loses them,
// and a newcomer never gets them.
//
// A shot is taken only from the seat whose turn it is, while no computer's
// shot is being planned, with its number the next one, and only when the
// rulebook takes it (rules/Rulebook.h). Computer seats are planned on a
// thread of their own (players/PlanJob.h) and played by pollComputer().
//
// Standard C++ only: the network around it is the host's (network/).
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "match/Match.h"
#include "model/Refusal.h"
#include "players/PlanJob.h"
#include "protocol/Messages.h"
#include "records/GameRecord.h"
#include "server/Tokens.h"

namespace capzel::server {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::minutes kSeatHold{5};
// The level the computer plays a released seat at.
constexpr PlayerKind kReleasedSeatLevel = PlayerKind::Club;
// How long a room whose game is over stays for its players to see the end.
constexpr std::chrono::minutes kFinishedRoomStay{1};
// How long a room whose game has not begun stays once nobody is in it.
constexpr std::chrono::minutes kEmptyRoomStay{1};

// The times above, which a server may set otherwise (its tests shorten them).
struct RoomTimes {
    Clock::duration seatHold = kSeatHold;
    Clock::duration finishedStay = kFinishedRoomStay;
    Clock::duration emptyStay = kEmptyRoomStay;
};

// Whether a room has had its day: still open, its game over (Finished), or
// left by everybody (Deserted: no seat is held any more).
enum class RoomEnd { Open, Finished, Deserted };

struct RoomSeat {
    PlayerKind kind = PlayerKind::Human;
    std::string name;
    std::string token;  // empty: nobody holds the seat; seats joined together share one
    bool host = false;  // held by the room's maker
    bool named = false; // its name was given with the room, not by its player
    bool connected = false;
    Clock::time_point droppedAt{};  // while held: when its player dropped
};

// Who comes in: with a token, to the seats it holds; otherwise to the seats
// asked for (none: the first free one), named as listed (none: `name`).
struct JoinRequest {
    std::string name;
    std::optional<std::string> token;
    std::vector<int> seats;
    std::vector<std::string> names;
    bool host = false;  // the room's maker
};

struct JoinResult {
    std::optional<Refusal> refusal;  // none: joined
    int seat = 0;         // the first seat taken
    std::vector<int> seats;
    std::string token;
};

struct ShotResult {
    std::optional<Refusal> refusal;  // none: played
    protocol::Accepted accepted;
};

class Room {
public:
    // Why a room cannot be made so (none: it can).
    static std::optional<Refusal> setupRefusal(const protocol::CreateRoom& setup);

    // A new room, waiting for its players. `planner` sets how hard the
    // computer seats search (tests make it quick).
    Room(std::string code, const protocol::CreateRoom& setup, players::PlannerOptions planner = {});
    // A room as roomText() kept it, its game played again shot by shot and
    // checked against its record; every seat's player counts as dropped at
    // `now`. Nothing, with `error`, when the text is not a room's or its
    // game does not play back as recorded.
    static std::unique_ptr<Room> fromText(std::string_view text, Clock::time_point now, std::string* error,
                                          players::PlannerOptions planner = {});
    ~Room();
    Room(const Room&) = delete;
    Room& operator=(const Room&) = delete;

    const std::string& code() const { return code_; }
    void setTimes(const RoomTimes& times) { times_ = times; }

    // A player comes in: with a token, to the seat it holds; without, to the
    // first free human seat (or a released one once the game runs).
    JoinResult join(const JoinRequest& request, TokenSource& tokens, Clock::time_point now);
    JoinResult join(const std::string& name, const std::optional<std::string>& token, TokenSource& tokens,
                    Clock::time_point now) {
        return join(JoinRequest{name, token, {}, {}, false}, tokens, now);
    }
    // The host (a connection holding `bySeat`) hands `seat`, whose player
    // dropped, to the computer at once. Why not (none: handed).
    std::optional<Refusal> handToComputer(int bySeat, int seat);
    // The seat whose turn it is while the game runs, 0 otherwise.
    int seatOnTurn() const;
    // The seat's player dropped: the seat is held for the seat hold.
    void leave(int seat, Clock::time_point now);
    // Releases the seats whose hold has run out; true when one was.
    bool releaseExpiredHolds(Clock::time_point now);
    // Looked at on the server's tick: Finished once the game is over and
    // nobody is connected, or the finished stay after the end was first seen
    // here; Deserted when no seat is held (its people left and their holds
    // ran out, so only computers would play on), or when the game has not
    // begun and nobody has been in the room for the empty stay; Open
    // otherwise.
    RoomEnd ending(Clock::time_point now);

    bool begun() const { return begun_; }
    bool running() const;
    // Shots played so far.
    int shotCount() const { return match_.record().shotCount(); }

    // A shot from the player in `seat`.
    ShotResult shoot(int seat, const protocol::Shot& shot);
    // When a computer is to play: starts planning its shot, and plays it
    // once planned. Gives the shot played, if one was.
    std::optional<protocol::Accepted> pollComputer();
    // Whether a computer is to play (planning or about to start).
    bool computerToPlay() const;
    // Whether a computer's shot is being planned.
    bool planning() const { return plan_ != nullptr; }

    std::vector<protocol::SeatStatus> seats() const;
    const std::vector<RoomSeat>& seatDetails() const { return seats_; }
    // The game as it stands (only once begun).
    protocol::State state() const;
    const GameRecord& record() const { return match_.record(); }
    const Game& game() const { return match_.game(); }

    // The room as text: its seats with their tokens and its game record.
    std::string roomText() const;
    // How the text ends: what comes after the record's last entry (the
    // seats). The text of a room whose game has begun is the text it had
    // at any shot, with entryLine() of each later entry and the tail as it
    // stands now in place of the tail it had then.
    std::string roomTail() const;
    // The line of entry `index` (from 0) of the record, with what goes
    // before it after the entry before.
    std::string entryLine(std::size_t index) const;

private:
    void begin();
    std::optional<Refusal> shotRefusal(int seat, const protocol::Shot& shot) const;
    protocol::Accepted play(const ShotCommand& shot);
    bool seatPlayedByComputer(int seat) const;

    std::string code_;
    bool walls_ = true;
    std::vector<RoomSeat> seats_;
    players::PlannerOptions planner_;
    Match match_;
    bool begun_ = false;
    std::optional<Clock::time_point> overSince_;
    std::optional<Clock::time_point> emptySince_;  // nobody connected since
    RoomTimes times_;
    std::unique_ptr<players::PlanJob> plan_;
};

}  // namespace capzel::server
