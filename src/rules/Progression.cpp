// Target progression: judges the finished shot of a player who is not yet a
// killer. A piece left in a wrong letter box after a shot that touched
// nothing costs a turn; a shot that achieved nothing passes the turn;
// otherwise the reached target, the touching pairs and the pieces sent into
// their targets move the shooter on, and the shooter shoots again, as a
// killer once target 29 ("D") is reached.

#include <optional>
#include <string>

#include "model/Numbers.h"
#include "model/Placement.h"
#include "rules/TurnPassing.h"
#include "rules/Progression.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

constexpr int kFirstLetter = 26;  // target "A"
constexpr int kLastTarget = kSpotCount;  // target "D": reaching it makes a killer

const char* const kCrLf = "\r\n";

bool pieceInside(GameContext& ctx, int k) {
    return strictlyInside(ctx.piece(ctx.game.currentTurn), ctx.board().spots[k]);
}

// The shot left the piece in a letter box that is not the next target and
// touched nothing: the shooter loses the next turn and the turn passes now.
// Gives nothing when the shot was not punished.
std::optional<Judgement> punishWrongLetterBox(GameContext& ctx) {
    Game& g = ctx.game;
    const int cur = g.currentTurn;
    if (g.hitCount != 0 || g.sentCount != 0) return std::nullopt;
    for (int k = kFirstLetter; k <= kLastTarget; ++k) {
        if (k == g.seats[cur].position + 1) continue;
        if (!pieceInside(ctx, k)) continue;
        g.seats[cur].losingTurn = true;
        const std::string& name = g.seats[cur].name;
        Judgement out;
        out.announce(AnnouncementKind::LostTurn, cur, name + " landed in target " + char('A' + (k - kFirstLetter)) + ". " + name + " loses turn.");
        g.seats[cur].moveableNextTurn = false;
        return out.then(rules::passTurn(ctx));
    }
    return std::nullopt;
}

// The report of a shot that achieved something; advances Position as it
// names each gain.
std::string reportAndAdvance(Game& g, bool reached) {
    const int cur = g.currentTurn;
    const std::string& name = g.seats[cur].name;
    std::string m;
    if (!reached) {
        m = name + kCrLf;
    } else {
        m = name + " reached target " + reachedTargetLabel(g.seats[cur].position + 1) + ". (Target + 1)";
        g.seats[cur].position += 1;
        if (g.oneShotBonus > 0) {
            m += " ... and in ONE SHOT! (Target + 1)";
            g.seats[cur].position += 1;
        }
        m += kCrLf;
    }
    if (g.hitCount > 0) {
        const std::string count = std::to_string(g.hitCount);
        m += count + " HIT" + (g.hitCount > 1 ? "S" : "") + "! (Target + " + count + ")" + kCrLf;
        g.seats[cur].position += g.hitCount;
    }
    if (g.sentCount > 0) {
        const std::string count = std::to_string(g.sentCount);
        m += "Sent " + count + " player" + (g.sentCount > 1 ? "s" : "") + " to their target. (Target + " +
             count + ")" + kCrLf;
        g.seats[cur].position += g.sentCount;
    }
    return m;
}

// Target 29 reached or passed: the shooter becomes a killer (and, alone in
// the game, wins).
Judgement becomeKiller(GameContext& ctx) {
    Judgement out;
    Game& g = ctx.game;
    const int cur = g.currentTurn;
    const std::string& name = g.seats[cur].name;
    g.seats[cur].isKiller = true;
    addPoints(g.seats[cur].score, 50);
    g.seats[cur].moveableNextTurn = true;
    out.announce(AnnouncementKind::TargetReached, cur, name + " reached target D and became a killer.");
    // Position keeps its value even past 29; the piece goes to box "D".
    centrePieceOn(ctx.piece(cur), ctx.board().spots[kLastTarget]);
    if (g.numberOfPlayers == 1) {
        out.announce(AnnouncementKind::Win, cur, name + " WON!");
        addPoints(g.seats[cur].score, 100);
        out.flow = endGame(ctx);
    }
    return out;
}

}  // namespace

bool inNextTarget(GameContext& ctx) {
    const Game& g = ctx.game;
    if (!g.isPlayer(g.currentTurn)) return false;
    const int next = g.seats[g.currentTurn].position + 1;
    return next >= 1 && next <= kLastTarget && pieceInside(ctx, next);
}

Judgement judgeOrdinaryShot(GameContext& ctx) {
    Game& g = ctx.game;
    if (!g.isPlayer(g.currentTurn)) return {};  // no shooter to judge
    const int cur = g.currentTurn;

    if (std::optional<Judgement> punished = punishWrongLetterBox(ctx)) return std::move(*punished);

    // The next target. A next target outside the course (a Position set by
    // hand or in an edited saved game to 29 or more, or below 0, without
    // the player having become a killer) has no region: it counts as missed,
    // so only the touching pairs and sent pieces of the shot can move the
    // player on, into the killer's rules.
    g.oneShotBonus = 0;
    const int next = g.seats[cur].position + 1;
    const bool reached = inNextTarget(ctx);
    if (reached) {
        // The one-shot bonus needs a piece the rules had placed; letters
        // never earn it.
        if (g.seats[cur].moveableNextTurn && next < kFirstLetter) {
            g.oneShotBonus = 1;
            addPoints(g.seats[cur].score, 25);
        } else {
            addPoints(g.seats[cur].score, 5);
        }
    }

    if (!reached && g.oneShotBonus == 0 && g.hitCount == 0 && g.sentCount == 0) {
        g.seats[cur].moveableNextTurn = false;
        return rules::passTurn(ctx);
    }

    std::string m = reportAndAdvance(g, reached);

    const int p = g.seats[cur].position;
    if (p >= 13 && p < 25) {
        g.seats[cur].headingInReverse = true;
    } else if (p >= 25) {
        g.seats[cur].onLetters = true;
    }

    if (p >= kLastTarget) return becomeKiller(ctx);

    m += "New Location.  Target " + g.targetLabel(p);
    m += kCrLf;
    m += "New Target: " + g.targetLabel(p + 1);
    Judgement out;
    out.announce(AnnouncementKind::TargetReached, cur, std::move(m));
    g.seats[cur].moveableNextTurn = true;
    // A Position still below box 1 (only from an edited saved game) has no
    // region to go to: the piece stays where it rests.
    if (p >= 1) centrePieceOn(ctx.piece(cur), ctx.board().spots[p]);
    return out;
}

}  // namespace capzel
