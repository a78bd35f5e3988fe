#include "records/GameText.h"

#include <cstdint>
#include <utility>

#include "records/GameJson.h"
#include "records/JsonFields.h"
#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel {

namespace {

using namespace jsonfields;

constexpr int kVersion = 1;

// ---- Writing ---------------------------------------------------------------

Json seatValue(const Game& g, int i) {
    const Seat& p = g.seat(i);
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
            {"piece", boxValue(g.piece(i))},
            {"vx", realValue(g.velocityX[std::size_t(i)])},
            {"vy", realValue(g.velocityY[std::size_t(i)])}};
}

// ---- Reading ---------------------------------------------------------------

void readSeat(FieldReader& r, Game& g, int i) {
    Seat& p = g.seat(i);
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
    readBoxAt(r, "piece", g.piece(i));
    r.real("vx", g.velocityX[std::size_t(i)]);
    r.real("vy", g.velocityY[std::size_t(i)]);
}

void readHitLog(FieldReader& r, const char* key, std::array<int, kHitLogSize + 1>& log) {
    const Json* list = r.array(key, kHitLogSize, kHitLogSize);
    for (std::size_t k = 0; list && k < kHitLogSize && r.ok(); ++k) {
        const std::optional<std::int64_t> n = wholeNumber((*list)[k]);
        if (!n || *n < 0 || *n > kMaxPlayers)
            r.fail(key, "entry " + std::to_string(k + 1) + " is not a player number 0 to 8");
        else
            log[k + 1] = int(*n);
    }
}

}  // namespace

namespace gamejson {

// A fresh game takes the players' rows as a new game or a load makes them:
// per-game tables cleared, pieces above the players hidden and still.
void readGame(FieldReader& r, Game& g) {
    int version{};
    r.integer("version", version, kVersion, kVersion);
    if (const Json* list = r.array("players", 1, kMaxPlayers)) {
        g.numberOfPlayers = std::int16_t(list->size());
        g.recreatePerGameTables();
        for (std::size_t i = 0; i < list->size(); ++i)
            if (auto p = r.object("players", (*list)[i], int(i + 1))) readSeat(*p, g, int(i + 1));
        for (int i = g.playerCount() + 1; i <= kMaxPlayers; ++i) g.piece(i).visible = false;
    }
    r.integer("currentTurn", g.currentTurn, 1, std::int64_t(g.numberOfPlayers));
    r.boolean("gameRunning", g.gameRunning);
    r.boolean("wallsOn", g.wallsOn);
    r.boolean("shotInProgress", g.shotInProgress);
    r.integer("power", g.launchStrength);
    r.integer("hitCount", g.hitCount, 0, kHitLogSize);
    readHitLog(r, "hitFirst", g.hitFirst);
    readHitLog(r, "hitSecond", g.hitSecond);
    r.integer("killCount", g.killCount, 0);
    r.integer("sentCount", g.sentCount, 0);
    r.integer("oneShotBonus", g.oneShotBonus, 0, 1);
    r.integer("shotsTaken", g.shotsTaken, 0);
    if (const Json* list = r.array("walls", kWallCount, kWallCount)) {
        for (std::size_t j = 0; j < kWallCount; ++j)
            if (auto w = r.object("walls", (*list)[j], int(j + 1))) readBox(*w, g.board.walls[j + 1]);
    }
    readBoxAt(r, "pieceHolder", g.board.pieceHolder);
    if (const Json* v = r.value("pointer")) {
        if (auto p = r.object("pointer", *v)) {
            Line& aim = g.board.pointer;
            p->real("x1", aim.x1);
            p->real("y1", aim.y1);
            p->real("x2", aim.x2);
            p->real("y2", aim.y2);
            p->boolean("visible", aim.visible);
        }
    }
    r.real("leftEdge", g.board.leftLine.x1);
    r.real("rightEdge", g.board.rightLine.x1);
    // The field's height is a window's: every strength the bar gives is
    // measured from it.
    r.finite("fieldHeight", g.board.scaleHeight);
    r.real("contactOffsetX", g.ox);
    r.real("contactOffsetY", g.oy);
}

Json gameValue(const Game& g) {
    Json players = Json::array();
    for (int i = 1; i <= g.playerCount(); ++i) players.push_back(seatValue(g, i));
    Json walls = Json::array();
    for (std::size_t j = 1; j <= kWallCount; ++j) walls.push_back(boxValue(g.board.walls[j]));
    Json hitFirst = Json::array(), hitSecond = Json::array();
    for (std::size_t k = 1; k <= kHitLogSize; ++k) {
        hitFirst.push_back(g.hitFirst[k]);
        hitSecond.push_back(g.hitSecond[k]);
    }
    const Line& aim = g.board.pointer;
    return {
        {"version", kVersion},
        {"players", std::move(players)},
        {"currentTurn", g.currentTurn},
        {"gameRunning", g.gameRunning},
        {"wallsOn", g.wallsOn},
        {"shotInProgress", g.shotInProgress},
        {"power", g.launchStrength},
        {"hitCount", g.hitCount},
        {"hitFirst", std::move(hitFirst)},
        {"hitSecond", std::move(hitSecond)},
        {"killCount", g.killCount},
        {"sentCount", g.sentCount},
        {"oneShotBonus", g.oneShotBonus},
        {"shotsTaken", g.shotsTaken},
        {"walls", std::move(walls)},
        {"pieceHolder", boxValue(g.board.pieceHolder)},
        {"pointer",
         {{"x1", realValue(aim.x1)},
          {"y1", realValue(aim.y1)},
          {"x2", realValue(aim.x2)},
          {"y2", realValue(aim.y2)},
          {"visible", aim.visible}}},
        {"leftEdge", realValue(g.board.leftLine.x1)},
        {"rightEdge", realValue(g.board.rightLine.x1)},
        {"fieldHeight", realValue(g.board.scaleHeight)},
        {"contactOffsetX", realValue(g.ox)},
        {"contactOffsetY", realValue(g.oy)},
    };
}

}  // namespace gamejson

std::string writeGameText(const Game& g) {
    // A name that is not UTF-8 (no part of the game makes one) is written
    // with replacement characters rather than refused.
    return gamejson::gameValue(g).dump(-1, ' ', false, Json::error_handler_t::replace);
}
std::optional<Game> readGameText(std::string_view text, std::string* error) {
    std::string message;
    std::optional<Game> result;
    try {
        if (text.size() > kMaxGameTextBytes) {
            message = "the snapshot is " + std::to_string(text.size()) + " bytes, more than " +
                      std::to_string(kMaxGameTextBytes);
        } else {
            const Json j = Json::parse(text, nullptr, false);
            if (j.is_discarded()) {
                message = "the snapshot is not JSON text";
            } else if (!j.is_object()) {
                message = "the snapshot is not a JSON object";
            } else {
                Game g;
                FieldReader r(j, "", message);
                gamejson::readGame(r, g);
                if (r.ok()) result = std::move(g);
            }
        }
    } catch (const std::exception& e) {
        message = std::string("the snapshot could not be read: ") + e.what();
    }
    if (!result && error) *error = message;
    return result;
}

}  // namespace capzel
