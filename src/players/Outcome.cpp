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

Point centreOf(const Box& b) { return {double(b.left) + double(b.width) / 2, double(b.top) + double(b.height) / 2}; }

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

int lastPlayer(const GameState& g) { return std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers); }

// How far a player has come: the course's targets, then beyond them as a killer.
double progress(const GameState& g, int i) {
    if (g.dead[i]) return -1;
    if (g.isKiller[i]) return kLastTarget + 1;
    return std::min(g.position[i], kLastTarget);
}

// The player other than `shooter` who has come furthest, or 0.
int leaderBesides(const GameState& g, int shooter) {
    int best = 0;
    for (int i = 1; i <= lastPlayer(g); ++i)
        if (i != shooter && !g.dead[i] && (best == 0 || progress(g, i) > progress(g, best))) best = i;
    return best;
}

bool onField(const GameState& g, int i) { return g.inGame[i] && !g.dead[i] && g.position[i] > 0; }

// Threat of the other killers to a piece resting at `at`: near 1 beside one,
// fading with the distance.
double killerThreat(const GameState& g, const Board& board, int shooter, Point at) {
    double threat = 0;
    for (int k = 1; k <= lastPlayer(g); ++k) {
        if (k == shooter || !g.isKiller[k] || !onField(g, k)) continue;
        threat += std::exp(-distance(at, centreOf(board.pieces[k])) / kKillerReach);
    }
    return threat;
}

// Targets the others gained in the shot (sent into their next target),
// weighted by whether they lead.
double helpToOthers(const GameState& before, const GameState& after, int shooter) {
    const int leader = leaderBesides(before, shooter);
    double help = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == shooter || before.position[j] <= 0 || before.isKiller[j]) continue;
        const int gained = after.position[j] - before.position[j];
        if (gained > 0) help += gained * (j == leader ? kHelpLeader : kHelpOther);
    }
    return help;
}

// The rules let a player shoot again after a shot that moved them on; a
// killer after a kill or a rest in a box. (In a game of one the turn comes
// straight back after a pass, which is still a pass.)
bool keptTurn(const GameState& before, const GameState& after, int s) {
    if (!after.gameRunning || after.losingTurn[s]) return false;
    if (before.isKiller[s]) return after.hitCount > 0 || after.moveableNextTurn[s];
    return after.position[s] > before.position[s] || after.isKiller[s];
}

double ordinaryValue(const GameState& before, const Board& beforeBoard, const GameState& after,
                     const Board& afterBoard, int s) {
    (void)beforeBoard;
    double v = 0;
    const int from = std::clamp(before.position[s], 0, kLastTarget);
    const int to = std::clamp(after.position[s], 0, kLastTarget);
    v += kPerTarget * (to - from);
    if (after.isKiller[s]) v += kBecomeKiller;
    if (after.losingTurn[s] && !before.losingTurn[s]) v -= kLoseTurn;
    if (keptTurn(before, after, s)) return v + kKeepTurn;

    // The turn passes: the piece waits where it rests.
    const Point rest = centreOf(afterBoard.pieces[s]);
    const int next = std::clamp(after.position[s] + 1, 1, kLastTarget);
    v -= kFarFromTarget * distance(rest, centreOf(afterBoard.spots[next])) / 1000;
    v -= kNearKiller * killerThreat(after, afterBoard, s, rest);
    return v;
}

double killerValue(const GameState& before, const GameState& after, const Board& afterBoard, int s) {
    double v = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == s || before.dead[j] || !after.dead[j]) continue;
        v += kPerKill + kPerTarget * progress(before, j) / 10;
    }
    const Point rest = centreOf(afterBoard.pieces[s]);
    if (keptTurn(before, after, s)) {
        double nearest = -1;
        for (int j = 1; j <= lastPlayer(after); ++j) {
            if (j == s || !onField(after, j)) continue;
            const double d = distance(rest, centreOf(afterBoard.pieces[j]));
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

double outcomeValue(const GameState& before, const Board& beforeBoard, const GameState& after,
                    const Board& afterBoard, int shooter) {
    if (shooter < 1 || shooter > lastPlayer(before)) return 0;
    // The game ended with the shooter alive: the shooter won it.
    if (before.gameRunning && !after.gameRunning && !after.dead[shooter]) return kWinValue;
    const double help = helpToOthers(before, after, shooter);
    if (before.isKiller[shooter]) return killerValue(before, after, afterBoard, shooter) - help;
    return ordinaryValue(before, beforeBoard, after, afterBoard, shooter) - help;
}

}  // namespace capzel::players
