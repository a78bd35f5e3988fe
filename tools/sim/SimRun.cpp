#include "SimRun.h"

#include "controls/Announcing.h"
#include "rules/ShotJudging.h"

namespace capzel::sim {

SimRun::SimRun(const SimRequest& request) {
    const int n = int(request.players.size());
    g.numberOfPlayers = std::int16_t(n);
    g.recreatePerGameTables();
    g.currentTurn = std::int16_t(request.currentTurn);
    g.gameRunning = true;
    g.wallsOn = request.wallsOn;
    g.power = request.power;

    Board& board = field.board;
    for (int j = 1; j <= 8; ++j) board.walls[j].visible = request.wallsOn;
    board.pieceHolder.visible = false;
    board.pointer.x1 = request.pointer[0];
    board.pointer.y1 = request.pointer[1];
    board.pointer.x2 = request.pointer[2];
    board.pointer.y2 = request.pointer[3];

    for (int i = 1; i <= kMaxPlayers; ++i) {
        Box& piece = board.pieces[i];
        if (i > n) {
            piece.visible = false;
            continue;
        }
        const SimPlayer& p = request.players[size_t(i - 1)];
        g.playerName[i] = p.name;
        g.score[i] = p.score;
        g.friction[i] = p.friction;
        g.position[i] = p.position;
        g.inGame[i] = p.inGame;
        g.dead[i] = p.dead;
        g.isKiller[i] = p.isKiller;
        g.onLetters[i] = p.onLetters;
        g.headingInReverse[i] = p.headingInReverse;
        g.moveableNextTurn[i] = p.moveableNextTurn;
        g.losingTurn[i] = p.losingTurn;
        piece.left = p.left;
        piece.top = p.top;
        piece.width = p.width;
        piece.height = p.height;
    }
}

ShotResult SimRun::play(const SimRequest& request) {
    ShotOptions options;
    options.maxCycles = request.maxCycles;
    ShotResult result = shootPiece(ctx, options);
    if (request.judge && !result.unfinished) tellPlayers(ctx.ui, judgeFinishedShot(ctx));
    return result;
}

}  // namespace capzel::sim
