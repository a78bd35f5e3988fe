// A room as it is kept in the server's data folder, one JSON object:
//   {"format": "capzel-room", "version": 1, "code": "ABC234", "walls": true,
//    "seats": [{"kind": "human", "name": "Ann", "token": "0123...", ...}],
//    "record": null | the game record (records/GameRecord.h) as an object}
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
    Json seats = Json::array();
    for (const RoomSeat& s : seats_)
        seats.push_back({{"kind", kKindNames[std::size_t(s.kind)]}, {"name", s.name}, {"token", s.token}, {"host", s.host}});
    const Json j = {{"format", kFormat}, {"version", kVersion}, {"code", code_},        {"walls", walls_},
                    {"seats", std::move(seats)}, {"record", nullptr}};
    std::string text = j.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (begun_) {
        // The record's own text goes in as it is (it is written after every
        // shot, so it is not parsed and written again); "record" is last.
        std::string record = writeGameRecord(match_.record());
        while (!record.empty() && record.back() == '\n') record.pop_back();
        text.replace(text.size() - 5, 4, record);  // "null}"
    }
    return text + "\n";
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
