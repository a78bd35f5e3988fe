// Target progression at the ends of the score range: nothing wraps around.
#include <gtest/gtest.h>

#include <limits>

#include "model/GameContext.h"
#include "model/Placement.h"
#include "rules/Progression.h"
#include "support/FakePlatform.h"

using namespace capzel;

TEST(Progression, ScoresAtTheLimitNeverWrap) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Row {
        int players, from, region;
        bool placed;
        std::int32_t score, expected;
    };
    const Row rows[] = {
        {2, 4, 5, true, kMax, kMax},            // one-shot bonus, + 25
        {2, 4, 5, false, kMax - 5, kMax},       // + 5 reaches the top exactly
        {2, 4, 5, false, kMax - 4, kMax - 4},   // + 5 would pass it
        {2, 4, 5, true, kMin, kMin + 25},
        {2, 28, 29, false, kMax, kMax},         // + 5, killer + 50
        {1, 28, 29, false, kMax - 155, kMax},   // + 5, killer + 50, won + 100
        {1, 28, 29, false, kMax - 60, kMax - 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.players << " players, from " << r.from << ", score " << r.score);
        GameState g;
        Field field;
        test::FakePlatform ui;
        GameContext ctx{g, field, ui};
        g.numberOfPlayers = std::int16_t(r.players);
        g.recreatePerGameTables();
        for (int i = 1; i <= r.players; ++i) {
            g.playerName[i] = std::string{'P', char('0' + i)};
            g.position[i] = 1;
        }
        g.currentTurn = 1;
        g.gameRunning = true;
        // Player 1 shot from `from` and rests in the region of the next target.
        g.position[1] = r.from;
        g.moveableNextTurn[1] = r.placed;
        g.targetLabel(r.from + 1);
        centrePieceOn(field.board.pieces[1], field.board.spots[r.region]);
        g.score[1] = r.score;
        judgeOrdinaryShot(ctx);
        EXPECT_EQ(g.score[1], r.expected);
    }
}
