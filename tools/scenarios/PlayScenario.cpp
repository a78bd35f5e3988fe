#include "PlayScenario.h"

#include "platform/SilentPlatform.h"
#include "controls/Announcing.h"
#include "rules/ShotJudging.h"

namespace capzel::scenarios {

namespace {

struct RecordingPlatform : SilentPlatform {
    std::vector<std::string> answers, questions;
    std::string inputBox(std::string_view prompt) override {
        questions.emplace_back(prompt);
        if (questions.size() > answers.size()) return {};
        return answers[questions.size() - 1];
    }
};

}  // namespace

nlohmann::json playScenario(const Scenario& s) {
    GameState g;
    Field field;
    RecordingPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, s);
    StepPace pace;
    const ShotResult r = playPacedShot(ctx, pace);
    const bool ended = !r.unfinished && tellPlayers(ctx.ui, judgeFinishedShot(ctx)) == GameFlow::Ended;
    return outcome(ctx, r, pace.delay(), ui.messages, ended ? 1 : 0);
}

nlohmann::json playCommand(const CommandCase& c) {
    GameState g;
    Field field;
    RecordingPlatform ui;
    GameContext ctx{g, field, ui};
    setUp(ctx, c.game);
    ui.answers = c.answers;
    const CommandRun run = runCommandNamed(ctx, c.command);
    return commandOutcome(ctx, run, ui.questions, ui.messages);
}

}  // namespace capzel::scenarios
