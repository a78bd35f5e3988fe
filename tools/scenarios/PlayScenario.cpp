#include "PlayScenario.h"

#include "platform/SilentPlatform.h"
#include "rules/Turns.h"

namespace capzel::scenarios {

namespace {

struct RecordingPlatform : SilentPlatform {
    int highScoresShown = 0;
    std::vector<std::string> answers, questions;
    void showHighScores() override { ++highScoresShown; }
    std::string inputBox(std::string_view prompt) override {
        questions.emplace_back(prompt);
        if (questions.size() > answers.size()) return {};
        return answers[questions.size() - 1];
    }
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

nlohmann::json playCommand(const CommandCase& c) {
    modCapzel g;
    Field field;
    RecordingPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, c.game);
    ui.answers = c.answers;
    commandNamed(c.command)(ctx);
    return commandOutcome(ctx, ui.questions, ui.messages, ui.highScoresShown);
}

}  // namespace capzel::scenarios
