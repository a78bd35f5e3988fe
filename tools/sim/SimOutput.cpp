// Writing the state after a shot: a fixed order of keys, floats in their
// shortest form that reads back to the same single-precision value.
#include "JsonWriter.h"
#include "SimRequest.h"

namespace capzel::sim {

namespace {

std::string player(const GameContext& ctx, int i) {
    const Game& g = ctx.game;
    const Box& p = ctx.game.board.pieces[i];
    Writer w(", ");
    w.real("left", p.left);
    w.real("top", p.top);
    w.real("velocity_x", ctx.game.velocityX[i]);
    w.real("velocity_y", ctx.game.velocityY[i]);
    w.integer("score", g.seats[i].score);
    w.integer("position", g.seats[i].position);
    w.boolean("in_game", g.seats[i].inGame);
    w.boolean("dead", g.seats[i].dead);
    w.boolean("is_killer", g.seats[i].isKiller);
    w.boolean("on_letters", g.seats[i].onLetters);
    w.boolean("heading_in_reverse", g.seats[i].headingInReverse);
    w.boolean("moveable_next_turn", g.seats[i].moveableNextTurn);
    w.boolean("losing_turn", g.seats[i].losingTurn);
    return "{" + w.out + "}";
}

}  // namespace

std::string writeOutcome(const GameContext& ctx, const ShotResult& result,
                         const std::vector<std::string>& messages) {
    const Game& g = ctx.game;
    Writer w(",\n  ");
    w.integer("power", g.launchStrength);
    w.integer("cycles", result.cycles);
    w.integer("steps", result.steps);
    w.boolean("unfinished", result.unfinished);
    w.integer("hit_count", g.hitCount);
    w.integers("hit_first", g.hitFirst, 1, kHitLogSize);
    w.integers("hit_second", g.hitSecond, 1, kHitLogSize);
    w.integer("kill_count", g.killCount);
    w.integer("sent_count", g.sentCount);
    w.integer("current_turn", g.currentTurn);
    w.boolean("game_running", g.gameRunning);
    w.boolean("piece_holder_visible", ctx.game.board.pieceHolder.visible);
    w.texts("messages", messages);
    std::string players = "[";
    for (int i = 1; i <= g.numberOfPlayers && i <= kMaxPlayers; ++i)
        players += (i > 1 ? ",\n    " : "\n    ") + player(ctx, i);
    w.raw("players", players + "\n  ]");
    return "{\n  " + w.out + "\n}\n";
}

}  // namespace capzel::sim
