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

int lastPlayer(const Game& g) { return std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers); }

// How far a player has come: the course's targets, then beyond them as a killer.
double progress(const Game& g, int i) {
    if (g.seats[i].dead) return -1;
    if (g.seats[i].isKiller) return kLastTarget + 1;
    return std::min(g.seats[i].position, kLastTarget);
}

// The player other than `shooter` who has come furthest, or 0.
int leaderBesides(const Game& g, int shooter) {
    int best = 0;
    for (int i = 1; i <= lastPlayer(g); ++i)
        if (i != shooter && !g.seats[i].dead && (best == 0 || progress(g, i) > progress(g, best))) best = i;
    return best;
}

bool onField(const Game& g, int i) { return g.seats[i].inGame && !g.seats[i].dead && g.seats[i].position > 0; }

// Threat of the other killers to a piece resting at `at`: near 1 beside one,
// fading with the distance.
double killerThreat(const Game& g, int shooter, Point at) {
    const Board& board = g.board;
    double threat = 0;
    for (int k = 1; k <= lastPlayer(g); ++k) {
        if (k == shooter || !g.seats[k].isKiller || !onField(g, k)) continue;
        threat += std::exp(-distance(at, centreOf(board.pieces[k])) / kKillerReach);
    }
    return threat;
}

// Targets the others gained in the shot (sent into their next target),
// weighted by whether they lead.
double helpToOthers(const Game& before, const Game& after, int shooter) {
    const int leader = leaderBesides(before, shooter);
    double help = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == shooter || before.seats[j].position <= 0 || before.seats[j].isKiller) continue;
        const int gained = after.seats[j].position - before.seats[j].position;
        if (gained > 0) help += gained * (j == leader ? kHelpLeader : kHelpOther);
    }
    return help;
}

// The rules let a player shoot again after a shot that moved them on; a
// killer after a kill or a rest in a box. (In a game of one the turn comes
// straight back after a pass, which is still a pass.)
bool keptTurn(const Game& before, const Game& after, int s) {
    if (!after.gameRunning || after.seats[s].losingTurn) return false;
    if (before.seats[s].isKiller) return after.hitCount > 0 || after.seats[s].moveableNextTurn;
    return after.seats[s].position > before.seats[s].position || after.seats[s].isKiller;
}

double ordinaryValue(const Game& before, const Game& after, int s) {
    const Board& afterBoard = after.board;
    double v = 0;
    const int from = std::clamp(before.seats[s].position, 0, kLastTarget);
    const int to = std::clamp(after.seats[s].position, 0, kLastTarget);
    v += kPerTarget * (to - from);
    if (after.seats[s].isKiller) v += kBecomeKiller;
    if (after.seats[s].losingTurn && !before.seats[s].losingTurn) v -= kLoseTurn;
    if (keptTurn(before, after, s)) return v + kKeepTurn;

    // The turn passes: the piece waits where it rests.
    const Point rest = centreOf(afterBoard.pieces[s]);
    const int next = std::clamp(after.seats[s].position + 1, 1, kLastTarget);
    v -= kFarFromTarget * distance(rest, centreOf(afterBoard.spots[next])) / 1000;
    v -= kNearKiller * killerThreat(after, s, rest);
    return v;
}

double killerValue(const Game& before, const Game& after, int s) {
    const Board& afterBoard = after.board;
    double v = 0;
    for (int j = 1; j <= lastPlayer(after); ++j) {
        if (j == s || before.seats[j].dead || !after.seats[j].dead) continue;
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
    return v - kNearKiller * killerThreat(after, s, rest);
}

}  // namespace

double outcomeValue(const Game& before, const Game& after, int shooter) {
    if (shooter < 1 || shooter > lastPlayer(before)) return 0;
    // The game ended with the shooter alive: the shooter won it.
    if (before.gameRunning && !after.gameRunning && !after.seats[shooter].dead) return kWinValue;
    const double help = helpToOthers(before, after, shooter);
    if (before.seats[shooter].isKiller) return killerValue(before, after, shooter) - help;
    return ordinaryValue(before, after, shooter) - help;
}

}  // namespace capzel::players
