#include "SimRun.h"

#include "rules/Turns.h"

namespace capzel::sim {

SimRun::SimRun(const SimRequest& request) {
    const int n = int(request.players.size());
    g.NumberOfPlayers = std::int16_t(n);
    g.recreatePerGameTables();
    g.CurrentTurn = std::int16_t(request.currentTurn);
    g.GameRunning = true;
    g.WallsOn = request.wallsOn;
    g.Power = request.power;

    Board& board = field.board;
    for (int j = 1; j <= 8; ++j) board.Wall[j].Visible = request.wallsOn;
    board.PieceHolder.Visible = false;
    board.Pointer.X1 = request.pointer[0];
    board.Pointer.Y1 = request.pointer[1];
    board.Pointer.X2 = request.pointer[2];
    board.Pointer.Y2 = request.pointer[3];

    for (int i = 1; i <= kMaxPlayers; ++i) {
        Box& piece = board.Player[i];
        if (i > n) {
            piece.Visible = false;
            continue;
        }
        const SimPlayer& p = request.players[size_t(i - 1)];
        g.PlayerName[i] = p.name;
        g.Score[i] = p.score;
        g.Friction[i] = p.friction;
        g.Position[i] = p.position;
        g.InGame[i] = p.inGame;
        g.Dead[i] = p.dead;
        g.IsKiller[i] = p.isKiller;
        g.OnLetters[i] = p.onLetters;
        g.HeadingInReverse[i] = p.headingInReverse;
        g.MoveableNextTurn[i] = p.moveableNextTurn;
        g.LosingTurn[i] = p.losingTurn;
        piece.Left = p.left;
        piece.Top = p.top;
        piece.Width = p.width;
        piece.Height = p.height;
    }
}

ShotResult SimRun::play(const SimRequest& request) {
    ShotOptions options;
    options.maxCycles = request.maxCycles;
    ShotResult result = Shoot_Piece(ctx, options);
    if (request.judge && !result.unfinished) judgeFinishedShot(ctx);
    return result;
}

}  // namespace capzel::sim
