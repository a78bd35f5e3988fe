#include "players/Outcome.h"

#include <algorithm>
#include <cmath>

namespace capzel::players {

namespace {

constexpr int kLastTarget = kSpotCount;  // reaching it makes a killer

// Weights, in tenths of a target.
constexpr double kPerTarget = 10;
constexpr double kBecomeKiller = 30;
constexpr double kKeepTurn = 20;
constexpr double kLoseTurn = 20;
constexpr double kPerKill = 100;
constexpr double kHelpLeader = 15;  // per target another player gains, when that player leads
constexpr double kHelpOther = 3;    // per target another player gains otherwise
constexpr double kFarFromTarget = 2;  // per 1000 twips from the next target, when the turn passes
constexpr double kNearKiller = 25;    // at a killer's side, when the turn passes
constexpr double kKillerReach = 2500;  // twips over which a killer's threat fades
constexpr double kFarFromPrey = 1;     // a killer keeping the turn: per 1000 twips to the nearest prey

struct Point {
    double x, y;
};

Point centreOf(const Box& b) { return {double(b.Left) + double(b.Width) / 2, double(b.Top) + double(b.Height) / 2}; }

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

int lastPlayer(const modCapzel& g) { return std::clamp<int>(g.NumberOfPlayers, 0, kMaxPlayers); }

// How far a player has come: the course's targets, then beyond them as a killer.
double progress(const modCapzel& g, int i) {
    if (g.Dead[i]) return -1;
    if (g.IsKiller[i]) return kLastTarget + 1;
    return std::min(g.Position[i], kLastTarget);
}

// The player other than `shooter` who has come furthest, or 0.
int leaderBesides(const modCapzel& g, int shooter) {
    int best = 0;
    for (int i = 1; i <= lastPlayer(g); ++i)
        if (i != shooter && !g.Dead[i] && (best == 0 || progress(g, i) > progress(g, best))) best = i;
    return best;
}

bool onField(const modCapzel& g, int i) { return g.InGame[i] && !g.Dead[i] && g.Position[i] > 0; }

// Threat of the other killers to a piece resting at `at`: near 1 beside one,
// fading with the distance.
double killerThreat(const modCapzel& g, const Board& board, int shooter, Point at) {
    double threat = 0;
    for (int k = 1; k <= lastPlayer(g); ++k) {
        if (k == shooter || !g.IsKiller[k] || !onField(g, k)) continue;
        threat += std::exp(-distance(at, centreOf(board.Player[k])) / kKillerReach);
    }
    return threat;
}

// Targets the others gained in the shot (sent into their next target),
// weighted by whether they lead.
double helpToOthers(const modCapzel& before, const modCapzel& after, int shooter) {
    const int leader = leaderBesides(before, shooter);
    double help = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == shooter || before.Position[j] <= 0 || before.IsKiller[j]) continue;
        const int gained = after.Position[j] - before.Position[j];
        if (gained > 0) help += gained * (j == leader ? kHelpLeader : kHelpOther);
    }
    return help;
}

// The rules let a player shoot again after a shot that moved them on; a
// killer after a kill or a rest in a box. (In a game of one the turn comes
// straight back after a pass, which is still a pass.)
bool keptTurn(const modCapzel& before, const modCapzel& after, int s) {
    if (!after.GameRunning || after.LosingTurn[s]) return false;
    if (before.IsKiller[s]) return after.HitCount > 0 || after.MoveableNextTurn[s];
    return after.Position[s] > before.Position[s] || after.IsKiller[s];
}

double ordinaryValue(const modCapzel& before, const Board& beforeBoard, const modCapzel& after,
                     const Board& afterBoard, int s) {
    (void)beforeBoard;
    double v = 0;
    const int from = std::clamp(before.Position[s], 0, kLastTarget);
    const int to = std::clamp(after.Position[s], 0, kLastTarget);
    v += kPerTarget * (to - from);
    if (after.IsKiller[s]) v += kBecomeKiller;
    if (after.LosingTurn[s] && !before.LosingTurn[s]) v -= kLoseTurn;
    if (keptTurn(before, after, s)) return v + kKeepTurn;

    // The turn passes: the piece waits where it rests.
    const Point rest = centreOf(afterBoard.Player[s]);
    const int next = std::clamp(after.Position[s] + 1, 1, kLastTarget);
    v -= kFarFromTarget * distance(rest, centreOf(afterBoard.Spot[next])) / 1000;
    v -= kNearKiller * killerThreat(after, afterBoard, s, rest);
    return v;
}

double killerValue(const modCapzel& before, const modCapzel& after, const Board& afterBoard, int s) {
    double v = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == s || before.Dead[j] || !after.Dead[j]) continue;
        v += kPerKill + kPerTarget * progress(before, j) / 10;
    }
    const Point rest = centreOf(afterBoard.Player[s]);
    if (keptTurn(before, after, s)) {
        double nearest = -1;
        for (int j = 1; j <= lastPlayer(after); ++j) {
            if (j == s || !onField(after, j)) continue;
            const double d = distance(rest, centreOf(afterBoard.Player[j]));
            if (nearest < 0 || d < nearest) nearest = d;
        }
        // With nobody on the field to hunt (the others still wait to
        // enter), a kept turn only holds the game up: they enter when the
        // turn passes.
        if (nearest < 0) return v - kKeepTurn;
        return v + kKeepTurn - kFarFromPrey * nearest / 1000;
    }
    return v - kNearKiller * killerThreat(after, afterBoard, s, rest);
}

}  // namespace

double outcomeValue(const modCapzel& before, const Board& beforeBoard, const modCapzel& after,
                    const Board& afterBoard, int shooter) {
    if (shooter < 1 || shooter > lastPlayer(before)) return 0;
    // The game ended with the shooter alive: the shooter won it.
    if (before.GameRunning && !after.GameRunning && !after.Dead[shooter]) return kWinValue;
    const double help = helpToOthers(before, after, shooter);
    if (before.IsKiller[shooter]) return killerValue(before, after, afterBoard, shooter) - help;
    return ordinaryValue(before, beforeBoard, after, afterBoard, shooter) - help;
}

}  // namespace capzel::players
