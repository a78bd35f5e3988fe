#include "match/RecordStart.h"

#include "platform/SilentPlatform.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

// The field's values a first-version record kept, put back on the game
// built from its setup. The side lines reach from the top to the bottom
// edge, as the window stretched them.
void applyRecordedField(const RecordedField& recorded, Game& g) {
    Board& b = g.board;
    b.scaleWidth = recorded.width;
    b.scaleHeight = recorded.height;
    b.leftLine.x1 = recorded.leftEdge;
    b.rightLine.x1 = recorded.rightEdge;
    b.leftLine.y1 = b.rightLine.y1 = 0;
    b.leftLine.y2 = b.rightLine.y2 = recorded.height;
    b.walls[kWallCount - 1] = recorded.outerWalls[0];
    b.walls[kWallCount] = recorded.outerWalls[1];
    b.pieceHolder.width = recorded.pieceHolderWidth;
    const AimState& p = recorded.pointer;
    b.pointer.x1 = p.x1;
    b.pointer.y1 = p.y1;
    b.pointer.x2 = p.x2;
    b.pointer.y2 = p.y2;
    b.pointer.visible = p.visible;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        g.velocityX[std::size_t(i)] = recorded.velocityX[std::size_t(i - 1)];
        g.velocityY[std::size_t(i)] = recorded.velocityY[std::size_t(i - 1)];
    }
    g.ox = recorded.contactOffsetX;
    g.oy = recorded.contactOffsetY;
}

}  // namespace

Game recordStartGame(const GameRecord& record, std::vector<Announcement>* said) {
    if (!record.setupStart) return record.startGame;
    Game g;
    buildGame(g, record.setupStart->setup);
    applyRecordedField(record.setupStart->field, g);
    paintPlayerColors(g);
    SilentPlatform silent;
    GameContext ctx{g, silent};
    Judgement started = startTurn(ctx, g.currentTurn);
    if (said) *said = std::move(started.announcements);
    return g;
}

}  // namespace capzel
