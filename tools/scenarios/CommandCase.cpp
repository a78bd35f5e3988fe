#include "CommandCase.h"

#include <utility>

#include "controls/HiddenMenu.h"

namespace capzel::scenarios {

using nlohmann::json;

Command commandNamed(const std::string& caption) {
    static const std::pair<const char*, Command> kCommands[] = {
        {"Set Position", mnuSetPos_Click}, {"Set Friction", mnuSetFrict_Click}, {"Set Speed", mnuSetSpeed_Click},
        {"Set Piece", mnuSetPiece_Click},  {"Set Ingame", mnuSetIngame_Click},  {"Set Guidelines", mnuSetGuide_Click},
    };
    for (const auto& [name, command] : kCommands)
        if (caption == name) return command;
    return nullptr;
}

json toJson(const CommandCase& c) {
    json game = toJson(c.game);
    game.erase("pointer");
    game.erase("power");
    return {{"game", game}, {"command", c.command}, {"answers", c.answers}};
}

CommandCase commandCaseFromJson(const json& j) {
    json game = j.at("game");
    game["pointer"] = {0, 0, 0, 0};
    game["power"] = 0;
    return {"", scenarioFromJson(game), j.at("command").get<std::string>(),
            j.at("answers").get<std::vector<std::string>>()};
}

json commandOutcome(const GameContext& ctx, const std::vector<std::string>& questions,
                    const std::vector<std::string>& messages, int highScoresShown) {
    json out = outcome(ctx, ShotResult{}, messages, highScoresShown, kMaxPlayers);
    for (const char* shotOnly : {"power", "cycles", "steps", "hit_count", "hits", "kills", "sent"}) out.erase(shotOnly);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = ctx.field.board.Player[i];
        json& row = out["players"][size_t(i - 1)];
        row["width"] = p.Width;
        row["height"] = p.Height;
        row["z"] = p.Z;
        row["friction"] = ctx.g.Friction[i];
    }
    out["questions"] = questions;
    out["guide_menu"] = ctx.field.mnuGuideVisible;
    out["holder_place"] = {ctx.field.board.PieceHolder.Left, ctx.field.board.PieceHolder.Top};
    return out;
}

}  // namespace capzel::scenarios
