// Reading the simulator's request: every field checked, one line per problem.
#include <limits>

#include "JsonFields.h"
#include "SimRequest.h"

namespace capzel::sim {

namespace {

using nlohmann::json;

SeatSetup readPlayer(const json& p, int number) {
    const std::string where = "players[" + std::to_string(number - 1) + "]";
    if (!p.is_object()) fail(where, "must be an object");
    rejectUnknownKeys(p, where,
                      {"name", "left", "top", "width", "height", "friction", "score", "position", "in_game",
                       "dead", "is_killer", "on_letters", "heading_in_reverse", "moveable_next_turn",
                       "losing_turn"});
    auto field = [&](const char* key) { return where + "." + key; };
    SeatSetup out;
    out.name = "Player " + std::to_string(number);
    if (p.contains("name")) out.name = readName(p["name"], field("name"));
    for (const char* key : {"left", "top"})
        if (!p.contains(key)) fail(field(key), "is missing");
    PiecePlace& piece = out.piece.emplace();
    piece.left = readFloat(p["left"], field("left"));
    piece.top = readFloat(p["top"], field("top"));
    if (p.contains("width")) piece.width = readFloat(p["width"], field("width"));
    if (p.contains("height")) piece.height = readFloat(p["height"], field("height"));
    if (!(piece.width > 0)) fail(field("width"), "must be greater than 0");
    if (!(piece.height > 0)) fail(field("height"), "must be greater than 0");
    if (p.contains("friction")) out.friction = readFloat(p["friction"], field("friction"));
    constexpr long long i32min = std::numeric_limits<std::int32_t>::min();
    constexpr long long i32max = std::numeric_limits<std::int32_t>::max();
    if (p.contains("score")) out.score = std::int32_t(readInteger(p["score"], field("score"), i32min, i32max));
    if (p.contains("position")) out.position = int(readInteger(p["position"], field("position"), 0, 32767));
    const std::pair<const char*, bool*> flags[] = {
        {"in_game", &out.inGame},
        {"dead", &out.dead},
        {"is_killer", &out.isKiller},
        {"on_letters", &out.onLetters},
        {"heading_in_reverse", &out.headingInReverse},
        {"moveable_next_turn", &out.moveableNextTurn},
        {"losing_turn", &out.losingTurn},
    };
    for (const auto& [key, target] : flags)
        if (p.contains(key)) *target = readBool(p[key], field(key));
    return out;
}

}  // namespace

SimRequest parseRequest(std::string_view text) {
    const json in = parseObject(text);
    rejectUnknownKeys(in, "", {"walls_on", "current_turn", "power", "pointer", "judge", "max_cycles", "players"});
    for (const char* key : {"current_turn", "power", "pointer", "players"})
        if (!in.contains(key)) fail(key, "is missing");

    SimRequest r;
    const json& players = in["players"];
    if (!players.is_array() || players.empty() || players.size() > size_t(kMaxPlayers))
        fail("players", "must be a list of 1 to 8 players");
    for (size_t k = 0; k < players.size(); ++k) r.players.push_back(readPlayer(players[k], int(k) + 1));

    if (in.contains("walls_on")) r.wallsOn = readBool(in["walls_on"], "walls_on");
    r.currentTurn = int(readInteger(in["current_turn"], "current_turn", 1, (long long)r.players.size()));
    r.power = std::int16_t(readInteger(in["power"], "power", std::numeric_limits<std::int16_t>::min(),
                                       std::numeric_limits<std::int16_t>::max()));
    const json& pointer = in["pointer"];
    if (!pointer.is_array() || pointer.size() != 4) fail("pointer", "must be a list of 4 numbers [x1, y1, x2, y2]");
    for (int k = 0; k < 4; ++k) r.pointer[k] = readFloat(pointer[k], "pointer[" + std::to_string(k) + "]");
    if (in.contains("judge")) r.judge = readBool(in["judge"], "judge");
    if (in.contains("max_cycles"))
        r.maxCycles = long(readInteger(in["max_cycles"], "max_cycles", 0, std::numeric_limits<long>::max()));
    return r;
}

}  // namespace capzel::sim
