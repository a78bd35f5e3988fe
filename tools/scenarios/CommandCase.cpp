#include "CommandCase.h"

#include "controls/Announcing.h"
#include "model/WindowState.h"
#include "platform/SilentPlatform.h"
#include "rules/HiddenCommands.h"
#include "rules/Rulebook.h"

namespace capzel::scenarios {

using nlohmann::json;

CommandCase commandCaseFromJson(const json& j) {
    json game = j.at("game");
    game["pointer"] = {0, 0, 0, 0};
    game["power"] = 0;
    return {scenarioFromJson(game), j.at("command").get<std::string>(), j.at("answers").get<std::vector<std::string>>()};
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
    DrawingOrder order;
    MenuState menus;
    std::vector<std::string> said;
    bool ended = false;
    if (c.command == "Set Guidelines") setGuidelinesCommand(menus);
    if (const std::optional<HiddenCommandKind> kind = commandNamed(c.command)) {
        const Command asked = askHiddenCommand(g, *kind, ui);
        if (!validate(g, asked)) {
            const Outcome applied = apply(g, asked);
            bringForward(order, applied);
            ended = applied.ended();
            said = messagesOf(applied);
        }
    }
    json out = outcome(g, ShotResult{}, 0, 0, said, ended ? 1 : 0, kMaxPlayers);
    for (const char* shotOnly : {"power", "cycles", "steps", "step_delay", "hit_count", "hits", "kills", "sent"}) out.erase(shotOnly);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        json& row = out["players"][size_t(i - 1)];
        row["width"] = g.piece(i).width, row["height"] = g.piece(i).height;
        row["z"] = order.pieces[std::size_t(i)], row["friction"] = g.seats[i].friction;
    }
    out["questions"] = ui.questions;
    out["guide_menu"] = menus.guideItemVisible;
    out["holder_place"] = {g.board.pieceHolder.left, g.board.pieceHolder.top};
    return out;
}

}  // namespace capzel::scenarios
