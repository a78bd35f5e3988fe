#include "records/SnapshotText.h"

#include <cstdint>
#include <utility>

#include "records/JsonFields.h"
#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel {

namespace {

using namespace jsonfields;

constexpr int kVersion = 1;

// ---- Writing ---------------------------------------------------------------

Json playerValue(const PlayerSnapshot& p) {
    return {{"name", p.name},
            {"score", p.score},
            {"color", p.color},
            {"friction", realValue(p.friction)},
            {"kind", kKindNames[std::size_t(p.kind) < std::size(kKindNames) ? std::size_t(p.kind) : 0]},
            {"position", p.position},
            {"inGame", p.inGame},
            {"moveableNextTurn", p.moveableNextTurn},
            {"losingTurn", p.losingTurn},
            {"headingInReverse", p.headingInReverse},
            {"onLetters", p.onLetters},
            {"isKiller", p.isKiller},
            {"dead", p.dead},
            {"piece", boxValue(p.piece)},
            {"vx", realValue(p.velocityX)},
            {"vy", realValue(p.velocityY)}};
}

// ---- Reading ---------------------------------------------------------------

void readPlayer(FieldReader& r, PlayerSnapshot& p) {
    r.text("name", p.name, saveLimits::kMaxNameLength);
    r.integer("score", p.score);
    r.integer("color", p.color, 0, kMaxColor);
    r.real("friction", p.friction);
    r.kind("kind", p.kind);
    r.integer("position", p.position, 0, saveLimits::kMaxPosition);
    r.boolean("inGame", p.inGame);
    r.boolean("moveableNextTurn", p.moveableNextTurn);
    r.boolean("losingTurn", p.losingTurn);
    r.boolean("headingInReverse", p.headingInReverse);
    r.boolean("onLetters", p.onLetters);
    r.boolean("isKiller", p.isKiller);
    r.boolean("dead", p.dead);
    readBoxAt(r, "piece", p.piece);
    r.real("vx", p.velocityX);
    r.real("vy", p.velocityY);
}

void readHitLog(FieldReader& r, const char* key, std::array<std::int32_t, kHitLogSize>& log) {
    const Json* list = r.array(key, kHitLogSize, kHitLogSize);
    for (std::size_t k = 0; list && k < kHitLogSize && r.ok(); ++k) {
        const std::optional<std::int64_t> n = wholeNumber((*list)[k]);
        if (!n || *n < 0 || *n > kMaxPlayers)
            r.fail(key, "entry " + std::to_string(k + 1) + " is not a player number 0 to 8");
        else
            log[k] = std::int32_t(*n);
    }
}

void readGame(FieldReader& r, GameSnapshot& s) {
    int version{};
    r.integer("version", version, kVersion, kVersion);
    if (const Json* list = r.array("players", 1, kMaxPlayers)) {
        s.players.resize(list->size());
        for (std::size_t i = 0; i < list->size(); ++i)
            if (auto p = r.object("players", (*list)[i], int(i + 1))) readPlayer(*p, s.players[i]);
    }
    r.integer("currentTurn", s.currentTurn, 1, std::int64_t(s.players.size()));
    r.boolean("gameRunning", s.gameRunning);
    r.boolean("wallsOn", s.wallsOn);
    r.boolean("shotInProgress", s.shotInProgress);
    r.integer("power", s.power);
    r.integer("hitCount", s.hitCount, 0, kHitLogSize);
    readHitLog(r, "hitFirst", s.hitFirst);
    readHitLog(r, "hitSecond", s.hitSecond);
    r.integer("killCount", s.killCount, 0);
    r.integer("sentCount", s.sentCount, 0);
    r.integer("oneShotBonus", s.oneShotBonus, 0, 1);
    r.integer("shotsTaken", s.shotsTaken, 0);
    if (const Json* list = r.array("walls", kWallCount, kWallCount)) {
        for (std::size_t j = 0; j < kWallCount; ++j)
            if (auto w = r.object("walls", (*list)[j], int(j + 1))) readBox(*w, s.walls[j]);
    }
    readBoxAt(r, "pieceHolder", s.pieceHolder);
    if (const Json* v = r.value("pointer")) {
        if (auto p = r.object("pointer", *v)) {
            p->real("x1", s.pointer.x1);
            p->real("y1", s.pointer.y1);
            p->real("x2", s.pointer.x2);
            p->real("y2", s.pointer.y2);
            p->boolean("visible", s.pointer.visible);
        }
    }
    r.real("leftEdge", s.leftEdge);
    r.real("rightEdge", s.rightEdge);
    r.real("fieldHeight", s.fieldHeight);
    r.real("contactOffsetX", s.contactOffsetX);
    r.real("contactOffsetY", s.contactOffsetY);
}

}  // namespace

std::string writeSnapshot(const GameSnapshot& s) {
    Json players = Json::array();
    for (const PlayerSnapshot& p : s.players) players.push_back(playerValue(p));
    Json walls = Json::array();
    for (const SnapshotBox& w : s.walls) walls.push_back(boxValue(w));
    const Json j = {
        {"version", kVersion},
        {"players", std::move(players)},
        {"currentTurn", s.currentTurn},
        {"gameRunning", s.gameRunning},
        {"wallsOn", s.wallsOn},
        {"shotInProgress", s.shotInProgress},
        {"power", s.power},
        {"hitCount", s.hitCount},
        {"hitFirst", s.hitFirst},
        {"hitSecond", s.hitSecond},
        {"killCount", s.killCount},
        {"sentCount", s.sentCount},
        {"oneShotBonus", s.oneShotBonus},
        {"shotsTaken", s.shotsTaken},
        {"walls", std::move(walls)},
        {"pieceHolder", boxValue(s.pieceHolder)},
        {"pointer",
         {{"x1", realValue(s.pointer.x1)},
          {"y1", realValue(s.pointer.y1)},
          {"x2", realValue(s.pointer.x2)},
          {"y2", realValue(s.pointer.y2)},
          {"visible", s.pointer.visible}}},
        {"leftEdge", realValue(s.leftEdge)},
        {"rightEdge", realValue(s.rightEdge)},
        {"fieldHeight", realValue(s.fieldHeight)},
        {"contactOffsetX", realValue(s.contactOffsetX)},
        {"contactOffsetY", realValue(s.contactOffsetY)},
    };
    // A name that is not UTF-8 (no part of the game makes one) is written
    // with replacement characters rather than refused.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<GameSnapshot> readSnapshot(std::string_view text, std::string* error) {
    std::string message;
    std::optional<GameSnapshot> result;
    try {
        if (text.size() > kMaxSnapshotTextBytes) {
            message = "the snapshot is " + std::to_string(text.size()) + " bytes, more than " +
                      std::to_string(kMaxSnapshotTextBytes);
        } else {
            const Json j = Json::parse(text, nullptr, false);
            if (j.is_discarded()) {
                message = "the snapshot is not JSON text";
            } else if (!j.is_object()) {
                message = "the snapshot is not a JSON object";
            } else {
                GameSnapshot s;
                FieldReader r(j, "", message);
                readGame(r, s);
                if (r.ok()) result = std::move(s);
            }
        }
    } catch (const std::exception& e) {
        message = std::string("the snapshot could not be read: ") + e.what();
    }
    if (!result && error) *error = message;
    return result;
}

}  // namespace capzel
