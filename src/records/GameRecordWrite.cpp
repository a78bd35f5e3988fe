// The game record written as JSON text.

#include "records/GameRecord.h"
#include "records/GameJson.h"
#include "records/GameRecordFormat.h"
#include "records/JsonFields.h"
#include "records/RecordJson.h"
#include "records/SavedGame.h"

namespace capzel {

namespace {

using namespace jsonfields;
using namespace recordformat;


Json seatValue(const SeatSetup& s) {
    Json piece = nullptr;
    if (s.piece)
        piece = {{"left", realValue(s.piece->left)},
                 {"top", realValue(s.piece->top)},
                 {"width", realValue(s.piece->width)},
                 {"height", realValue(s.piece->height)}};
    return {{"name", s.name},
            {"color", s.color ? Json(*s.color) : Json(nullptr)},
            {"friction", realValue(s.friction)},
            {"score", s.score},
            {"kind", kKindNames[std::size_t(s.kind) < std::size(kKindNames) ? std::size_t(s.kind) : 0]},
            {"position", s.position},
            {"inGame", s.inGame},
            {"dead", s.dead},
            {"isKiller", s.isKiller},
            {"onLetters", s.onLetters},
            {"headingInReverse", s.headingInReverse},
            {"moveableNextTurn", s.moveableNextTurn},
            {"losingTurn", s.losingTurn},
            {"piece", std::move(piece)}};
}

Json lineValue(const AimState& p) {
    return {{"x1", realValue(p.x1)},
            {"y1", realValue(p.y1)},
            {"x2", realValue(p.x2)},
            {"y2", realValue(p.y2)},
            {"visible", p.visible}};
}

Json realsValue(const std::array<float, kMaxPlayers>& reals) {
    Json list = Json::array();
    for (float v : reals) list.push_back(realValue(v));
    return list;
}

Json fieldValue(const RecordedField& f) {
    return {{"width", realValue(f.width)},
            {"height", realValue(f.height)},
            {"leftEdge", realValue(f.leftEdge)},
            {"rightEdge", realValue(f.rightEdge)},
            {"outerWalls", {boxValue(f.outerWalls[0]), boxValue(f.outerWalls[1])}},
            {"pieceHolderWidth", realValue(f.pieceHolderWidth)},
            {"vx", realsValue(f.velocityX)},
            {"vy", realsValue(f.velocityY)},
            {"pointer", lineValue(f.pointer)},
            {"contactOffsetX", realValue(f.contactOffsetX)},
            {"contactOffsetY", realValue(f.contactOffsetY)}};
}

}  // namespace

void recordjson::putOutcome(Json& j, const EntryOutcome& o) {
    Json said = Json::array();
    for (const Announcement& a : o.announcements)
        said.push_back({{"kind", kAnnouncementKinds[std::size_t(a.kind)]}, {"player", a.player}, {"text", a.text}});
    j["hash"] = hashText(o.hash);
    j["announcements"] = std::move(said);
}

namespace {

Json placementValue(const std::optional<HandPlacement>& place) {
    if (!place) return nullptr;
    return {{"left", realValue(place->left)}, {"top", realValue(place->top)}};
}

}  // namespace

void recordjson::putShotInputs(Json& j, const ShotCommand& shot) {
    j["x1"] = realValue(shot.x1);
    j["y1"] = realValue(shot.y1);
    j["x2"] = realValue(shot.x2);
    j["y2"] = realValue(shot.y2);
    j["power"] = shot.strength;
    j["placement"] = placementValue(shot.placement);
}

namespace {

void putBefore(Json& j, const BoardInputs& b) {
    j["before"] = {{"pointer", lineValue(b.pointer)}, {"power", b.power}, {"placement", placementValue(b.placement)}};
}

void putCommand(Json& j, const HiddenCommand& c) {
    j["command"] = commandCaption(c.kind);
    j["answers"] = c.answers;
}

Json entryValue(const RecordEntry& entry) {
    Json j = {{"type", kEntryTypes[entry.index()]}};
    if (const auto* shot = std::get_if<RecordedShot>(&entry)) {
        j["seat"] = shot->seat;
        recordjson::putShotInputs(j, *shot);
        Json commands = Json::array();
        for (const MidShotCommand& c : shot->midShot) {
            Json one = {{"advance", c.advance}};
            putCommand(one, c.command);
            commands.push_back(std::move(one));
        }
        j["commands"] = std::move(commands);
    } else if (const auto* command = std::get_if<RecordedCommandEntry>(&entry)) {
        if (command->before) putBefore(j, *command->before);
        putCommand(j, command->command);
    } else if (const auto& undo = std::get<RecordedUndo>(entry); undo.before) {
        putBefore(j, *undo.before);
    }
    recordjson::putOutcome(j, outcomeOf(entry));
    return j;
}

}  // namespace

std::string writeRecordEntry(const RecordEntry& entry) {
    return entryValue(entry).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string writeGameRecord(const GameRecord& record) {
    Json start = Json::object();
    recordjson::putOutcome(start, record.start);
    Json j = {
        {"format", kFormat},
        {"version", record.setupStart ? kFirstVersion : kVersion},
        {"began", record.began},
        {"ended", record.ended},
        {"winner", record.winner ? Json(*record.winner) : Json(nullptr)},
    };
    // A record of the first version, read and not yet played, keeps how its
    // game was built.
    if (const SetupStart* built = record.setupStart ? &*record.setupStart : nullptr) {
        Json seats = Json::array();
        for (const SeatSetup& s : built->setup.seats) seats.push_back(seatValue(s));
        j["setup"] = {{"seats", std::move(seats)},
                      {"walls", built->setup.walls ? Json(*built->setup.walls) : Json(nullptr)},
                      {"currentTurn", built->setup.currentTurn}};
        j["field"] = fieldValue(built->field);
    } else {
        j["game"] = gamejson::gameValue(record.startGame);
    }
    j["start"] = std::move(start);
    // One line for the game, then one line for each entry. A text that is
    // not UTF-8 (no part of the game makes one) is written with replacement
    // characters rather than refused.
    constexpr auto kReplace = Json::error_handler_t::replace;
    std::string text = j.dump(-1, ' ', false, kReplace);
    text.pop_back();  // the closing brace
    text += ",\n\"entries\": [";
    for (std::size_t k = 0; k < record.entries.size(); ++k)
        text += (k > 0 ? ",\n" : "\n") + writeRecordEntry(record.entries[k]);
    text += "\n]}\n";
    return text;
}
}  // namespace capzel
