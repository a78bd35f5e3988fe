#include "Scenario.h"

#include <cstring>

namespace capzel::scenarios {

using nlohmann::json;

namespace {

std::array<bool*, 7> flagsOf(modCapzel& g, int i) {
    return {&g.InGame[i], &g.Dead[i], &g.IsKiller[i], &g.OnLetters[i], &g.HeadingInReverse[i],
            &g.MoveableNextTurn[i], &g.LosingTurn[i]};
}

std::string flagText(const modCapzel& g, int i) {
    std::string out;
    const auto flags = flagsOf(const_cast<modCapzel&>(g), i);
    for (size_t f = 0; f < flags.size(); ++f)
        if (*flags[f]) out += flagLetters[f];
    return out;
}

}  // namespace

json toJson(const Scenario& s) {
    json players = json::array();
    for (const ScenarioPlayer& p : s.players)
        players.push_back({{"name", p.name}, {"left", p.left}, {"top", p.top}, {"friction", p.friction},
                           {"score", p.score}, {"position", p.position}, {"flags", p.flags}});
    return {{"walls", s.wallsOn}, {"turn", s.turn}, {"power", s.power},
            {"pointer", s.pointer}, {"players", players}};
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
    modCapzel& g = ctx.g;
    ctx.field = Field{};
    const int n = int(s.players.size());
    g.NumberOfPlayers = std::int16_t(n);
    g.recreatePerGameTables();
    g.CurrentTurn = std::int16_t(s.turn);
    g.GameRunning = true;
    g.WallsOn = s.wallsOn;
    g.Power = std::int16_t(s.power);
    Board& board = ctx.board();
    for (int j = 1; j <= kWallCount; ++j) board.Wall[j].Visible = s.wallsOn;
    board.PieceHolder.Visible = false;
    board.Pointer = {s.pointer[0], s.pointer[1], s.pointer[2], s.pointer[3]};
    for (int i = 1; i <= kMaxPlayers; ++i) {
        if (i > n) {
            board.Player[i].Visible = false;
            continue;
        }
        const ScenarioPlayer& p = s.players[size_t(i - 1)];
        g.PlayerName[i] = p.name;
        g.Score[i] = p.score;
        g.Friction[i] = p.friction;
        g.Position[i] = p.position;
        const auto flags = flagsOf(g, i);
        for (size_t f = 0; f < flags.size(); ++f) *flags[f] = p.flags.find(flagLetters[f]) != std::string::npos;
        board.Player[i].Left = p.left;
        board.Player[i].Top = p.top;
    }
}

json outcome(const GameContext& ctx, const ShotResult& r, const std::vector<std::string>& messages,
             int highScoresShown, int players) {
    const modCapzel& g = ctx.g;
    json hits = json::array();
    for (int h = 1; h <= g.HitCount && h <= kHitLogSize; ++h) hits.push_back({g.HitFirst[h], g.HitSecond[h]});
    json rows = json::array();
    for (int i = 1; i <= (players < 0 ? g.NumberOfPlayers : players) && i <= kMaxPlayers; ++i) {
        const Box& p = ctx.field.board.Player[i];
        rows.push_back({{"left", p.Left}, {"top", p.Top}, {"vx", ctx.field.VelocityX[i]},
                           {"vy", ctx.field.VelocityY[i]}, {"visible", p.Visible}, {"score", g.Score[i]},
                           {"position", g.Position[i]}, {"flags", flagText(g, i)}});
    }
    return {{"turn", g.CurrentTurn}, {"running", g.GameRunning}, {"high_scores", highScoresShown},
            {"holder", ctx.field.board.PieceHolder.Visible}, {"power", g.Power}, {"cycles", r.cycles},
            {"steps", r.steps}, {"hit_count", g.HitCount}, {"hits", hits}, {"kills", g.KillCount},
            {"sent", g.SentCount}, {"messages", messages}, {"players", rows}};
}

std::string firstDifference(const json& expected, const json& actual, const std::string& path) {
    if (expected.type() == actual.type() && expected.is_structured() && expected.size() == actual.size()) {
        if (expected.is_object()) {
            for (auto it = expected.begin(); it != expected.end(); ++it) {
                if (!actual.contains(it.key())) return path + "/" + it.key() + ": missing";
                std::string d = firstDifference(it.value(), actual.at(it.key()), path + "/" + it.key());
                if (!d.empty()) return d;
            }
            return "";
        }
        for (size_t k = 0; k < expected.size(); ++k) {
            std::string d = firstDifference(expected[k], actual[k], path + "/" + std::to_string(k));
            if (!d.empty()) return d;
        }
        return "";
    }
    // Numbers compare by value: a float read back from the file is the same
    // float only when every bit agrees.
    if (expected.is_number() && actual.is_number() && expected.get<double>() == actual.get<double>()) return "";
    if (expected == actual) return "";
    return (path.empty() ? "/" : path) + ": expected " + expected.dump() + ", got " + actual.dump();
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
        add(b.Left), add(b.Top), add(b.Width), add(b.Height), add(b.Visible), add(b.FillColor), add(b.Z);
    }
    void add(const Line& l) {
        add(l.X1), add(l.Y1), add(l.X2), add(l.Y2), add(l.Visible), add(l.LineColor), add(l.BorderWidth);
        add(int(l.Style)), add(l.Z);
    }
    template <class T, size_t N>
    void add(const std::array<T, N>& a) {
        for (const T& v : a) add(v);
    }
};

}  // namespace

std::uint64_t stateDigest(const GameContext& ctx) {
    const modCapzel& g = ctx.g;
    const Field& f = ctx.field;
    const Board& b = f.board;
    Digest d;
    d.add(g.NumberOfPlayers), d.add(g.CurrentTurn), d.add(g.GameRunning), d.add(g.WallsOn), d.add(g.Power);
    d.add(g.HitCount), d.add(g.HitFirst), d.add(g.HitSecond), d.add(g.KillCount), d.add(g.SentCount);
    d.add(g.OneShotBonus), d.add(g.PlayerName), d.add(g.Score), d.add(g.PlayerColor), d.add(g.Friction);
    d.add(g.InGame), d.add(g.MoveableNextTurn), d.add(g.LosingTurn), d.add(g.Position);
    d.add(g.HeadingInReverse), d.add(g.OnLetters), d.add(g.IsKiller), d.add(g.Dead), d.add(g.shotsTaken);
    d.add(f.VelocityX), d.add(f.VelocityY), d.add(f.ox), d.add(f.oy);
    d.add(b.Image1), d.add(b.linLeft), d.add(b.linRight), d.add(b.Spot), d.add(b.Wall), d.add(b.Player);
    d.add(b.PieceHolder), d.add(b.CenterLine), d.add(b.linGuide), d.add(b.Pointer), d.add(b.picPower.box);
    d.add(b.cmdGo.box), d.add(b.cmdGo.Caption), d.add(b.Label1.box), d.add(b.Label1.Caption);
    d.add(b.ScaleWidth), d.add(b.ScaleHeight), d.add(b.zCounter);
    return d.h;
}

}  // namespace capzel::scenarios
