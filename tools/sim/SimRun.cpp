#include "SimRun.h"

#include "controls/Announcing.h"
#include "rules/ShotJudging.h"

namespace capzel::sim {

SimRun::SimRun(const SimRequest& request) {
    GameSetup setup;
    setup.walls = request.wallsOn;
    setup.currentTurn = std::int16_t(request.currentTurn);
    setup.seats = request.players;
    buildGame(g, setup);
    Line& pointer = g.board.pointer;
    pointer.x1 = request.pointer[0];
    pointer.y1 = request.pointer[1];
    pointer.x2 = request.pointer[2];
    pointer.y2 = request.pointer[3];
}

ShotResult SimRun::play(const SimRequest& request) {
    ShotOptions options;
    options.maxCycles = request.maxCycles;
    ShotResult result = shootPiece(ctx, request.power, options);
    if (request.judge && !result.unfinished) tellPlayers(ctx.ui, judgeFinishedShot(ctx));
    return result;
}

}  // namespace capzel::sim
