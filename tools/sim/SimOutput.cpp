// Writing the state after a shot: a fixed order of keys, floats in their
// shortest form that reads back to the same single-precision value.
#include <charconv>
#include <cmath>
#include <string_view>

#include <nlohmann/json.hpp>

#include "SimRequest.h"

namespace capzel::sim {

namespace {

class Writer {
public:
    std::string out;

    // The members of one object, each after the separator but the first.
    explicit Writer(std::string_view separator) : separator_(separator) {}

    void integer(std::string_view k, long long v) {
        key(k);
        out += std::to_string(v);
    }
    void boolean(std::string_view k, bool v) {
        key(k);
        out += v ? "true" : "false";
    }
    void real(std::string_view k, float v) {
        key(k);
        realValue(v);
    }
    template <class Array>
    void integers(std::string_view k, const Array& a, int first, int last) {
        key(k);
        out += '[';
        for (int n = first; n <= last; ++n) out += (n > first ? ", " : "") + std::to_string(a[n]);
        out += ']';
    }
    void texts(std::string_view k, const std::vector<std::string>& list) {
        key(k);
        out += '[';
        for (size_t n = 0; n < list.size(); ++n) {
            if (n > 0) out += ", ";
            out += nlohmann::json(list[n]).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        }
        out += ']';
    }
    void raw(std::string_view k, std::string_view value) {
        key(k);
        out += value;
    }

private:
    std::string_view separator_;
    bool first_ = true;

    void key(std::string_view k) {
        if (!first_) out += separator_;
        first_ = false;
        out += '"';
        out += k;
        out += "\": ";
    }
    // Shortest round-trip form; a whole value keeps a ".0" so that it reads
    // as a real number.
    void realValue(float v) {
        if (!std::isfinite(v)) {
            out += "null";
            return;
        }
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        const std::string_view s(buf, size_t(res.ptr - buf));
        out += s;
        if (s.find_first_of(".e") == std::string_view::npos) out += ".0";
    }
};

std::string player(const GameContext& ctx, int i) {
    const modCapzel& g = ctx.g;
    const Box& p = ctx.field.board.Player[i];
    Writer w(", ");
    w.real("left", p.Left);
    w.real("top", p.Top);
    w.real("velocity_x", ctx.field.VelocityX[i]);
    w.real("velocity_y", ctx.field.VelocityY[i]);
    w.integer("score", g.Score[i]);
    w.integer("position", g.Position[i]);
    w.boolean("in_game", g.InGame[i]);
    w.boolean("dead", g.Dead[i]);
    w.boolean("is_killer", g.IsKiller[i]);
    w.boolean("on_letters", g.OnLetters[i]);
    w.boolean("heading_in_reverse", g.HeadingInReverse[i]);
    w.boolean("moveable_next_turn", g.MoveableNextTurn[i]);
    w.boolean("losing_turn", g.LosingTurn[i]);
    return "{" + w.out + "}";
}

}  // namespace

std::string writeOutcome(const GameContext& ctx, const ShotResult& result,
                         const std::vector<std::string>& messages) {
    const modCapzel& g = ctx.g;
    Writer w(",\n  ");
    w.integer("power", g.Power);
    w.integer("cycles", result.cycles);
    w.integer("steps", result.steps);
    w.boolean("unfinished", result.unfinished);
    w.integer("hit_count", g.HitCount);
    w.integers("hit_first", g.HitFirst, 1, kHitLogSize);
    w.integers("hit_second", g.HitSecond, 1, kHitLogSize);
    w.integer("kill_count", g.KillCount);
    w.integer("sent_count", g.SentCount);
    w.integer("current_turn", g.CurrentTurn);
    w.boolean("game_running", g.GameRunning);
    w.boolean("piece_holder_visible", ctx.field.board.PieceHolder.Visible);
    w.texts("messages", messages);
    std::string players = "[";
    for (int i = 1; i <= g.NumberOfPlayers && i <= kMaxPlayers; ++i)
        players += (i > 1 ? ",\n    " : "\n    ") + player(ctx, i);
    w.raw("players", players + "\n  ]");
    return "{\n  " + w.out + "\n}\n";
}

}  // namespace capzel::sim
