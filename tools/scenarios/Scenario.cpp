#include "Scenario.h"

#include <iterator>
#include <tuple>

#include "controls/PacedShot.h"
#include "model/GameSetup.h"
#include "platform/SilentPlatform.h"
#include "rules/ShotInPlay.h"

namespace capzel::scenarios {

using nlohmann::json;

std::string flagText(const Game& g, int i) {
    const Seat& s = g.seats[i];
    const bool flags[] = {s.inGame, s.dead, s.isKiller, s.onLetters, s.headingInReverse, s.moveableNextTurn, s.losingTurn};
    std::string out;
    for (size_t f = 0; f < std::size(flags); ++f)
        if (flags[f]) out += flagLetters[f];
    return out;
}

Scenario scenarioFromJson(const json& j) {
    Scenario s{"", j.at("walls"), j.at("turn"), j.at("power"), j.at("pointer"), {}};
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
        SeatSetup& seat = setup.seats.emplace_back(
            SeatSetup{.name = p.name, .color = std::nullopt, .friction = p.friction, .score = p.score, .position = p.position,
                      .piece = PiecePlace{p.left, p.top}});
        bool* flags[] = {&seat.inGame, &seat.dead, &seat.isKiller, &seat.onLetters,
                         &seat.headingInReverse, &seat.moveableNextTurn, &seat.losingTurn};
        for (std::size_t f = 0; f < std::size(flags); ++f) *flags[f] = p.flags.find(flagLetters[f]) != std::string::npos;
    }
    return setup;
}

void setUp(Game& g, const Scenario& s) {
    g = Game{};
    buildGame(g, scenarioSetup(s));
}

ShotCommand scenarioShot(const Game& g, const Scenario& s) {
    ShotCommand shot;
    shot.seat = g.currentTurn;
    std::tie(shot.x1, shot.y1, shot.x2, shot.y2) = std::tuple_cat(s.pointer);
    shot.strength = std::int16_t(s.power);
    return shot;
}

PacedPlay playPacedShot(Game& g, const ShotCommand& shot) {
    SilentPlatform clock;
    StepPace pace;
    ShotInPlay inPlay(g, shot);
    PacedShot(inPlay, clock, pace).finish();
    return {inPlay.result(), g.launchStrength, pace.delay(), inPlay.judge()};
}

std::vector<std::string> messagesOf(const Judgement& said) {
    std::vector<std::string> texts;
    for (const Announcement& a : said.announcements) texts.push_back(a.text);
    return texts;
}

json outcome(const Game& g, const ShotResult& r, std::int16_t launchStrength, double stepDelay,
             const std::vector<std::string>& messages, int highScoresShown, int players) {
    json hits = json::array();
    for (int h = 1; h <= g.hitCount && h <= kHitLogSize; ++h) hits.push_back({g.hitFirst[h], g.hitSecond[h]});
    json rows = json::array();
    for (int i = 1; i <= (players < 0 ? g.numberOfPlayers : players) && i <= kMaxPlayers; ++i) {
        const Box& p = g.piece(i);
        rows.push_back({{"left", p.left}, {"top", p.top}, {"vx", g.velocityX[i]},
                           {"vy", g.velocityY[i]}, {"visible", p.visible}, {"score", g.seats[i].score},
                           {"position", g.seats[i].position}, {"flags", flagText(g, i)}});
    }
    return {{"turn", g.currentTurn}, {"running", g.gameRunning}, {"high_scores", highScoresShown},
            {"holder", g.board.pieceHolder.visible}, {"power", launchStrength}, {"cycles", r.cycles},
            {"steps", r.steps}, {"step_delay", stepDelay}, {"hit_count", g.hitCount}, {"hits", hits}, {"kills", g.killCount},
            {"sent", g.sentCount}, {"messages", messages}, {"players", rows}};
}

json playScenarioOn(Game& g, const Scenario& s) {
    const PacedPlay played = playPacedShot(g, scenarioShot(g, s));
    return outcome(g, played.result, played.launchStrength, played.stepDelay, messagesOf(played.outcome),
                   played.outcome.ended() ? 1 : 0);
}

json playScenario(const Scenario& s) {
    Game g;
    setUp(g, s);
    return playScenarioOn(g, s);
}

namespace {

struct Digest {
    std::uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n) {
        const auto* c = static_cast<const unsigned char*>(p);
        for (size_t k = 0; k < n; ++k) h = (h ^ c[k]) * 1099511628211ull;
    }
    template <class T>
    void add(const T& v) { bytes(&v, sizeof v); }
    void add(const std::string& s) { add(s.size()), bytes(s.data(), s.size()); }
    void add(const Box& b) { add(b.left), add(b.top), add(b.width), add(b.height), add(b.visible), add(b.fillColor); }
    void add(const Line& l) {
        add(l.x1), add(l.y1), add(l.x2), add(l.y2), add(l.visible), add(l.lineColor), add(l.borderWidth), add(int(l.style));
    }
    template <class T, size_t N>
    void add(const std::array<T, N>& a) {
        for (const T& v : a) add(v);
    }
};

}  // namespace

std::uint64_t stateDigest(const Game& g) {
    const Board& b = g.board;
    Digest d;
    d.add(g.numberOfPlayers), d.add(g.currentTurn), d.add(g.gameRunning), d.add(g.wallsOn), d.add(g.shotInProgress);
    d.add(g.launchStrength), d.add(g.hitCount), d.add(g.hitFirst), d.add(g.hitSecond), d.add(g.killCount);
    d.add(g.sentCount), d.add(g.oneShotBonus), d.add(g.shotsTaken), d.add(g.perGameTablesExist);
    for (const Seat& s : g.seats) {
        d.add(s.name), d.add(s.score), d.add(s.color), d.add(s.friction), d.add(int(s.kind)), d.add(s.position);
        d.add(s.inGame), d.add(s.moveableNextTurn), d.add(s.losingTurn), d.add(s.headingInReverse);
        d.add(s.onLetters), d.add(s.isKiller), d.add(s.dead);
    }
    d.add(g.velocityX), d.add(g.velocityY), d.add(g.ox), d.add(g.oy);
    d.add(b.leftLine), d.add(b.rightLine), d.add(b.spots), d.add(b.walls), d.add(b.pieces);
    d.add(b.pieceHolder), d.add(b.pointer), d.add(b.scaleWidth), d.add(b.scaleHeight);
    return d.h;
}

NewGameSettings pinnedNewGame(int players) {
    NewGameSettings settings;
    settings.players = players, settings.walls = players == 3;
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
