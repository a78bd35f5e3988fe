#include "Scenario.h"

#include <iterator>

#include "controls/Announcing.h"
#include "model/GameSetup.h"
#include "platform/SilentPlatform.h"
#include "rules/ShotJudging.h"

namespace capzel::scenarios {

using nlohmann::json;

namespace {

std::array<bool*, 7> flagsOf(GameState& g, int i) {
    return {&g.inGame[i], &g.dead[i], &g.isKiller[i], &g.onLetters[i], &g.headingInReverse[i],
            &g.moveableNextTurn[i], &g.losingTurn[i]};
}

}  // namespace

std::string flagText(const GameState& g, int i) {
    std::string out;
    const auto flags = flagsOf(const_cast<GameState&>(g), i);
    for (size_t f = 0; f < flags.size(); ++f)
        if (*flags[f]) out += flagLetters[f];
    return out;
}

Scenario scenarioFromJson(const json& j) {
    Scenario s;
    s.wallsOn = j.at("walls").get<bool>();
    s.turn = j.at("turn").get<int>();
    s.power = j.at("power").get<int>();
    s.pointer = j.at("pointer").get<std::array<float, 4>>();
    for (const json& p : j.at("players"))
        s.players.push_back({p.at("name").get<std::string>(), p.at("left").get<float>(), p.at("top").get<float>(),
                             p.at("friction").get<float>(), p.at("score").get<std::int32_t>(),
                             p.at("position").get<int>(), p.at("flags").get<std::string>()});
    return s;
}

void setUp(GameContext& ctx, const Scenario& s) {
    ctx.field = Field{};
    GameSetup setup;
    setup.walls = s.wallsOn;
    setup.currentTurn = std::int16_t(s.turn);
    for (const ScenarioPlayer& p : s.players) {
        SeatSetup seat;
        seat.name = p.name;
        seat.score = p.score;
        seat.friction = p.friction;
        seat.position = p.position;
        const auto has = [&](std::size_t f) { return p.flags.find(flagLetters[f]) != std::string::npos; };
        bool* flags[] = {&seat.inGame, &seat.dead, &seat.isKiller, &seat.onLetters,
                         &seat.headingInReverse, &seat.moveableNextTurn, &seat.losingTurn};
        for (std::size_t f = 0; f < std::size(flags); ++f) *flags[f] = has(f);
        seat.piece = PiecePlace{p.left, p.top};
        setup.seats.push_back(std::move(seat));
    }
    buildGame(ctx, setup);
    ctx.g.power = std::int16_t(s.power);
    ctx.board().pointer = {s.pointer[0], s.pointer[1], s.pointer[2], s.pointer[3]};
}

json outcome(const GameContext& ctx, const ShotResult& r, const std::vector<std::string>& messages,
             int highScoresShown, int players) {
    const GameState& g = ctx.g;
    json hits = json::array();
    for (int h = 1; h <= g.hitCount && h <= kHitLogSize; ++h) hits.push_back({g.hitFirst[h], g.hitSecond[h]});
    json rows = json::array();
    for (int i = 1; i <= (players < 0 ? g.numberOfPlayers : players) && i <= kMaxPlayers; ++i) {
        const Box& p = ctx.field.board.pieces[i];
        rows.push_back({{"left", p.left}, {"top", p.top}, {"vx", ctx.field.velocityX[i]},
                           {"vy", ctx.field.velocityY[i]}, {"visible", p.visible}, {"score", g.score[i]},
                           {"position", g.position[i]}, {"flags", flagText(g, i)}});
    }
    return {{"turn", g.currentTurn}, {"running", g.gameRunning}, {"high_scores", highScoresShown},
            {"holder", ctx.field.board.pieceHolder.visible}, {"power", g.power}, {"cycles", r.cycles},
            {"steps", r.steps}, {"step_delay", ctx.field.stepDelay}, {"hit_count", g.hitCount}, {"hits", hits}, {"kills", g.killCount},
            {"sent", g.sentCount}, {"messages", messages}, {"players", rows}};
}

json playScenario(const Scenario& s) {
    GameState g;
    Field field;
    SilentPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, s);
    const ShotResult r = shootPiece(ctx);
    const bool ended = !r.unfinished && tellPlayers(ctx.ui, judgeFinishedShot(ctx)) == GameFlow::Ended;
    return outcome(ctx, r, ui.messages, ended ? 1 : 0);
}

NewGameSettings pinnedNewGame(int players) {
    NewGameSettings settings;
    settings.players = players;
    settings.walls = players == 3;
    for (int i = 1; i <= kMaxPlayers; ++i) settings.friction[i] = FrictionLevel(i % 5);
    return settings;
}

Scenario pinnedBreak() {
    Scenario s{"break", true, 1, 6585, {4700, 3000, 4700, 9000}, {}};
    for (int i = 1; i <= 8; ++i) {
        const float col = float((i - 1) % 3), row = float((i - 1) / 3);
        s.players.push_back({std::string{'P', char('0' + i)}, 4100 + 310 * col, 4300 + 305 * row, 98, 200, 5, "g"});
    }
    s.players[0] = {"Kim", 4550, 6200, 97.5f, 500, 29, "gklrm"};
    return s;
}

}  // namespace capzel::scenarios
