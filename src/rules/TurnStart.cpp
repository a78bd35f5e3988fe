// Turn start and end of game.
//
// startTurn skips dead players, brings a newcomer's piece from the holder
// onto box 1, keeps the holder shown while a piece still waits in it, takes
// away a lost turn and announces the turn. endGame closes a finished game.

#include <string>

#include "model/Placement.h"
#include "rules/TurnPassing.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

// Moves the search of a living player on from `turn`, wrapping past the
// last player. Gives 0 when every player is dead.
int firstLivingFrom(const Game& g, int turn, int last) {
    for (int tried = 0; tried < last; ++tried) {
        if (!g.seats[turn].dead) return turn;
        turn = turn + 1 > last ? 1 : turn + 1;
    }
    return 0;
}

// Steps 1 to 5 of a turn start for player `turn`: the dead are skipped,
// a newcomer enters on box 1, the holder is shown or hidden. Gives the
// player whose piece was brought forward, or 0 when nobody is alive.
int prepareTurn(GameContext& ctx, int turn, Judgement& out) {
    Game& g = ctx.game;
    const int last = rules::lastPlayer(g);
    if (last == 0) return 0;

    // A number past the last player (or below the first, which only a broken
    // caller could pass) starts again at player 1.
    if (turn > last || turn < 1) {
        turn = 1;
        g.currentTurn = 1;
    }

    if (g.seats[turn].dead) {
        turn = firstLivingFrom(g, turn, last);
        if (turn == 0) return 0;
        g.currentTurn = std::int16_t(turn);
    }

    Board& board = ctx.board();
    out.broughtForward.push_back(turn);

    // The piece still waits in the holder: it enters the field on box 1,
    // which counts as reached, and may be placed by hand before the shot.
    if (g.seats[turn].position == 0) {
        centrePieceOn(board.pieces[turn], board.spots[1]);
        g.seats[turn].moveableNextTurn = true;
        g.seats[turn].inGame = true;
        g.seats[turn].position = 1;
    }

    // The holder is shown while at least one piece has not entered yet.
    bool someoneWaits = false;
    for (int i = 1; i <= last; ++i) {
        if (g.seats[i].position == 0) {
            someoneWaits = true;
            break;
        }
    }
    board.pieceHolder.visible = someoneWaits;
    return turn;
}

}  // namespace

Judgement startTurn(GameContext& ctx, std::int16_t requestedTurn) {
    Game& g = ctx.game;
    Judgement out;
    int turn = requestedTurn;

    // A lost turn hands the turn on at once. Every round of this loop that
    // goes on has just cleared one player's losingTurn flag, and nothing in
    // here sets one, so it ends after at most one round per player.
    for (;;) {
        const int entered = prepareTurn(ctx, turn, out);
        if (entered == 0) {
            // No living player is left (every piece was killed by hand or in
            // an edited saved game): there is nobody to give the turn to, so
            // the game ends quietly.
            out.flow = endGame(ctx);
            return out;
        }

        // The announcement is for the current player. A caller that passes
        // some other number while no valid player holds the turn gets the
        // player just brought forward instead, so no table is read outside
        // the game's players.
        if (!g.isPlayer(g.currentTurn)) g.currentTurn = std::int16_t(entered);
        const int cur = g.currentTurn;
        const std::string& name = g.seats[cur].name;

        if (g.seats[cur].isKiller) {
            // A killer is never asked about a lost turn and keeps the flag.
            out.announce(AnnouncementKind::TurnStart, cur, name + "'s turn start.  KILLER");
            return out;
        }
        if (g.seats[cur].losingTurn) {
            out.announce(AnnouncementKind::LostTurn, cur, name + " loses Turn");
            g.seats[cur].losingTurn = false;
            g.currentTurn = std::int16_t(cur + 1);
            turn = g.currentTurn;
            continue;
        }
        out.announce(AnnouncementKind::TurnStart, cur, name + "'s turn start.  Target: " + g.targetLabel(g.seats[cur].position + 1));
        return out;
    }
}

GameFlow endGame(GameContext& ctx) {
    ctx.game.gameRunning = false;
    return GameFlow::Ended;
}

namespace rules {

Judgement passTurn(GameContext& ctx) {
    ctx.game.currentTurn = std::int16_t(ctx.game.currentTurn + 1);
    return startTurn(ctx, ctx.game.currentTurn);
}

}  // namespace rules

}  // namespace capzel
