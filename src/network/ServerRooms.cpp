// The rooms of the server: making and joining them, what their players
// send, their computers, their files and their end.
#include <QDir>
#include <QWebSocket>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "network/ServerHost.h"
#include "platform/RegularFile.h"
#include "platform/SafeWrite.h"

namespace capzel::network {

namespace {

constexpr const char* kRoomSuffix = ".room.json";
// Room codes naming no room that one address may try at once.
constexpr double kWrongCodesAtOnce = 10;
// After a room's file could not be written, the next try waits so long.
constexpr qint64 kKeepRetryMs = 10000;
// Failures to keep rooms are printed this often at most.
constexpr qint64 kKeepReportMs = 60000;

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ServerHost::RoomPlace* ServerHost::placeOf(const Connection& c) {
    if (c.room.empty()) return nullptr;
    const auto it = rooms_.find(c.room);
    return it == rooms_.end() ? nullptr : &it->second;
}

void ServerHost::createRoom(Connection& c, const protocol::CreateRoom& setup) {
    if (!c.room.empty()) return refuse(c, RefusalCode::Other, "You are in room " + c.room + " already.");
    if (int(rooms_.size()) >= options_.limits.rooms)
        return refuse(c, RefusalCode::TooMany, "The server holds as many rooms as it can (" + std::to_string(options_.limits.rooms) + ").");
    AddressUse& use = addresses_[c.address];
    if (use.waitingRooms >= options_.limits.waitingRoomsPerAddress)
        return refuse(c, RefusalCode::TooMany, "Your address has " + std::to_string(use.waitingRooms) +
                             " rooms waiting for their players already: begin a game in one of them first.");
    if (const auto wrong = server::Room::setupRefusal(setup)) return refuse(c, *wrong);
    std::string code = tokens_.roomCode(options_.codePrefix);
    while (rooms_.count(code) > 0) code = tokens_.roomCode(options_.codePrefix);
    RoomPlace& place = rooms_[code];
    place.room = std::make_unique<server::Room>(code, setup, options_.planner);
    place.room->setTimes(options_.times.rooms);
    place.maker = c.address;
    place.waiting = true;
    ++use.waitingRooms;
    joinRoom(c, protocol::JoinRoom{code, std::nullopt, setup.mine, {}, false}, true);
}

void ServerHost::joinRoom(Connection& c, const protocol::JoinRoom& join, bool maker) {
    if (!c.room.empty()) return refuse(c, RefusalCode::Other, "You are in room " + c.room + " already.");
    const auto found = rooms_.find(join.code);
    // Guessing codes is rationed: once an address has named too many rooms
    // that are not there, no code is looked at for a while.
    if (!maker) {
        Allowance& guesses = addresses_[c.address].wrongCodes;
        guesses.refill(options_.limits.wrongCodesPerMinute / 60.0, nowMs());
        if (guesses.exhausted(kWrongCodesAtOnce))
            return refuse(c, RefusalCode::TooMany, "Too many codes that name no room came from your address: wait a minute.");
        if (found == rooms_.end()) {
            guesses.spent += 1;
            return refuse(c, RefusalCode::NoSuchRoom, "No room has the code " + join.code + ".");
        }
    }
    RoomPlace& place = found->second;
    server::Room& room = *place.room;
    const auto tellTheRest = [&] {
        for (const QString& line : place.chat) sendText(c, line);
    };
    if (join.spectate) {
        c.room = join.code;
        place.members.push_back(c.socket);
        send(c, protocol::Joined{join.code, {}, {}, false, room.seats()});
        if (room.begun()) send(c, room.state());
        return tellTheRest();
    }
    const bool begunBefore = room.begun();
    const server::JoinRequest request{c.name, join.token, join.seats, join.names, maker};
    const server::JoinResult joined = room.join(request, tokens_, server::Clock::now());
    if (joined.refusal) return refuse(c, *joined.refusal);
    // A token taken back from another connection: that one leaves its seats.
    for (QWebSocket* member : std::vector<QWebSocket*>(place.members)) {
        const auto other = connections_.find(member);
        if (other == connections_.end() || other->seats.empty() || other->seats.front() != joined.seat) continue;
        refuse(*other, RefusalCode::TokenHoldsNoSeat, "Your seat was taken back with its token from another connection.");
        other->room.clear();
        other->seats.clear();
        std::erase(place.members, member);
    }
    c.room = join.code;
    c.seats = joined.seats;
    place.members.push_back(c.socket);
    const bool host = room.seatDetails()[std::size_t(joined.seat - 1)].host;
    send(c, protocol::Joined{join.code, joined.seats, joined.token, host, room.seats()});
    if (room.begun() && !begunBefore) beganOrClosed(place);
    seatsChanged(place);
    if (room.begun() && !begunBefore)
        tellRoom(place, room.state());
    else if (room.begun())
        send(c, room.state());
    tellTheRest();
}

void ServerHost::shoot(Connection& c, const protocol::Shot& shot) {
    if (c.seats.empty()) return refuse(c, RefusalCode::NotAPlayer, "A spectator does not shoot.");
    RoomPlace& place = *placeOf(c);
    server::Room& room = *place.room;
    // A connection of several seats shoots for the one on turn.
    const int onTurn = room.seatOnTurn();
    const bool holdsTurn = std::find(c.seats.begin(), c.seats.end(), onTurn) != c.seats.end();
    server::ShotResult result = room.shoot(holdsTurn ? onTurn : c.seats.front(), shot);
    if (result.refusal) return refuse(c, *result.refusal);
    tellRoom(place, result.accepted);
    keep(place);
}

// A line said is passed on to the whole room and kept for those who come
// later, as it was sent.
void ServerHost::chat(Connection& c, const protocol::Chat& chat) {
    RoomPlace& place = *placeOf(c);
    const QString line = text(protocol::encodeMessage(protocol::Chat{chat.text, c.seats.empty() ? 0 : c.seats.front()}));
    tellRoomText(place, line);
    place.chat.push_back(line);
    if (place.chat.size() > kChatLinesKept) place.chat.pop_front();
}

// An aim is passed on to everyone else in the room, only from the
// connection that holds the seat on turn; anything else is dropped.
void ServerHost::aim(Connection& c, protocol::Aim aim) {
    RoomPlace* place = c.greeted ? placeOf(c) : nullptr;
    if (!place) return;
    const int onTurn = place->room->seatOnTurn();
    if (onTurn == 0 || std::find(c.seats.begin(), c.seats.end(), onTurn) == c.seats.end()) return;
    aim.seat = onTurn;
    tellRoomText(*place, text(protocol::encodeMessage(aim)), c.socket);
}

void ServerHost::handToComputer(Connection& c, const protocol::HandToComputer& hand) {
    RoomPlace& place = *placeOf(c);
    const std::optional<Refusal> refusal =
        c.seats.empty() ? Refusal{RefusalCode::NotHost, "Only the room's host hands a seat to the computer."}
                        : place.room->handToComputer(c.seats.front(), hand.seat);
    if (refusal) return refuse(c, *refusal);
    seatsChanged(place);
}

void ServerHost::leaveRoom(Connection& c) {
    RoomPlace* place = placeOf(c);
    if (!place) return;
    std::erase(place->members, c.socket);
    for (int seat : c.seats) place->room->leave(seat, server::Clock::now());
    if (!c.seats.empty()) seatsChanged(*place);
}

void ServerHost::tick() {
    const auto now = server::Clock::now();
    int planning = 0;
    for (auto it = rooms_.begin(); it != rooms_.end();) {
        RoomPlace& place = it->second;
        server::Room& room = *place.room;
        if (room.releaseExpiredHolds(now)) seatsChanged(place);
        if (room.planning()) playComputer(place);
        planning += room.planning() ? 1 : 0;
        const server::RoomEnd end = room.ending(now);
        if (end == server::RoomEnd::Open) {
            ++it;
            continue;
        }
        const bool over = end == server::RoomEnd::Finished;
        const std::string why = over ? "its game is over" : "nobody holds a seat in it";
        for (QWebSocket* member : place.members) {
            const auto c = connections_.find(member);
            if (c == connections_.end()) continue;
            refuse(*c, over ? RefusalCode::GameOver : RefusalCode::RoomClosed, "Room " + room.code() + " has closed: " + why + ".");
            c->room.clear();
            c->seats.clear();
        }
        close(place);
        it = rooms_.erase(it);
    }
    startPlans(planning);
}

// The rooms whose computer is to play start planning while planners are
// free, each turn going on from the room after the last one started.
void ServerHost::startPlans(int planning) {
    const int cores = int(std::thread::hardware_concurrency());
    const int most = options_.plansAtOnce > 0 ? options_.plansAtOnce : std::max(1, cores - 1);
    auto it = rooms_.lower_bound(nextToPlan_);
    for (std::size_t looked = 0; looked < rooms_.size() && planning < most; ++looked, ++it) {
        if (it == rooms_.end()) it = rooms_.begin();
        server::Room& room = *it->second.room;
        if (room.planning() || !room.computerToPlay()) continue;
        playComputer(it->second);
        if (!room.planning()) continue;
        ++planning;
        nextToPlan_ = it->first + '\x7f';  // the next code after this one
    }
}

void ServerHost::playComputer(RoomPlace& place) {
    if (const std::optional<protocol::Accepted> played = place.room->pollComputer()) {
        tellRoom(place, *played);
        keep(place);
    }
}

// A room closed: its file is kept compacted among the finished ones (a
// game without a shot leaves nothing worth keeping).
void ServerHost::close(RoomPlace& place) {
    place.members.clear();
    beganOrClosed(place);
    const server::Room& room = *place.room;
    if (keeper_) keeper_->close(room.code(), room.shotCount() > 0 ? std::optional(room.roomText()) : std::nullopt);
}

// A room made from an address counts against it until its game begins.
void ServerHost::beganOrClosed(RoomPlace& place) {
    if (!place.waiting) return;
    place.waiting = false;
    const auto use = addresses_.find(place.maker);
    if (use == addresses_.end()) return;
    if (--use->waitingRooms <= 0 && use->connections <= 0) addresses_.erase(use);
}

void ServerHost::tellRoom(RoomPlace& place, const protocol::Message& message) {
    tellRoomText(place, text(protocol::encodeMessage(message)));
}

void ServerHost::tellRoomText(RoomPlace& place, const QString& message, const QWebSocket* except) {
    for (QWebSocket* member : place.members) {
        if (member == except) continue;
        if (const auto c = connections_.find(member); c != connections_.end()) sendText(*c, message);
    }
}

void ServerHost::seatsChanged(RoomPlace& place) {
    tellRoom(place, protocol::Seats{place.room->seats()});
    keep(place);
}

QString ServerHost::roomsDir() const { return options_.dataDir.isEmpty() ? QString() : options_.dataDir + "/rooms"; }

// The room's file: written whole when it is new, when its game has just
// begun or after a failure; otherwise the entries since and the new tail
// are added.
void ServerHost::keep(RoomPlace& place) {
    if (!keeper_) return;
    const server::Room& room = *place.room;
    const std::size_t entries = room.begun() ? room.record().entries.size() : 0;
    if (place.keepWhole || room.begun() != place.keptBegun) {
        if (nowMs() < place.nextWholeTryMs) return;
        keeper_->write(room.code(), room.roomText(), room.roomTail().size());
        place.keepWhole = false;
        place.keptBegun = room.begun();
        place.entriesKept = entries;
        return;
    }
    std::string lines;
    for (std::size_t k = place.entriesKept; k < entries; ++k) lines += room.entryLine(k);
    place.entriesKept = entries;
    keeper_->append(room.code(), std::move(lines), room.roomTail());
}

// A room's file could not be written: its players are told once that their
// game is not kept, the file is written whole at a later change, and the
// server's output says so once a minute at most.
void ServerHost::keepFailed(const std::string& code, const std::string& what) {
    const qint64 now = nowMs();
    if (lastKeepReportMs_ < 0 || now - lastKeepReportMs_ >= kKeepReportMs) {
        if (keepReportsHeld_ > 0)
            std::fprintf(stderr, "capzel-server: %s (and %d more failures to keep rooms in the last minute)\n",
                         what.c_str(), keepReportsHeld_);
        else
            std::fprintf(stderr, "capzel-server: %s\n", what.c_str());
        lastKeepReportMs_ = now;
        keepReportsHeld_ = 0;
    } else {
        ++keepReportsHeld_;
    }
    const auto it = rooms_.find(code);
    if (it == rooms_.end()) return;
    RoomPlace& place = it->second;
    place.keepWhole = true;
    place.nextWholeTryMs = now + kKeepRetryMs;
    if (place.toldUnkept) return;
    place.toldUnkept = true;
    tellRoom(place, protocol::Refused{RefusalCode::RoomNotKept, "The server cannot keep this room's game on its disk: the game goes on, "
                                      "but it would be lost if the server stopped."});
}

void ServerHost::bringBackRooms() {
    if (roomsDir().isEmpty()) return;
    QDir dir(roomsDir());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "capzel-server: the folder %s cannot be made; rooms are not kept\n", qPrintable(roomsDir()));
        return;
    }
    // What a killed server was writing.
    removeStaleTemporaryFiles(roomsDir().toStdString());
    removeStaleTemporaryFiles((roomsDir() + "/finished").toStdString());
    keeper_ = std::make_unique<server::RoomKeeper>(
        roomsDir().toStdString(), kRoomSuffix, [this](const std::string& code, const std::string& what) {
            QMetaObject::invokeMethod(this, [this, code, what] { keepFailed(code, what); }, Qt::QueuedConnection);
        });
    const auto files = dir.entryList({QStringLiteral("*") + kRoomSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const std::string path = dir.filePath(name).toStdString();
        const std::optional<std::string> content = readRegularFile(path, kMaxGameRecordBytes + 64 * 1024);
        std::string error = "it cannot be read";
        auto room = content ? server::Room::fromText(*content, server::Clock::now(), &error, options_.planner) : nullptr;
        if (!room) {
            std::fprintf(stderr, "capzel-server: the room %s is not brought back: %s\n", path.c_str(), error.c_str());
            continue;
        }
        room->setTimes(options_.times.rooms);
        const std::string code = room->code();
        rooms_[code].room = std::move(room);
    }
}

}  // namespace capzel::network
