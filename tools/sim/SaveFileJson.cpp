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

std::string describePlayer(const modCapzel& g, const Box& piece, int i) {
    Writer w(", ");
    w.text("name", g.PlayerName[i]);
    w.boolean("dead", g.Dead[i]);
    w.boolean("in_game", g.InGame[i]);
    w.boolean("is_killer", g.IsKiller[i]);
    w.boolean("on_letters", g.OnLetters[i]);
    w.boolean("losing_turn", g.LosingTurn[i]);
    w.boolean("moveable_next_turn", g.MoveableNextTurn[i]);
    w.boolean("heading_in_reverse", g.HeadingInReverse[i]);
    w.real("friction", g.Friction[i]);
    w.integer("score", g.Score[i]);
    w.integer("color", g.PlayerColor[i]);
    w.integer("height", twips(piece.Height));
    w.integer("left", twips(piece.Left));
    w.integer("top", twips(piece.Top));
    w.integer("width", twips(piece.Width));
    w.integer("position", g.Position[i]);
    return "{" + w.out + "}";
}

// Every key of `object` must be there.
void requireKeys(const json& object, const std::string& where, std::initializer_list<std::string_view> keys) {
    for (std::string_view k : keys)
        if (!object.contains(k)) fail(where.empty() ? std::string(k) : where + "." + std::string(k), "is missing");
    rejectUnknownKeys(object, where, keys);
}

void setUpPlayer(const json& p, int i, modCapzel& g, Box& piece) {
    const std::string where = "players[" + std::to_string(i - 1) + "]";
    if (!p.is_object()) fail(where, "must be an object");
    requireKeys(p, where,
                {"name", "dead", "in_game", "is_killer", "on_letters", "losing_turn", "moveable_next_turn",
                 "heading_in_reverse", "friction", "score", "color", "height", "left", "top", "width", "position"});
    const auto field = [&](const char* key) { return where + "." + key; };
    g.PlayerName[i] = readName(p["name"], field("name"));
    const std::pair<const char*, bool*> flags[] = {
        {"dead", &g.Dead[i]},
        {"in_game", &g.InGame[i]},
        {"is_killer", &g.IsKiller[i]},
        {"on_letters", &g.OnLetters[i]},
        {"losing_turn", &g.LosingTurn[i]},
        {"moveable_next_turn", &g.MoveableNextTurn[i]},
        {"heading_in_reverse", &g.HeadingInReverse[i]},
    };
    for (const auto& [key, target] : flags) *target = readBool(p[key], field(key));
    g.Friction[i] = readFloat(p["friction"], field("friction"));
    constexpr long long i32min = std::numeric_limits<std::int32_t>::min();
    constexpr long long i32max = std::numeric_limits<std::int32_t>::max();
    g.Score[i] = std::int32_t(readInteger(p["score"], field("score"), i32min, i32max));
    g.PlayerColor[i] = Color(readInteger(p["color"], field("color"), 0, kMaxColor));
    piece.Height = readFloat(p["height"], field("height"));
    piece.Left = readFloat(p["left"], field("left"));
    piece.Top = readFloat(p["top"], field("top"));
    piece.Width = readFloat(p["width"], field("width"));
    g.Position[i] = int(readInteger(p["position"], field("position"), 0, i32max));
    piece.FillColor = g.PlayerColor[i];
    piece.Visible = true;
}

}  // namespace

std::string describeSavedState(const modCapzel& g, const Board& board) {
    Writer w(",\n  ");
    w.integer("number_of_players", g.NumberOfPlayers);
    w.integer("current_turn", g.CurrentTurn);
    std::string players = "[";
    for (int i = 1; i <= g.NumberOfPlayers && i <= kMaxPlayers; ++i)
        players += (i > 1 ? ",\n    " : "\n    ") + describePlayer(g, board.Player[i], i);
    w.raw("players", players + (players.size() > 1 ? "\n  ]" : "]"));
    return "{\n  " + w.out + "\n}\n";
}

void setUpFromSavedState(std::string_view text, modCapzel& g, Board& board) {
    const json in = parseObject(text);
    requireKeys(in, "", {"number_of_players", "current_turn", "players"});
    const int n = int(readInteger(in["number_of_players"], "number_of_players", 0, kMaxPlayers));
    const json& players = in["players"];
    if (!players.is_array() || players.size() != size_t(n))
        fail("players", "must be a list of number_of_players (" + std::to_string(n) + ") players");
    g.NumberOfPlayers = std::int16_t(n);
    g.CurrentTurn = std::int16_t(readInteger(in["current_turn"], "current_turn", std::numeric_limits<std::int16_t>::min(),
                                             std::numeric_limits<std::int16_t>::max()));
    g.recreatePerGameTables();
    for (int i = 1; i <= n; ++i) setUpPlayer(players[size_t(i - 1)], i, g, board.Player[i]);
}

}  // namespace capzel::sim
