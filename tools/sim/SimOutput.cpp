// Writing the state after a shot: a fixed order of keys, floats in their
// shortest form that reads back to the same single-precision value.
#include "JsonWriter.h"
#include "SimRequest.h"

namespace capzel::sim {

namespace {

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
