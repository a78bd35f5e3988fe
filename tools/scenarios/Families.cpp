#include "Families.h"

#include <cmath>
#include <string>

#include "model/Friction.h"
#include "model/GameState.h"

namespace capzel::scenarios {

namespace {

// A small generator of our own, so that the same seed gives the same corpus
// with every standard library.
struct Random {
    std::uint64_t s;
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int upTo(int n) { return int(next() % std::uint64_t(n)); }  // 0 .. n-1
    int between(int lo, int hi) { return lo + upTo(hi - lo + 1); }
    bool chance(int percent) { return upTo(100) < percent; }
};

constexpr int kFullPower = 6585;  // the power bar charged to the top
constexpr float kLeftEdge = 600, kRightEdge = 10080 - 300, kBottomEdge = 9390 - 300;
const Board kLayout = makeBoardLayout();

ScenarioPlayer player(int i, float left, float top, int position, std::string flags = "g") {
    return {std::string("P").append(std::to_string(i)), left, top, 98, 200 + 10 * (i - 1), position, std::move(flags)};
}

// Waiting in the holder, where a new game puts the piece.
ScenarioPlayer waiting(int i) { return player(i, kLayout.pieces[i].left, kLayout.pieces[i].top, 0, ""); }

// The shooter is neither dead nor losing its turn: those flags and all after them go.
void canShoot(ScenarioPlayer& p) { p.flags.erase(std::min(p.flags.find_first_of("dx"), p.flags.size())); }

// Aims from the centre of the shooter's piece at (left, top) in the direction (dx, dy).
std::array<float, 4> aim(float left, float top, double dx, double dy) {
    const float cx = left + 150, cy = top + 150;
    return {float(cx + dx), float(cy + dy), cx, cy};
}

Scenario shot(std::string name, std::vector<ScenarioPlayer> players, int power, std::array<float, 4> pointer,
              int turn = 1, bool walls = true) {
    return {std::move(name), walls, turn, power, pointer, std::move(players)};
}

// A random legal position: 1 to 8 players, each waiting, on the way out, on
// the way back, on the letters or a killer (dead only beside a killer), all
// pieces on the field at random, a random aim and strength.
Scenario randomShot(Random& r, const std::string& name, bool walls, float friction) {
    const int n = r.between(1, 8);
    std::vector<ScenarioPlayer> ps;
    bool someKiller = false;
    for (int i = 1; i <= n; ++i) {
        const int kind = r.upTo(6);
        int position = 0;
        std::string flags = "g";
        if (kind == 0 && i > 1) { ps.push_back(waiting(i)); ps.back().friction = friction; continue; }
        if (kind <= 1) position = r.between(1, 12);
        else if (kind == 2) position = r.between(13, 24), flags += "r";
        else if (kind == 3) position = r.between(25, 28), flags += "rl";
        else position = 29, flags += "rlk", someKiller = true;
        if (r.chance(40)) flags += "m";
        if (r.chance(10) && flags.find('k') == std::string::npos) flags += "x";
        ps.push_back(player(i, float(r.between(int(kLeftEdge), int(kRightEdge))),
                            float(r.between(0, int(kBottomEdge))), position, flags));
        ps.back().friction = friction;
    }
    if (someKiller)
        for (auto& p : ps)
            if (p.position > 0 && p.flags.find('k') == std::string::npos && r.chance(20)) p.flags = "d";
    const int turn = r.between(1, n);
    if (ps[size_t(turn - 1)].position == 0) ps[size_t(turn - 1)] = player(turn, 1430, 8270, 1, "gm");
    canShoot(ps[size_t(turn - 1)]);
    const double angle = r.upTo(3600) * M_PI / 1800;
    const auto& me = ps[size_t(turn - 1)];
    return shot(name, ps, r.between(0, kFullPower), aim(me.left, me.top, 500 * std::cos(angle), 500 * std::sin(angle)),
                turn, walls);
}

void randomFamily(std::vector<Scenario>& out) {
    Random r{14};
    for (int k = 0; k < 90; ++k) out.push_back(randomShot(r, "random " + std::to_string(k), true, 98));
    for (int k = 0; k < 20; ++k) out.push_back(randomShot(r, "walls off " + std::to_string(k), false, 98));
    for (int level = 0; level < 5; ++level) {
        const float friction = frictionLevelInfo(FrictionLevel(level)).friction;
        for (int k = 0; k < 6; ++k)
            out.push_back(randomShot(r, "friction " + std::to_string(level) + " " + std::to_string(k), true, friction));
    }
    for (int k = 0; k < 12; ++k) {
        Scenario s = randomShot(r, "one player " + std::to_string(k), r.chance(80), 98);
        s.players.resize(1);
        s.turn = 1;
        canShoot(s.players[0]);
        s.pointer = aim(s.players[0].left, s.players[0].top, s.pointer[0] - s.pointer[2], s.pointer[1] - s.pointer[3]);
        out.push_back(s);
    }
}

// Into each corner of the field, straight and at an angle, soft and hard.
void cornerFamily(std::vector<Scenario>& out) {
    const float xs[2] = {kLeftEdge + 200, kRightEdge - 200}, ys[2] = {200, kBottomEdge - 200};
    for (int c = 0; c < 4; ++c) {
        const float x = xs[c % 2], y = ys[c / 2];
        const double dx = c % 2 ? 1 : -1, dy = c / 2 ? 1 : -1;
        for (int power : {3000, 5000, kFullPower})
            for (double slant : {1.0, 0.3})
                out.push_back(shot("corner " + std::to_string(c) + " " + std::to_string(power) + " " + std::to_string(slant),
                                   {player(1, x, y, 3), player(2, 5000, 5000, 5)}, power, aim(x, y, 100 * dx, 100 * dy * slant)));
    }
}

// At every wall from each side: straight at it (side-on for the long sides,
// end-on for the short ones) and glancing, with the walls on and off.
void wallFamily(std::vector<Scenario>& out) {
    for (int w = 1; w <= 8; ++w) {
        const Box& wall = kLayout.walls[w];
        const float cx = wall.left + wall.width / 2 - 150, cy = wall.top + wall.height / 2 - 150;
        const struct { float x, y; double dx, dy; } sides[4] = {
            {wall.left - 700, cy, 1, 0}, {wall.left + wall.width + 400, cy, -1, 0},
            {cx, wall.top - 700, 0, 1}, {cx, wall.top + wall.height + 400, 0, -1}};
        for (int s = 0; s < 4; ++s) {
            const auto& side = sides[s];
            const std::string name = "wall " + std::to_string(w) + " side " + std::to_string(s);
            const std::vector ps{player(1, side.x, side.y, 3), player(2, 9000, 8500, 5)};
            for (double slant : {0.0, 0.5})
                out.push_back(shot(name + (slant > 0 ? " glancing" : " straight"), ps, 4800,
                                   aim(side.x, side.y, 100 * (side.dx + slant * side.dy), 100 * (side.dy + slant * side.dx))));
            if (s % 2 == 0)
                out.push_back(shot(name + " walls off", ps, 4800, aim(side.x, side.y, 100 * side.dx, 100 * side.dy), 1, false));
        }
    }
}

// Eight pieces packed together and broken up, some by a killer; the hardest
// breaks fill the hit log.
void clusterFamily(std::vector<Scenario>& out) {
    Random r{8};
    for (int k = 0; k < 16; ++k) {
        std::vector<ScenarioPlayer> ps;
        const float x0 = float(r.between(1500, 7500)), y0 = float(r.between(1500, 6500));
        for (int i = 2; i <= 8; ++i)
            ps.push_back(player(i, x0 + float((i - 2) % 3 * 300 + r.upTo(40)), y0 + float((i - 2) / 3 * 300 + r.upTo(40)),
                                r.between(1, 28), "g"));
        const bool killer = k % 4 == 3;
        ScenarioPlayer shooter = player(1, x0 + 300, y0 + 1200, killer ? 29 : 5, killer ? "gklrm" : "gm");
        ps.insert(ps.begin(), shooter);
        const double dx = r.between(-60, 60);
        out.push_back(shot("cluster " + std::to_string(k), ps, r.between(4500, kFullPower), aim(shooter.left, shooter.top, dx, -400),
                           1, k % 5 != 4));
    }
    // Seven pieces packed into a corner of the field and hit hard: pairs
    // touch again and again, more than the log holds.
    for (int c = 0; c < 4; ++c)
        for (int power : {5500, kFullPower}) {
            const bool right = c % 2, bottom = c / 2;
            std::vector<ScenarioPlayer> ps;
            for (int i = 2; i <= 8; ++i) {
                const float col = float((i - 2) % 4), row = float((i - 2) / 4);
                ps.push_back(player(i, right ? kRightEdge - 301 * col : kLeftEdge + 301 * col,
                                    bottom ? kBottomEdge - 301 * row : 301 * row, 3 + i, "g"));
            }
            const float x = right ? kRightEdge - 1500 : kLeftEdge + 1500, y = bottom ? kBottomEdge - 1500 : 1500;
            ps.insert(ps.begin(), player(1, x, y, c == 3 ? 29 : 7, c == 3 ? "gklrm" : "gm"));
            out.push_back(shot("packed corner " + std::to_string(c) + " " + std::to_string(power), ps, power,
                               aim(x, y, right ? 100 : -100, bottom ? 100 : -100)));
        }
}

// Two pieces on the very same place, the shooter one of them.
void coincidingFamily(std::vector<Scenario>& out) {
    const float places[3][2] = {{5000, 6000}, {2000, 2500}, {kLeftEdge, 0}};
    for (int k = 0; k < 3; ++k)
        for (int power : {0, 2000}) {
            const float x = places[k][0], y = places[k][1];
            out.push_back(shot("coinciding " + std::to_string(k) + " " + std::to_string(power),
                               {player(1, x, y, 4), player(2, x, y, 7), player(3, 7000, 2000, 2)}, power, aim(x, y, 70, 30)));
        }
    // All eight on nearly one place: every pair touches, more than the log holds.
    for (int k = 0; k < 4; ++k) {
        std::vector<ScenarioPlayer> ps;
        for (int i = 1; i <= 8; ++i)
            ps.push_back(player(i, 3000.f + 1000 * k + 7 * float(i % 3), 5000.f + 9 * float(i / 3), 2 + i,
                                i == 1 && k == 3 ? "gklrm" : "g"));
        if (k == 3) ps[0].position = 29;
        out.push_back(shot("eight on one place " + std::to_string(k), ps, 1500 + 700 * k, aim(3000.f + 1000 * k, 5000, 30, -100),
                           1, k != 2));
    }
}

// A piece resting on each border of each box and one twip inside it: the
// shooter with that box as its next target, or a killer (judged by the box
// it rests in), or a piece of another player (sent into its target).
void borderFamily(std::vector<Scenario>& out) {
    for (int k = 1; k <= kSpotCount; ++k) {
        const Box& b = kLayout.spots[k];
        const float at[4][2] = {{b.left, b.top + 100}, {b.left + b.width - 300, b.top + 100},
                                {b.left + 100, b.top}, {b.left + 100, b.top + b.height - 300}};
        const float in[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        const int position = k - 1;
        const std::string flags = std::string("g") + (position >= 13 ? "r" : "") + (position >= 25 ? "l" : "") + (k % 2 ? "m" : "");
        for (int side = 0; side < 4; ++side)
            for (int step = 0; step <= 1; ++step) {
                const float x = at[side][0] + step * in[side][0], y = at[side][1] + step * in[side][1];
                const std::string name = "box " + std::to_string(k) + " side " + std::to_string(side) +
                                         (step ? " inside" : " on the border");
                out.push_back(shot(name, {player(1, x, y, position, flags), player(2, 5000, 6300, 2)}, 0, aim(x, y, 0, -100)));
                if (side == 0 || side == 3)
                    out.push_back(shot("killer in " + name, {player(1, x, y, 29, "gklrm"), player(2, 9000, 2500, 8)}, 0,
                                       aim(x, y, 0, -100)));
                else
                    out.push_back(shot("sent into " + name, {player(1, 7000, 6300, 2), player(2, x, y, position, flags)}, 0,
                                       aim(7000, 6300, 0, -100)));
            }
    }
}

// The letters: every letter box from every place on the letters and just
// before them, and target D making a killer (a lone player then wins).
void letterFamily(std::vector<Scenario>& out) {
    for (int position = 24; position <= 28; ++position)
        for (int k = 26; k <= 29; ++k) {
            const Box& b = kLayout.spots[k];
            const float x = b.left + b.width / 2 - 150, y = b.top + b.height / 2 - 150;
            for (int others : {1, 2}) {
                std::vector ps{player(1, x, y, position, position >= 25 ? "grl" : "gr"), player(2, 1500, 2000, 3)};
                if (others == 2) ps[1].flags = "gx", ps.push_back(waiting(3));
                out.push_back(shot("letters from " + std::to_string(position) + " in " + std::to_string(k) + " players " +
                                       std::to_string(others + 1), ps, 0, aim(x, y, 0, -100)));
            }
        }
    const Box& d = kLayout.spots[29];
    out.push_back(shot("lone player reaches D", {player(1, d.left + 180, d.top + 350, 28, "grl")}, 0,
                       aim(d.left + 180, d.top + 350, 0, -100)));
}

// Hits counted by a player: pieces touched on the way, across box 13 into the
// reverse run and past D into the killer's rules.
void hitFamily(std::vector<Scenario>& out) {
    for (int position : {1, 9, 11, 12, 13, 21, 24, 25, 27, 28})
        for (int touched : {1, 2, 4}) {
            std::vector<ScenarioPlayer> ps{
                player(1, 5000, 8000, position, position >= 25 ? "grlm" : (position >= 13 ? "grm" : "gm"))};
            for (int t = 0; t < touched; ++t) ps.push_back(player(2 + t, 4980 + 40 * t, 7000 - 330 * t, 5, "g"));
            ps.push_back(player(int(ps.size()) + 1, 9000, 8600, 3, "g"));
            out.push_back(shot("hits from " + std::to_string(position) + " touching " + std::to_string(touched),
                               ps, 4000 + 500 * touched, aim(5000, 8000, 0, -100)));
        }
}

// Killers: a kill of one of several, of the last one (a win), with the
// killer coming to rest in a box or not, and a killer that touches nothing.
void killerFamily(std::vector<Scenario>& out) {
    for (int alive : {1, 2, 3})
        for (int power : {3500, 4500, 5500, kFullPower})
            for (float x : {4850.f, 2300.f}) {
                std::vector<ScenarioPlayer> ps{player(1, x, 6800, 29, "gklrm"), player(2, x + 20, 5900, 12, "g")};
                for (int a = 2; a <= alive; ++a) ps.push_back(player(1 + a, 9000 - 700 * a, 8600, 3, "gm"));
                ps.push_back(player(int(ps.size()) + 1, 600, 9000, 4, "d"));
                out.push_back(shot("killer " + std::to_string(alive) + " alive " + std::to_string(power) + " " + std::to_string(int(x)),
                                   ps, power, aim(x, 6800, 0, -100)));
            }
    // Straight up between two pieces side by side, or at one of them: both
    // (or one) are killed at once, the last ones (a win) or beside a player
    // still alive; from below box 10 the killer may come to rest in it.
    for (bool two : {true, false})
        for (int alive : {2, 3})
            for (int power : {3000, 4500, 5000, 5500, 6000, kFullPower})
                for (float x : {2300.f, 1430.f})
                    for (float y : {6500.f, 4900.f}) {
                        const float from = y < 5000 ? 6900 : 7200;
                        std::vector<ScenarioPlayer> ps{player(1, x, from, 29, "gklrm"),
                                                       player(2, two ? x - 160 : x, y, 12, "g"),
                                                       player(3, two ? x + 160 : 7000, two ? y : 8600, 7, "g")};
                        if (alive == 3) ps.push_back(player(4, 9000, 8600, 3, "gm"));
                        out.push_back(shot(std::string(two ? "killer between two " : "killer at one of two ") +
                                               std::to_string(alive) + " " + std::to_string(power) + " " +
                                               std::to_string(int(x)) + " " + std::to_string(int(y)),
                                           ps, power, aim(x, from, 0, -100)));
                    }
    out.push_back(shot("killer touches nothing", {player(1, 2000, 2000, 28, "gklrm"), player(2, 8000, 8000, 3)},
                       1500, aim(2000, 2000, 100, 0)));
    out.push_back(shot("killer with a lost turn passes", {player(1, 2000, 2000, 28, "gklrmx"), player(2, 8000, 8000, 3, "gx"),
                        player(3, 7000, 8000, 3, "g")}, 1500, aim(2000, 2000, 100, 0)));
}

// Turns passing: newcomers enter from the holder, lost turns are taken,
// dead players are skipped, the turn wraps past the last player.
void turnFamily(std::vector<Scenario>& out) {
    for (int n = 2; n <= 8; ++n)
        for (int variant = 0; variant < 3; ++variant) {
            std::vector<ScenarioPlayer> ps;
            for (int i = 1; i <= n; ++i) {
                if (variant == 0 && i > 1) ps.push_back(waiting(i));
                else if (variant == 1) ps.push_back(player(i, 600.f + 900 * i, 3000, i, i % 2 ? "gx" : "g"));
                else ps.push_back(player(i, 600.f + 900 * i, 3000, 20, i == n ? "gk" : "d"));
            }
            const int turn = variant == 2 ? n : 1;
            ps[size_t(turn - 1)] = player(turn, 600, 9000, 6, variant == 2 ? "gklr" : "g");
            out.push_back(shot("turn passes among " + std::to_string(n) + " variant " + std::to_string(variant), ps,
                               800, aim(600, 9000, 100, 0), turn));
        }
}

// Shots worked out by hand, so that the recorder itself is checked: a lone
// piece pushed up (it comes to rest at top 4580.3457 with a velocity of
// -1.2402122 left), and a newcomer on box 1 touching the next player's piece
// (one hit, on to box 2).
void workedFamily(std::vector<Scenario>& out) {
    out.push_back(shot("worked lone push", {{"P1", 4850, 4850, 98, 200, 3, "g"}}, 2500, {5000, 4000, 5000, 5000}));
    out.push_back(shot("worked first hit", {{"Ann", 1430, 8270, 98, 200, 1, "gm"}, {"Bea", 1430, 7700, 98, 0, 1, "g"}},
                       2815, {1580, 8420, 1580, 8520}));
}

// A piece ten twips from each edge of the field sent straight at it at
// exactly ten twips a step: its first step ends exactly on the edge.
void edgeFamily(std::vector<Scenario>& out) {
    constexpr int kTenTwipsPerStep = 2927;  // strength 600 after the curve: 600 / 60 = 10 twips a step
    const struct { float x, y; double dx, dy; } edges[4] = {{kLeftEdge + 10, 4000, -100, 0},
                                                            {kRightEdge - 10, 4000, 100, 0},
                                                            {3000, 10, 0, -100},
                                                            {3000, kBottomEdge - 10, 0, 100}};
    for (int e = 0; e < 4; ++e)
        for (int power : {kTenTwipsPerStep, 2000}) {
            const auto& edge = edges[e];
            out.push_back(shot("edge " + std::to_string(e) + " " + std::to_string(power),
                               {player(1, edge.x, edge.y, 3), player(2, 8000, 8000, 5)}, power,
                               aim(edge.x, edge.y, edge.dx, edge.dy)));
        }
}

}  // namespace

std::vector<Scenario> allFamilies() {
    std::vector<Scenario> out;
    workedFamily(out);
    randomFamily(out);
    cornerFamily(out);
    wallFamily(out);
    clusterFamily(out);
    coincidingFamily(out);
    borderFamily(out);
    letterFamily(out);
    hitFamily(out);
    killerFamily(out);
    turnFamily(out);
    edgeFamily(out);
    return out;
}

}  // namespace capzel::scenarios
