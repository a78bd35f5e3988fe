#include "Scenario.h"

#include <iterator>

#include "controls/Announcing.h"
#include "controls/PacedShot.h"
#include "model/GameSetup.h"
#include "platform/SilentPlatform.h"
#include "rules/ShotJudging.h"

namespace capzel::scenarios {

using nlohmann::json;

namespace {

std::array<bool*, 7> flagsOf(Game& g, int i) {
    return {&g.seats[i].inGame, &g.seats[i].dead, &g.seats[i].isKiller, &g.seats[i].onLetters, &g.seats[i].headingInReverse,
            &g.seats[i].moveableNextTurn, &g.seats[i].losingTurn};
}

}  // namespace

std::string flagText(const Game& g, int i) {
    std::string out;
    const auto flags = flagsOf(const_cast<Game&>(g), i);
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

GameSetup scenarioSetup(const Scenario& s) {
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
    return setup;
}

void setUp(GameContext& ctx, const Scenario& s) {
    ctx.game = Field{};
    buildGame(ctx, scenarioSetup(s));
    ctx.game.power = std::int16_t(s.power);
    ctx.board().pointer = {s.pointer[0], s.pointer[1], s.pointer[2], s.pointer[3]};
}

ShotResult playPacedShot(GameContext& ctx, StepPace& pace) {
    ShotEvents events;
    PacedShot shot(ctx, pace, events);
    shot.finish();
    return shot.result();
}

json outcome(const GameContext& ctx, const ShotResult& r, double stepDelay, const std::vector<std::string>& messages,
             int highScoresShown, int players) {
    const Game& g = ctx.game;
    json hits = json::array();
    for (int h = 1; h <= g.hitCount && h <= kHitLogSize; ++h) hits.push_back({g.hitFirst[h], g.hitSecond[h]});
    json rows = json::array();
    for (int i = 1; i <= (players < 0 ? g.numberOfPlayers : players) && i <= kMaxPlayers; ++i) {
        const Box& p = ctx.game.board.pieces[i];
        rows.push_back({{"left", p.left}, {"top", p.top}, {"vx", ctx.game.velocityX[i]},
                           {"vy", ctx.game.velocityY[i]}, {"visible", p.visible}, {"score", g.seats[i].score},
                           {"position", g.seats[i].position}, {"flags", flagText(g, i)}});
    }
    return {{"turn", g.currentTurn}, {"running", g.gameRunning}, {"high_scores", highScoresShown},
            {"holder", ctx.game.board.pieceHolder.visible}, {"power", g.power}, {"cycles", r.cycles},
            {"steps", r.steps}, {"step_delay", stepDelay}, {"hit_count", g.hitCount}, {"hits", hits}, {"kills", g.killCount},
            {"sent", g.sentCount}, {"messages", messages}, {"players", rows}};
}

json playScenario(const Scenario& s) {
    Game g;
    Field field;
    SilentPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, s);
    StepPace pace;
    const ShotResult r = playPacedShot(ctx, pace);
    const bool ended = !r.unfinished && tellPlayers(ctx.ui, judgeFinishedShot(ctx)) == GameFlow::Ended;
    return outcome(ctx, r, pace.delay(), ui.messages, ended ? 1 : 0);
}

namespace {

struct Digest {
    std::uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n) {
        const auto* c = static_cast<const unsigned char*>(p);
        for (size_t k = 0; k < n; ++k) h = (h ^ c[k]) * 1099511628211ull;
    }
    template <class T>
    void add(const T& v) {
        bytes(&v, sizeof v);
    }
    void add(const std::string& s) {
        add(s.size());
        bytes(s.data(), s.size());
    }
    void add(const Box& b) {
        add(b.left), add(b.top), add(b.width), add(b.height), add(b.visible), add(b.fillColor);
    }
    void add(const Line& l) {
        add(l.x1), add(l.y1), add(l.x2), add(l.y2), add(l.visible), add(l.lineColor), add(l.borderWidth);
        add(int(l.style));
    }
    template <class T, size_t N>
    void add(const std::array<T, N>& a) {
        for (const T& v : a) add(v);
    }
};

}  // namespace

std::uint64_t stateDigest(const GameContext& ctx) {
    const Game& g = ctx.game;
    const Field& f = ctx.game;
    const Board& b = f.board;
    Digest d;
    d.add(g.numberOfPlayers), d.add(g.currentTurn), d.add(g.gameRunning), d.add(g.wallsOn), d.add(g.power);
    d.add(g.hitCount), d.add(g.hitFirst), d.add(g.hitSecond), d.add(g.killCount), d.add(g.sentCount);
    d.add(g.oneShotBonus), d.add(g.playerName), d.add(g.score), d.add(g.playerColor), d.add(g.friction);
    d.add(g.inGame), d.add(g.moveableNextTurn), d.add(g.losingTurn), d.add(g.position);
    d.add(g.headingInReverse), d.add(g.onLetters), d.add(g.isKiller), d.add(g.dead), d.add(g.shotsTaken);
    d.add(f.velocityX), d.add(f.velocityY), d.add(f.ox), d.add(f.oy);
    d.add(b.fieldPicture), d.add(b.leftLine), d.add(b.rightLine), d.add(b.spots), d.add(b.walls), d.add(b.pieces);
    d.add(b.pieceHolder), d.add(b.centerLines), d.add(b.guideLines), d.add(b.pointer);
    d.add(b.scaleWidth), d.add(b.scaleHeight);
    return d.h;
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
