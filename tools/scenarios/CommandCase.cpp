#include "CommandCase.h"

#include <utility>

#include "controls/Announcing.h"
#include "rules/HiddenCommands.h"
#include "platform/SilentPlatform.h"

namespace capzel::scenarios {

using nlohmann::json;

CommandRun runCommandNamed(GameContext& ctx, const std::string& caption) {
    static const std::pair<const char*, GameCommand> kCommands[] = {
        {"Set Position", setPositionCommand}, {"Set Friction", setFrictionCommand}, {"Set Speed", setSpeedCommand},
        {"Set Piece", setPieceCommand},       {"Set Ingame", setInGameCommand},
    };
    CommandRun run;
    if (caption == "Set Guidelines") setGuidelinesCommand(run.menus);
    for (const auto& [name, command] : kCommands) {
        if (caption != name) continue;
        const Judgement said = command(ctx);
        bringForward(run.order, said);
        run.ended = tellPlayers(ctx.ui, said) == GameFlow::Ended;
    }
    return run;
}

CommandCase commandCaseFromJson(const json& j) {
    json game = j.at("game");
    game["pointer"] = {0, 0, 0, 0};
    game["power"] = 0;
    return {"", scenarioFromJson(game), j.at("command").get<std::string>(),
            j.at("answers").get<std::vector<std::string>>()};
}

json commandOutcome(const GameContext& ctx, const CommandRun& run, const std::vector<std::string>& questions,
                    const std::vector<std::string>& messages) {
    json out = outcome(ctx, ShotResult{}, 0, messages, run.ended ? 1 : 0, kMaxPlayers);
    for (const char* shotOnly : {"power", "cycles", "steps", "step_delay", "hit_count", "hits", "kills", "sent"}) out.erase(shotOnly);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = ctx.game.board.pieces[i];
        json& row = out["players"][size_t(i - 1)];
        row["width"] = p.width;
        row["height"] = p.height;
        row["z"] = run.order.pieces[std::size_t(i)];
        row["friction"] = ctx.game.seats[i].friction;
    }
    out["questions"] = questions;
    out["guide_menu"] = run.menus.guideItemVisible;
    out["holder_place"] = {ctx.game.board.pieceHolder.left, ctx.game.board.pieceHolder.top};
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
    Field field;
    GameContext ctx{g, field, ui};
    setUp(ctx, c.game);
    ui.answers = c.answers;
    const CommandRun run = runCommandNamed(ctx, c.command);
    return commandOutcome(ctx, run, ui.questions, ui.messages);
}

}  // namespace capzel::scenarios
