// Reading the simulator's request: every field checked, one line per problem.
#include <cmath>
#include <initializer_list>
#include <limits>

#include <nlohmann/json.hpp>

#include "SimRequest.h"

namespace capzel::sim {

namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& where, const std::string& problem) {
    throw InputError(where + ": " + problem);
}

void rejectUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        for (std::string_view k : known) ok = ok || it.key() == k;
        if (!ok) fail(where.empty() ? it.key() : where + "." + it.key(), "unknown key");
    }
}

bool readBool(const json& v, const std::string& where) {
    if (!v.is_boolean()) fail(where, "must be true or false");
    return v.get<bool>();
}

// A whole number within [lo, hi]; 3.0 counts as whole, 3.5 does not.
long long readInteger(const json& v, const std::string& where, long long lo, long long hi) {
    long long n = 0;
    if (v.is_number_integer()) {
        if (v.is_number_unsigned() && v.get<unsigned long long>() > (unsigned long long)hi)
            fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
        n = v.get<long long>();
    } else if (v.is_number_float()) {
        const double d = v.get<double>();
        if (!std::isfinite(d) || d != std::floor(d)) fail(where, "must be a whole number");
        if (d < double(lo) || d > double(hi))
            fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
        n = (long long)d;
    } else {
        fail(where, "must be a whole number");
    }
    if (n < lo || n > hi) fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
    return n;
}

// A number stored in single precision: it must stay finite there.
float readFloat(const json& v, const std::string& where) {
    if (!v.is_number()) fail(where, "must be a number");
    const double d = v.get<double>();
    const float f = float(d);
    if (!std::isfinite(d) || !std::isfinite(f)) fail(where, "must be a number within single precision");
    return f;
}

SimPlayer readPlayer(const json& p, int number) {
    const std::string where = "players[" + std::to_string(number - 1) + "]";
    if (!p.is_object()) fail(where, "must be an object");
    rejectUnknownKeys(p, where,
                      {"name", "left", "top", "width", "height", "friction", "score", "position", "in_game",
                       "dead", "is_killer", "on_letters", "heading_in_reverse", "moveable_next_turn",
                       "losing_turn"});
    auto field = [&](const char* key) { return where + "." + key; };
    SimPlayer out;
    out.name = "Player " + std::to_string(number);
    if (p.contains("name")) {
        if (!p["name"].is_string()) fail(field("name"), "must be a text");
        out.name = p["name"].get<std::string>();
    }
    for (const char* key : {"left", "top"})
        if (!p.contains(key)) fail(field(key), "is missing");
    out.left = readFloat(p["left"], field("left"));
    out.top = readFloat(p["top"], field("top"));
    if (p.contains("width")) out.width = readFloat(p["width"], field("width"));
    if (p.contains("height")) out.height = readFloat(p["height"], field("height"));
    if (!(out.width > 0)) fail(field("width"), "must be greater than 0");
    if (!(out.height > 0)) fail(field("height"), "must be greater than 0");
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
    json in;
    try {
        in = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at ...": keep the sentence.
        std::string what = e.what();
        const auto close = what.find("] ");
        throw InputError(close == std::string::npos ? what : what.substr(close + 2));
    }
    if (!in.is_object()) throw InputError("the input must be one JSON object");
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
