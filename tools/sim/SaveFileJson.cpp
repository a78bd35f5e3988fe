#include "SaveFileJson.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "JsonFields.h"
#include "JsonWriter.h"

namespace capzel::sim {

namespace {

using nlohmann::json;

constexpr long long kMaxColor = 16777215;  // 256^3 - 1

// The piece's geometry after a load is in whole twips.
long long twips(float v) { return std::isfinite(v) ? (long long)v : 0; }

std::string describePlayer(const Game& g, const Box& piece, int i) {
    Writer w(", ");
    w.text("name", g.seats[i].name);
    w.boolean("dead", g.seats[i].dead);
    w.boolean("in_game", g.seats[i].inGame);
    w.boolean("is_killer", g.seats[i].isKiller);
    w.boolean("on_letters", g.seats[i].onLetters);
    w.boolean("losing_turn", g.seats[i].losingTurn);
    w.boolean("moveable_next_turn", g.seats[i].moveableNextTurn);
    w.boolean("heading_in_reverse", g.seats[i].headingInReverse);
    w.real("friction", g.seats[i].friction);
    w.integer("score", g.seats[i].score);
    w.integer("color", g.seats[i].color);
    w.integer("height", twips(piece.height));
    w.integer("left", twips(piece.left));
    w.integer("top", twips(piece.top));
    w.integer("width", twips(piece.width));
    w.integer("position", g.seats[i].position);
    return "{" + w.out + "}";
}

// Every key of `object` must be there.
void requireKeys(const json& object, const std::string& where, std::initializer_list<std::string_view> keys) {
    for (std::string_view k : keys)
        if (!object.contains(k)) fail(where.empty() ? std::string(k) : where + "." + std::string(k), "is missing");
    rejectUnknownKeys(object, where, keys);
}

void setUpPlayer(const json& p, int i, Game& g, Box& piece) {
    const std::string where = "players[" + std::to_string(i - 1) + "]";
    if (!p.is_object()) fail(where, "must be an object");
    requireKeys(p, where,
                {"name", "dead", "in_game", "is_killer", "on_letters", "losing_turn", "moveable_next_turn",
                 "heading_in_reverse", "friction", "score", "color", "height", "left", "top", "width", "position"});
    const auto field = [&](const char* key) { return where + "." + key; };
    g.seats[i].name = readName(p["name"], field("name"));
    const std::pair<const char*, bool*> flags[] = {
        {"dead", &g.seats[i].dead},
        {"in_game", &g.seats[i].inGame},
        {"is_killer", &g.seats[i].isKiller},
        {"on_letters", &g.seats[i].onLetters},
        {"losing_turn", &g.seats[i].losingTurn},
        {"moveable_next_turn", &g.seats[i].moveableNextTurn},
        {"heading_in_reverse", &g.seats[i].headingInReverse},
    };
    for (const auto& [key, target] : flags) *target = readBool(p[key], field(key));
    g.seats[i].friction = readFloat(p["friction"], field("friction"));
    constexpr long long i32min = std::numeric_limits<std::int32_t>::min();
    constexpr long long i32max = std::numeric_limits<std::int32_t>::max();
    g.seats[i].score = std::int32_t(readInteger(p["score"], field("score"), i32min, i32max));
    g.seats[i].color = Color(readInteger(p["color"], field("color"), 0, kMaxColor));
    piece.height = readFloat(p["height"], field("height"));
    piece.left = readFloat(p["left"], field("left"));
    piece.top = readFloat(p["top"], field("top"));
    piece.width = readFloat(p["width"], field("width"));
    g.seats[i].position = int(readInteger(p["position"], field("position"), 0, i32max));
    piece.fillColor = g.seats[i].color;
    piece.visible = true;
}

}  // namespace

std::string describeSavedState(const Game& g) {
    const Board& board = g.board;
    Writer w(",\n  ");
    w.integer("number_of_players", g.numberOfPlayers);
    w.integer("current_turn", g.currentTurn);
    std::string players = "[";
    for (int i = 1; i <= g.numberOfPlayers && i <= kMaxPlayers; ++i)
        players += (i > 1 ? ",\n    " : "\n    ") + describePlayer(g, board.pieces[i], i);
    w.raw("players", players + (players.size() > 1 ? "\n  ]" : "]"));
    return "{\n  " + w.out + "\n}\n";
}

void setUpFromSavedState(std::string_view text, Game& g) {
    Board& board = g.board;
    const json in = parseObject(text);
    requireKeys(in, "", {"number_of_players", "current_turn", "players"});
    const int n = int(readInteger(in["number_of_players"], "number_of_players", 0, kMaxPlayers));
    const json& players = in["players"];
    if (!players.is_array() || players.size() != size_t(n))
        fail("players", "must be a list of number_of_players (" + std::to_string(n) + ") players");
    g.numberOfPlayers = std::int16_t(n);
    g.currentTurn = std::int16_t(readInteger(in["current_turn"], "current_turn", std::numeric_limits<std::int16_t>::min(),
                                             std::numeric_limits<std::int16_t>::max()));
    g.recreatePerGameTables();
    for (int i = 1; i <= n; ++i) setUpPlayer(players[size_t(i - 1)], i, g, board.pieces[i]);
}

}  // namespace capzel::sim
