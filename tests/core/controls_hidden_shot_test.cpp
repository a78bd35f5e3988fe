// Shots whose speeds and frictions are changed mid-shot still come to rest.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "rules/HiddenCommands.h"
#include "engine/Assign.h"
#include "support/ShotTable.h"

using namespace capzel;
using capzel::test::ShotTable;

namespace {

// A command run by hand during a shot, with its answers.
struct Typed { GameCommand command; std::vector<std::string> answers; };

struct Row {
    const char* what;
    int players;
    bool walls;
    std::vector<Typed> before;  // run before the shot (between turns)
    int power;                  // the shooter's launch (0: the shooter stays)
    long atBatch;               // the yield batch during which `during` runs
    std::vector<Typed> during;
};

void run(ShotTable& t, const std::vector<Typed>& commands) {
    for (const Typed& c : commands) {
        for (const std::string& a : c.answers) t.ui.inputAnswers.push_back(a);
        c.command(t.ctx);
    }
}

}  // namespace

TEST(HiddenCommandsDuringAShot, EveryShotStillEnds) {
    const Typed frictionAll100{setFrictionCommand, {"all", "1e400"}};
    const Typed stackAllOn13{setPieceCommand, {"all", "13", "0", "1"}};
    const Row rows[] = {
        {"fastest speed, no friction, no walls", 2, false, {frictionAll100}, 0, 1,
         {{setSpeedCommand, {"all", "1e300", "-1e300"}}}},
        {"fastest speed, no friction, walls", 8, true, {frictionAll100}, 0, 1,
         {{setSpeedCommand, {"all", "10000", "7777"}}}},
        {"just above a moving speed, no friction", 2, false, {frictionAll100}, 0, 1,
         {{setSpeedCommand, {"2", "1.26", "-1.26"}}}},
        {"a resting piece set moving late in the shot", 3, true, {frictionAll100}, 1500, 500,
         {{setSpeedCommand, {"3", "-900", "350"}}}},
        {"pieces stacked on one spot, then moving", 8, true, {frictionAll100, stackAllOn13}, 0, 1,
         {{setSpeedCommand, {"all", "40", "40"}}}},
        {"stacked pieces, one of them moving", 8, false, {frictionAll100, stackAllOn13}, 0, 1,
         {{setSpeedCommand, {"5", "3", "0"}}}},
        {"friction and speed changed together mid-shot", 4, true, {}, 0, 1,
         {{setFrictionCommand, {"all", "250"}}, {setSpeedCommand, {"all", "-5000", "5000"}}}},
        {"refused answers leave the shot as it was", 2, true, {}, 0, 1,
         {{setSpeedCommand, {"all", "nan", "inf"}}, {setFrictionCommand, {"1", "-1"}}}},
    };
    for (const Row& r : rows) {
        ShotTable t(r.players);
        t.g.wallsOn = r.walls;
        for (int i = 1; i <= r.players; ++i) t.place(i, float(1500 + 900 * i), 6500);
        run(t, r.before);
        long batch = 0;
        t.ui.onYield = [&] {
            if (++batch == r.atBatch) run(t, r.during);
        };
        // Piece 1 shoots upwards from the mouse point below its centre, or
        // stays where it is without strength.
        const Box& shooter = t.field.board.pieces[1];
        const float cx = float(double(shooter.left) + 150), cy = float(double(shooter.top) + 150);
        t.field.board.pointer = {cx, cy, cx, float(double(cy) + 1000)};
        t.g.power = std::int16_t(r.power);
        ShotOptions options;
        options.maxCycles = 3'000'000;
        const ShotResult result = playShot(t.ctx, t.ui, options);
        t.ui.onYield = nullptr;
        EXPECT_GE(batch, r.atBatch) << r.what;
        EXPECT_FALSE(result.unfinished) << r.what << " after " << result.cycles << " cycles";
        for (int i = 1; i <= r.players; ++i) {
            EXPECT_FALSE(engine::movingPart(t.field.velocityX[i])) << r.what << ", piece " << i;
            EXPECT_FALSE(engine::movingPart(t.field.velocityY[i])) << r.what << ", piece " << i;
            EXPECT_TRUE(std::isfinite(t.field.board.pieces[i].left)) << r.what;
        }
    }
}
