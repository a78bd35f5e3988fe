#include "server/Room.h"

#include <algorithm>
#include <cmath>

#include "records/NewGame.h"
#include "records/SnapshotText.h"
#include "session/RecordReplay.h"

namespace capzel::server {

namespace {

// A corner of a placed piece on the field, or (with a margin of one field)
// an end of the aim line: a mouse dragged past the window's edge goes on
// reporting where it is, and only the line's direction counts.
bool onField(double x, double y, const Board& board, double margin = 0) {
    const double w = board.scaleWidth * margin, h = board.scaleHeight * margin;
    return std::isfinite(x) && std::isfinite(y) && x >= -w && y >= -h && x <= board.scaleWidth + w &&
           y <= board.scaleHeight + h;
}

// The computer's misses are drawn from the room and the shot, so that a
// restarted server plans the same shot again.
std::uint64_t computerSeed(const std::string& code, int shotNumber) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : code) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h ^ (std::uint64_t(shotNumber) * 0x9E3779B97F4A7C15ull);
}

}  // namespace

std::optional<std::string> Room::setupRefusal(const protocol::CreateRoom& setup) {
    if (setup.seats.empty() || setup.seats.size() > std::size_t(kMaxPlayers))
        return "A room has 1 to " + std::to_string(kMaxPlayers) + " seats.";
    if (std::none_of(setup.seats.begin(), setup.seats.end(), [](PlayerKind k) { return k == PlayerKind::Human; }))
        return std::string("A room needs a seat for a person.");
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

bool Room::running() const { return begun_ && session_.state().gameRunning; }

bool Room::seatPlayedByComputer(int seat) const {
    const RoomSeat& s = seats_[std::size_t(seat - 1)];
    return s.kind != PlayerKind::Human || s.token.empty();
}

bool Room::computerToPlay() const {
    const int turn = session_.state().currentTurn;
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
            result.refusal = "The token holds no seat in room " + code_ + ".";
            return result;
        }
    } else if (wanted.empty()) {
        const auto seat = std::find_if(seats_.begin(), seats_.end(), free);
        if (seat == seats_.end()) {
            result.refusal = "Room " + code_ + " has no free seat.";
            return result;
        }
        wanted.push_back(int(seat - seats_.begin()) + 1);
    } else {
        for (int n : wanted) {
            if (n < 1 || n > int(seats_.size()) || !free(seats_[std::size_t(n - 1)])) {
                result.refusal = "Seat " + std::to_string(n) + " of room " + code_ + " is not free for a person.";
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

std::string Room::handToComputer(int bySeat, int seat) {
    if (bySeat < 1 || bySeat > int(seats_.size()) || !seats_[std::size_t(bySeat - 1)].host)
        return "Only the room's host hands a seat to the computer.";
    if (seat < 1 || seat > int(seats_.size())) return "Room " + code_ + " has no seat " + std::to_string(seat) + ".";
    RoomSeat& s = seats_[std::size_t(seat - 1)];
    if (s.kind != PlayerKind::Human || s.token.empty()) return "The computer plays seat " + std::to_string(seat) + " already.";
    if (s.connected) return "The player of seat " + std::to_string(seat) + " is still here.";
    if (!begun_) return "The game has not begun: the seat waits for a player.";
    s.token.clear();
    s.host = false;
    return {};
}

int Room::seatOnTurn() const { return running() ? session_.state().currentTurn : 0; }

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

void Room::begin() {
    NewGameSettings settings;
    settings.players = int(seats_.size());
    for (std::size_t i = 0; i < seats_.size(); ++i) {
        settings.names[i + 1] = seats_[i].name;
        settings.seats[i + 1] = seats_[i].kind;
    }
    settings.walls = walls_;
    session_.openBoard(platform_);
    session_.beginNewGame(settings);
    record_ = session_.record();
    begun_ = true;
}

std::string Room::shotRefusal(int seat, const protocol::Shot& shot) const {
    if (!begun_) return "The game has not begun: the room waits for its players.";
    const GameState& g = session_.state();
    if (!g.gameRunning) return "The game is over.";
    if (plan_ || session_.turn().running()) return "A shot is under way.";
    if (seat != g.currentTurn)
        return "It is not your turn: it is " + g.playerName[std::size_t(g.currentTurn)] + "'s (seat " +
               std::to_string(g.currentTurn) + ").";
    if (shot.shotNumber != shotCount() + 1)
        return "The game is at shot " + std::to_string(shotCount() + 1) + ", not " + std::to_string(shot.shotNumber) + ".";
    const RecordedShot& in = shot.inputs;
    const Board& board = session_.field().board;
    if (!onField(in.x1, in.y1, board, 1) || !onField(in.x2, in.y2, board, 1)) return "The aim line leaves the field.";
    if (in.x1 == in.x2 && in.y1 == in.y2) return "The aim line has no length.";
    const int strongest = maxRecordedPower(board.scaleHeight);
    if (in.power < 0 || in.power > strongest)
        return "The strength " + std::to_string(in.power) + " is outside the power bar's range, 0 to " +
               std::to_string(strongest) + ".";
    if (in.placement) {
        if (!g.moveableNextTurn[std::size_t(seat)]) return "The rules do not let the piece be placed by hand now.";
        const Box& piece = board.pieces[std::size_t(seat)];
        const double right = double(in.placement->left) + double(piece.width);
        const double bottom = double(in.placement->top) + double(piece.height);
        if (!onField(in.placement->left, in.placement->top, board) || !onField(right, bottom, board))
            return "The piece is placed outside the field.";
    }
    return {};
}

ShotResult Room::shoot(int seat, const protocol::Shot& shot) {
    ShotResult result;
    result.refusal = shotRefusal(seat, shot);
    if (result.refusal.empty()) result.accepted = play(shot.inputs);
    return result;
}

protocol::Accepted Room::play(RecordedShot inputs) {
    GameState& g = session_.state();
    Field& field = session_.field();
    TurnController& turn = session_.turn();
    inputs.seat = g.currentTurn;
    inputs.commands.clear();
    // Online games take no hidden commands; a shot that never rests cannot
    // come from the bar's strengths on a new game's frictions.
    playShotThrough(turn, g, field, inputs, [](const CommandInput&) {});
    inputs.outcome = {gameHash(g, field), turn.takeAnnouncements()};
    record_.entries.emplace_back(inputs);
    if (!g.gameRunning && !record_.winner) {
        const auto& said = inputs.outcome.announcements;
        const auto won = std::find_if(said.begin(), said.end(), [](const Announcement& a) { return a.kind == AnnouncementKind::Win; });
        if (won != said.end() && won->player >= 1) record_.winner = won->player;
    }
    return protocol::Accepted{protocol::Shot{shotCount(), std::move(inputs)}};
}

std::optional<protocol::Accepted> Room::pollComputer() {
    if (!computerToPlay()) {
        plan_.reset();
        return std::nullopt;
    }
    const GameState& g = session_.state();
    const Field& field = session_.field();
    if (!plan_) {
        const RoomSeat& seat = seats_[std::size_t(g.currentTurn - 1)];
        const PlayerKind level = seat.kind != PlayerKind::Human ? seat.kind : kReleasedSeatLevel;
        plan_ = std::make_unique<players::PlanJob>(g, field, level, computerSeed(code_, shotCount() + 1), planner_);
        return std::nullopt;
    }
    if (!plan_->ready()) return std::nullopt;
    const bool fits = plan_->stillFits(g, field);
    const RecordedShot inputs = plannedShotInputs(g, field, plan_->result().shot);
    plan_.reset();
    if (!fits) return std::nullopt;
    return play(inputs);
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
    return protocol::State{shotCount(), writeSnapshot(captureSnapshot(session_.state(), session_.field()))};
}

}  // namespace capzel::server
