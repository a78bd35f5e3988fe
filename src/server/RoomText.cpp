// A room as it is kept in the server's data folder, one JSON object:
//   {"format": "capzel-room", "version": 1, "code": "ABC234", "walls": true,
//    "record": null | the game record (records/GameRecord.h) as an object,
//    "seats": [{"kind": "human", "name": "Ann", "token": "0123...", ...]}
// The record is written as records write it, a line for the game and one
// for each entry, so that the seats and the record's closing brackets make
// a short tail: a shot adds its entry's line in front of the tail and
// writes the tail again (server/RoomKeeper.h).
// A restarted server plays the record's shots again through the room's own
// door, so a record that does not play back as kept is refused.
#include <limits>

#include "records/JsonFields.h"
#include "records/SavedGame.h"
#include "server/Room.h"

namespace capzel::server {

namespace {

using namespace jsonfields;

constexpr const char* kFormat = "capzel-room";
constexpr int kVersion = 1;
constexpr std::size_t kMaxRoomTextBytes = kMaxGameRecordBytes + 64 * 1024;
// How a record's text ends: its list of entries closed.
constexpr const char* kRecordEnd = "\n]}\n";

struct KeptSeat {
    PlayerKind kind = PlayerKind::Human;
    std::string name;
    std::string token;
    bool host = false;
};

struct KeptRoom {
    std::string code;
    bool walls = true;
    std::vector<KeptSeat> seats;
    std::optional<GameRecord> record;
};

std::optional<KeptRoom> readRoom(std::string_view text, std::string& error) {
    if (text.size() > kMaxRoomTextBytes) {
        error = "the room is more than " + std::to_string(kMaxRoomTextBytes) + " bytes";
        return std::nullopt;
    }
    const Json j = Json::parse(text, nullptr, false);
    if (!j.is_object()) {
        error = "the room is not a JSON object";
        return std::nullopt;
    }
    KeptRoom room;
    FieldReader r(j, "", error, PathStyle::Pointer);
    if (const Json* v = r.value("format"); v && !(v->is_string() && v->get<std::string>() == kFormat))
        r.fail("format", std::string("is not \"") + kFormat + "\"");
    int version{};
    r.integer("version", version, kVersion, kVersion);
    r.text("code", room.code, protocol::kRoomCodeLength);
    if (r.ok() && !protocol::isRoomCode(room.code)) r.fail("code", "is not a room's code");
    r.boolean("walls", room.walls);
    const Json* list = r.array("seats", 1, kMaxPlayers);
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        auto s = r.object("seats", (*list)[k], int(k + 1));
        if (!s) break;
        KeptSeat& seat = room.seats.emplace_back();
        s->kind("kind", seat.kind);
        s->text("name", seat.name, saveLimits::kMaxNameLength);
        s->text("token", seat.token, protocol::kTokenDigits);
        if (s->ok() && !seat.token.empty() && !protocol::isSeatToken(seat.token)) s->fail("token", "is not a token");
        s->boolean("host", seat.host);
    }
    if (const Json* v = r.value("record"); v && !v->is_null()) {
        std::string why;
        room.record = readGameRecord(v->dump(), &why);
        if (!room.record) r.fail("record", why);
    }
    if (!r.ok()) return std::nullopt;
    return room;
}

}  // namespace

std::string Room::roomText() const {
    const Json head = {{"format", kFormat}, {"version", kVersion}, {"code", code_}, {"walls", walls_}, {"record", nullptr}};
    std::string text = head.dump(-1, ' ', false, Json::error_handler_t::replace);
    text.pop_back();  // the closing brace: the tail closes the room
    if (begun_) {
        // The record's own text goes in as it is, without the end of its
        // list of entries, which the tail holds.
        std::string record = writeGameRecord(match_.record());
        record.resize(record.size() - std::string_view(kRecordEnd).size());
        text.replace(text.size() - 4, 4, record);  // "null"
    }
    return text + roomTail();
}

std::string Room::roomTail() const {
    Json seats = Json::array();
    for (const RoomSeat& s : seats_)
        seats.push_back({{"kind", kKindNames[std::size_t(s.kind)]}, {"name", s.name}, {"token", s.token}, {"host", s.host}});
    std::string tail = begun_ ? "\n]}" : "";
    return tail + ",\"seats\":" + seats.dump(-1, ' ', false, Json::error_handler_t::replace) + "}\n";
}

std::string Room::entryLine(std::size_t index) const {
    return (index == 0 ? "\n" : ",\n") + writeRecordEntry(match_.record().entries.at(index));
}

std::unique_ptr<Room> Room::fromText(std::string_view text, Clock::time_point now, std::string* error,
                                     players::PlannerOptions planner) {
    std::string why;
    const auto refuse = [&](std::string reason) {
        if (error) *error = std::move(reason);
        return nullptr;
    };
    std::optional<KeptRoom> kept;
    try {
        kept = readRoom(text, why);
    } catch (const std::exception& e) {
        why = e.what();
    }
    if (!kept) return refuse(why);
    protocol::CreateRoom setup{{}, kept->walls, {}, {}};
    for (const KeptSeat& s : kept->seats) setup.seats.push_back(s.kind);
    if (const auto wrong = setupRefusal(setup)) return refuse(wrong->text);
    auto room = std::make_unique<Room>(kept->code, setup, planner);
    for (std::size_t i = 0; i < kept->seats.size(); ++i) {
        room->seats_[i].name = kept->seats[i].name;
        room->seats_[i].token = kept->seats[i].token;
        room->seats_[i].host = kept->seats[i].host;
        room->seats_[i].droppedAt = now;
    }
    room->emptySince_ = now;
    if (!kept->record) return room;
    // The game again: begun as the room begins it, then every shot through
    // the room's own door, each checked against the record.
    room->begin();
    const GameRecord& record = *kept->record;
    if (record.start != room->record().start) return refuse("the game does not begin as its record does");
    for (std::size_t k = 0; k < record.entries.size(); ++k) {
        const auto* shot = std::get_if<RecordedShot>(&record.entries[k]);
        if (!shot) return refuse("entry " + std::to_string(k + 1) + " of the record is not a shot");
        const std::optional<Refusal> refusal = room->shotRefusal(shot->seat, protocol::Shot{int(k + 1), *shot});
        if (refusal) return refuse("shot " + std::to_string(k + 1) + ": " + refusal->text);
        if (room->play(*shot).shot.inputs.outcome != shot->outcome)
            return refuse("shot " + std::to_string(k + 1) + " does not play back as recorded");
    }
    return room;
}

}  // namespace capzel::server
