#include "server/Room.h"

#include <algorithm>
#include <cmath>

#include "platform/SilentPlatform.h"
#include "records/GameText.h"
#include "records/NewGame.h"
#include "rules/TurnStart.h"

namespace capzel::server {

namespace {

// The computer's misses are drawn from the room and the shot, so that a
// restarted server plans the same shot again.
std::uint64_t computerSeed(const std::string& code, int shotNumber) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : code) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h ^ (std::uint64_t(shotNumber) * 0x9E3779B97F4A7C15ull);
}

}  // namespace

std::optional<Refusal> Room::setupRefusal(const protocol::CreateRoom& setup) {
    if (setup.seats.empty() || setup.seats.size() > std::size_t(kMaxPlayers))
        return Refusal{RefusalCode::BadRoomSetup, "A room has 1 to " + std::to_string(kMaxPlayers) + " seats."};
    if (std::none_of(setup.seats.begin(), setup.seats.end(), [](PlayerKind k) { return k == PlayerKind::Human; }))
        return Refusal{RefusalCode::BadRoomSetup, "A room needs a seat for a person."};
    return std::nullopt;
}

Room::Room(std::string code, const protocol::CreateRoom& setup, players::PlannerOptions planner)
    : code_(std::move(code)), walls_(setup.walls), planner_(planner) {
    const NewGameSettings defaults;
    for (std::size_t i = 0; i < setup.seats.size() && i < std::size_t(kMaxPlayers); ++i) {
        const bool named = i < setup.names.size() && !setup.names[i].empty();
        seats_.push_back(RoomSeat{setup.seats[i], named ? setup.names[i] : defaults.names[i + 1], {}, false, named, false, {}});
    }
}

Room::~Room() = default;

bool Room::running() const { return begun_ && match_.game().gameRunning; }

bool Room::seatPlayedByComputer(int seat) const {
    const RoomSeat& s = seats_[std::size_t(seat - 1)];
    return s.kind != PlayerKind::Human || s.token.empty();
}

bool Room::computerToPlay() const {
    const int turn = match_.game().currentTurn;
    return running() && turn >= 1 && turn <= int(seats_.size()) && seatPlayedByComputer(turn);
}

JoinResult Room::join(const JoinRequest& request, TokenSource& tokens, Clock::time_point now) {
    releaseExpiredHolds(now);
    JoinResult result;
    const auto free = [](const RoomSeat& s) { return s.kind == PlayerKind::Human && s.token.empty(); };
    std::vector<int> wanted = request.token ? std::vector<int>{} : request.seats;
    if (request.token) {
        for (std::size_t i = 0; i < seats_.size(); ++i)
            if (!seats_[i].token.empty() && seats_[i].token == *request.token) wanted.push_back(int(i + 1));
        if (wanted.empty()) {
            result.refusal = Refusal{RefusalCode::TokenHoldsNoSeat, "The token holds no seat in room " + code_ + "."};
            return result;
        }
    } else if (wanted.empty()) {
        const auto seat = std::find_if(seats_.begin(), seats_.end(), free);
        if (seat == seats_.end()) {
            result.refusal = Refusal{RefusalCode::NoFreeSeat, "Room " + code_ + " has no free seat."};
            return result;
        }
        wanted.push_back(int(seat - seats_.begin()) + 1);
    } else {
        for (int n : wanted) {
            if (n < 1 || n > int(seats_.size()) || !free(seats_[std::size_t(n - 1)])) {
                result.refusal = Refusal{RefusalCode::SeatNotFree,
                                         "Seat " + std::to_string(n) + " of room " + code_ + " is not free for a person."};
                return result;
            }
        }
    }
    result.token = request.token ? *request.token : tokens.seatToken();
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        RoomSeat& seat = seats_[std::size_t(wanted[k] - 1)];
        seat.token = result.token;
        seat.connected = true;
        // A token keeps the seat's rights; a seat taken afresh has the
        // host's only when its taker made the room.
        if (!request.token) seat.host = request.host;
        if (!begun_ && !request.token) {
            const std::string& given = k < request.names.size() ? request.names[k] : std::string();
            if (!given.empty())
                seat.name = given;
            else if (request.names.empty() && !request.name.empty() && !seat.named)
                seat.name = request.name;
        }
    }
    result.seats = wanted;
    result.seat = wanted.front();
    emptySince_.reset();
    if (!begun_ && std::none_of(seats_.begin(), seats_.end(), free)) begin();
    return result;
}

std::optional<Refusal> Room::handToComputer(int bySeat, int seat) {
    if (bySeat < 1 || bySeat > int(seats_.size()) || !seats_[std::size_t(bySeat - 1)].host)
        return Refusal{RefusalCode::NotHost, "Only the room's host hands a seat to the computer."};
    if (seat < 1 || seat > int(seats_.size()))
        return Refusal{RefusalCode::SeatNotFree, "Room " + code_ + " has no seat " + std::to_string(seat) + "."};
    RoomSeat& s = seats_[std::size_t(seat - 1)];
    if (s.kind != PlayerKind::Human || s.token.empty())
        return Refusal{RefusalCode::SeatNotFree, "The computer plays seat " + std::to_string(seat) + " already."};
    if (s.connected)
        return Refusal{RefusalCode::SeatStillHere, "The player of seat " + std::to_string(seat) + " is still here."};
    if (!begun_) return Refusal{RefusalCode::GameNotBegun, "The game has not begun: the seat waits for a player."};
    s.token.clear();
    s.host = false;
    return std::nullopt;
}

int Room::seatOnTurn() const { return running() ? match_.game().currentTurn : 0; }

void Room::leave(int seat, Clock::time_point now) {
    if (seat < 1 || seat > int(seats_.size())) return;
    seats_[std::size_t(seat - 1)].connected = false;
    seats_[std::size_t(seat - 1)].droppedAt = now;
    if (std::none_of(seats_.begin(), seats_.end(), [](const RoomSeat& s) { return s.connected; })) emptySince_ = now;
}

bool Room::releaseExpiredHolds(Clock::time_point now) {
    bool released = false;
    for (RoomSeat& s : seats_) {
        if (s.token.empty() || s.connected || now - s.droppedAt < times_.seatHold) continue;
        s.token.clear();
        s.host = false;
        released = true;
    }
    return released;
}

RoomEnd Room::ending(Clock::time_point now) {
    if (begun_ && !running()) {
        if (!overSince_) overSince_ = now;
        const bool anyoneIn = std::any_of(seats_.begin(), seats_.end(), [](const RoomSeat& s) { return s.connected; });
        if (!anyoneIn || now - *overSince_ >= times_.finishedStay) return RoomEnd::Finished;
        return RoomEnd::Open;
    }
    const bool held = std::any_of(seats_.begin(), seats_.end(), [](const RoomSeat& s) { return !s.token.empty(); });
    if (!held) return RoomEnd::Deserted;
    // A room made and left before its game began holds nobody's game.
    if (!begun_ && emptySince_ && now - *emptySince_ >= times_.emptyStay) return RoomEnd::Deserted;
    return RoomEnd::Open;
}

// The game begins as every new game does: built on a fresh field from the
// room's choices, its first turn started.
void Room::begin() {
    NewGameSettings settings;
    settings.players = int(seats_.size());
    for (std::size_t i = 0; i < seats_.size(); ++i) {
        settings.names[i + 1] = seats_[i].name;
        settings.seats[i + 1] = seats_[i].kind;
    }
    settings.walls = walls_;
    Game g;
    applyNewGame(g, settings);
    paintPlayerColors(g);
    SilentPlatform silent;
    GameContext ctx{g, silent};
    Judgement started = startTurn(ctx, g.currentTurn);
    match_ = Match(std::move(g), std::move(started.announcements));
    begun_ = true;
}

std::optional<Refusal> Room::shotRefusal(int seat, const protocol::Shot& shot) const {
    if (!begun_) return Refusal{RefusalCode::GameNotBegun, "The game has not begun: the room waits for its players."};
    if (plan_) return Refusal{RefusalCode::ShotUnderWay, "A shot is under way."};
    if (match_.game().gameRunning && shot.shotNumber != shotCount() + 1)
        return Refusal{RefusalCode::StaleShotNumber, "The game is at shot " + std::to_string(shotCount() + 1) + ", not " +
                                                         std::to_string(shot.shotNumber) + "."};
    ShotCommand command = shot.inputs;
    command.seat = seat;
    command.midShot.clear();
    return match_.validate(command);
}

ShotResult Room::shoot(int seat, const protocol::Shot& shot) {
    ShotResult result;
    result.refusal = shotRefusal(seat, shot);
    if (result.refusal) return result;
    ShotCommand command = shot.inputs;
    command.seat = seat;
    command.midShot.clear();
    result.accepted = play(command);
    return result;
}

// Online games take no hidden commands.
protocol::Accepted Room::play(const ShotCommand& shot) {
    const Played played = match_.play(shot);
    RecordedShot taken;
    static_cast<ShotCommand&>(taken) = shot;
    taken.outcome = {played.outcome.hash, played.outcome.announcements};
    return protocol::Accepted{protocol::Shot{shotCount(), std::move(taken)}};
}

std::optional<protocol::Accepted> Room::pollComputer() {
    if (!computerToPlay()) {
        plan_.reset();
        return std::nullopt;
    }
    const Game& g = match_.game();
    if (!plan_) {
        const RoomSeat& seat = seats_[std::size_t(g.currentTurn - 1)];
        const PlayerKind level = seat.kind != PlayerKind::Human ? seat.kind : kReleasedSeatLevel;
        plan_ = std::make_unique<players::PlanJob>(g, level, computerSeed(code_, shotCount() + 1), planner_);
        return std::nullopt;
    }
    if (!plan_->ready()) return std::nullopt;
    const bool fits = plan_->stillFits(g);
    const ShotCommand shot = players::plannedShotCommand(g, plan_->result().shot);
    plan_.reset();
    if (!fits || match_.validate(shot)) return std::nullopt;
    return play(shot);
}

std::vector<protocol::SeatStatus> Room::seats() const {
    std::vector<protocol::SeatStatus> out;
    for (std::size_t i = 0; i < seats_.size(); ++i) {
        const RoomSeat& s = seats_[i];
        protocol::SeatStatus status{int(i + 1), s.name, protocol::SeatPresence::Connected, s.kind, s.host};
        if (s.kind != PlayerKind::Human || (s.token.empty() && begun_))
            status.presence = protocol::SeatPresence::Computer;
        else if (s.token.empty())
            status.presence = protocol::SeatPresence::Open;
        else if (!s.connected)
            status.presence = protocol::SeatPresence::Waiting;
        out.push_back(std::move(status));
    }
    return out;
}

protocol::State Room::state() const {
    return protocol::State{shotCount(), writeGameText(match_.game())};
}

}  // namespace capzel::server
