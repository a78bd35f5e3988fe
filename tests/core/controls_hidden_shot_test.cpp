// Shots whose speeds and frictions are changed mid-shot still come to rest.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/Assign.h"
#include "rules/HiddenCommands.h"
#include "rules/Rulebook.h"
#include "rules/ShotInPlay.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

TEST(HiddenCommandsDuringAShot, EveryShotStillEnds) {
    using K = HiddenCommandKind;
    // `before` runs between turns, `during` before the shot's advance `advance`; strength 0: the shooter stays.
    struct Row { const char* what; int players; bool walls; std::vector<HiddenCommand> before; int strength;
                 long advance; std::vector<HiddenCommand> during; };
    const HiddenCommand frictionAll100{K::SetFriction, {"all", "1e400"}};
    const HiddenCommand stackAllOn13{K::SetPiece, {"all", "13", "0", "1"}};
    const Row rows[] = {
        {"fastest speed, no friction, no walls", 2, false, {frictionAll100}, 0, 0, {{K::SetSpeed, {"all", "1e300", "-1e300"}}}},
        {"fastest speed, no friction, walls", 8, true, {frictionAll100}, 0, 0, {{K::SetSpeed, {"all", "10000", "7777"}}}},
        {"just above a moving speed, no friction", 2, false, {frictionAll100}, 0, 0, {{K::SetSpeed, {"2", "1.26", "-1.26"}}}},
        {"a resting piece set moving late in the shot", 3, true, {frictionAll100}, 1500, 499,
         {{K::SetSpeed, {"3", "-900", "350"}}}},
        {"pieces stacked on one spot, then moving", 8, true, {frictionAll100, stackAllOn13}, 0, 0,
         {{K::SetSpeed, {"all", "40", "40"}}}},
        {"stacked pieces, one of them moving", 8, false, {frictionAll100, stackAllOn13}, 0, 0, {{K::SetSpeed, {"5", "3", "0"}}}},
        {"friction and speed changed together mid-shot", 4, true, {}, 0, 0,
         {{K::SetFriction, {"all", "250"}}, {K::SetSpeed, {"all", "-5000", "5000"}}}},
        {"refused answers leave the shot as it was", 2, true, {}, 0, 0,
         {{K::SetSpeed, {"all", "nan", "inf"}}, {K::SetFriction, {"1", "-1"}}}},
    };
    for (const Row& r : rows) {
        ShotTable t(r.players);
        t.g.wallsOn = r.walls;
        for (int i = 1; i <= r.players; ++i) t.place(i, float(1500 + 900 * i), 6500);
        for (const HiddenCommand& c : r.before) runHiddenCommand(t.g, c);
        // Piece 1 shoots upwards from the mouse point below its centre.
        const float cx = float(double(t.piece(1).left) + 150), cy = float(double(t.piece(1).top) + 150);
        ShotCommand shot = t.shot(cx, cy, cx, float(double(cy) + 1000), r.strength);
        for (const HiddenCommand& c : r.during) shot.midShot.push_back({r.advance, c});
        ASSERT_FALSE(validate(t.g, shot)) << r.what;
        ShotInPlay play(t.g, shot);
        while (!play.resting()) play.advance();
        EXPECT_EQ(play.commandsLeft(), 0u) << r.what;
        EXPECT_FALSE(play.result().unfinished) << r.what << " after " << play.result().cycles << " cycles";
        for (int i = 1; i <= r.players; ++i) {
            EXPECT_FALSE(engine::movingPart(t.g.velocityX[i]) || engine::movingPart(t.g.velocityY[i])) << r.what << i;
            EXPECT_TRUE(std::isfinite(t.piece(i).left)) << r.what;
        }
    }
}
