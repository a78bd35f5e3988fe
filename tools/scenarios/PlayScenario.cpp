#include "PlayScenario.h"

#include "platform/SilentPlatform.h"
#include "rules/Turns.h"

namespace capzel::scenarios {

namespace {

struct RecordingPlatform : SilentPlatform {
    int highScoresShown = 0;
    void showHighScores() override { ++highScoresShown; }
};

}  // namespace

nlohmann::json playScenario(const Scenario& s) {
    modCapzel g;
    Field field;
    RecordingPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, s);
    const ShotResult r = Shoot_Piece(ctx);
    if (!r.unfinished && !r.abandoned) judgeFinishedShot(ctx);
    return outcome(ctx, r, ui.messages, ui.highScoresShown);
}

}  // namespace capzel::scenarios
