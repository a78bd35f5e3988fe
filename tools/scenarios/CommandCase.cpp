#include "CommandCase.h"

#include <utility>

#include "controls/Announcing.h"
#include "rules/HiddenCommands.h"
#include "rules/Rulebook.h"
#include "platform/SilentPlatform.h"

namespace capzel::scenarios {

using nlohmann::json;

CommandRun runCommandNamed(Game& g, Platform& ui, const std::string& caption, std::vector<std::string>& said) {
    CommandRun run;
    if (caption == "Set Guidelines") setGuidelinesCommand(run.menus);
    const std::optional<HiddenCommandKind> kind = commandNamed(caption);
    if (!kind) return run;
    const Command asked = askHiddenCommand(g, *kind, ui);
    if (validate(g, asked)) return run;
    const Outcome outcome = apply(g, asked);
    bringForward(run.order, outcome);
    run.ended = outcome.ended();
    said = messagesOf(outcome);
    return run;
}

CommandCase commandCaseFromJson(const json& j) {
    json game = j.at("game");
    game["pointer"] = {0, 0, 0, 0};
    game["power"] = 0;
    return {"", scenarioFromJson(game), j.at("command").get<std::string>(),
            j.at("answers").get<std::vector<std::string>>()};
}

json commandOutcome(const Game& g, const CommandRun& run, const std::vector<std::string>& questions,
                    const std::vector<std::string>& messages) {
    json out = outcome(g, ShotResult{}, 0, 0, messages, run.ended ? 1 : 0, kMaxPlayers);
    for (const char* shotOnly : {"power", "cycles", "steps", "step_delay", "hit_count", "hits", "kills", "sent"}) out.erase(shotOnly);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = g.piece(i);
        json& row = out["players"][size_t(i - 1)];
        row["width"] = p.width;
        row["height"] = p.height;
        row["z"] = run.order.pieces[std::size_t(i)];
        row["friction"] = g.seats[i].friction;
    }
    out["questions"] = questions;
    out["guide_menu"] = run.menus.guideItemVisible;
    out["holder_place"] = {g.board.pieceHolder.left, g.board.pieceHolder.top};
    return out;
}

json playCommand(const CommandCase& c) {
    // Answers the input boxes from the case's answers, noting each prompt.
    struct Answering : SilentPlatform {
        std::vector<std::string> answers, questions;
        std::string inputBox(std::string_view prompt) override {
            questions.emplace_back(prompt);
            return questions.size() > answers.size() ? std::string() : answers[questions.size() - 1];
        }
    } ui;
    Game g;
    setUp(g, c.game);
    ui.answers = c.answers;
    std::vector<std::string> said;
    const CommandRun run = runCommandNamed(g, ui, c.command, said);
    return commandOutcome(g, run, ui.questions, said);
}

}  // namespace capzel::scenarios
