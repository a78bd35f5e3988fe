#include "rules/Rulebook.h"

#include <cmath>
#include <string>

#include "model/Placement.h"
#include "model/PowerBarScale.h"
#include "rules/HiddenCommands.h"
#include "rules/ShotInPlay.h"

namespace capzel {

namespace {

Refusal refusal(RefusalCode code, std::string text) { return Refusal{code, std::move(text)}; }

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::optional<Refusal> refuseHidden(const HiddenCommand& command) {
    if (std::size_t(command.kind) >= kHiddenCommandCaptions.size())
        return refusal(RefusalCode::BadCommand, "The hidden command is not one the game knows.");
    if (command.answers.size() > kMaxAnswers)
        return refusal(RefusalCode::BadCommand, "The command has " + std::to_string(command.answers.size()) +
                                                    " answers; it asks at most " + std::to_string(kMaxAnswers) + ".");
    for (const std::string& a : command.answers)
        if (a.size() > kMaxAnswerChars)
            return refusal(RefusalCode::BadCommand, "An answer is longer than " + std::to_string(kMaxAnswerChars) +
                                                        " characters.");
    return std::nullopt;
}

bool withinReach(float v) { return std::isfinite(v) && std::fabs(double(v)) <= kMaxAimReach; }

std::optional<Refusal> refusePlacement(const Game& g, const ShotCommand& shot) {
    const Seat& seat = g.seat(shot.seat);
    const int box = seat.position;
    if (!seat.moveableNextTurn || box < 1 || box > kSpotCount)
        return refusal(RefusalCode::PlacementNotAllowed, "The rules do not let the piece be placed by hand now.");
    const HandPlacement& place = *shot.placement;
    if (!std::isfinite(place.left) || !std::isfinite(place.top) ||
        !placeableWithin(g.board.spots[std::size_t(box)], g.piece(shot.seat), place.left, place.top))
        return refusal(RefusalCode::PlacementOutsideBox, "The piece is placed outside the box it may be moved in.");
    return std::nullopt;
}

std::optional<Refusal> refuseShot(const Game& g, const ShotCommand& shot) {
    if (!g.gameRunning) return refusal(RefusalCode::GameOver, "The game is over.");
    if (g.shotInProgress) return refusal(RefusalCode::ShotUnderWay, "A shot is under way.");
    if (shot.seat != g.currentTurn || !g.isPlayer(shot.seat)) {
        if (!g.isPlayer(g.currentTurn)) return refusal(RefusalCode::NotYourTurn, "It is nobody's turn.");
        return refusal(RefusalCode::NotYourTurn, "It is not your turn: it is " + g.seat(g.currentTurn).name +
                                                     "'s (seat " + std::to_string(g.currentTurn) + ").");
    }
    for (float v : {shot.x1, shot.y1, shot.x2, shot.y2})
        if (!withinReach(v))
            return refusal(RefusalCode::AimOutOfReach, "An end of the aim line (" + number(v) + ") is not a place near the field.");
    const int strongest = strongestStrength(g.board.scaleHeight);
    if (shot.strength < 0 || shot.strength > strongest)
        return refusal(RefusalCode::StrengthOutOfRange, "The strength " + std::to_string(shot.strength) +
                                                            " is outside the power bar's range, 0 to " +
                                                            std::to_string(strongest) + ".");
    if (shot.placement)
        if (auto refused = refusePlacement(g, shot)) return refused;
    long last = 0;
    for (const MidShotCommand& c : shot.midShot) {
        if (c.advance < last)
            return refusal(RefusalCode::BadCommand, "The shot's commands are not in the order of their advances.");
        last = c.advance;
        if (auto refused = refuseHidden(c.command)) return refused;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Refusal> validate(const Game& game, const Command& command) {
    if (const auto* shot = std::get_if<ShotCommand>(&command)) return refuseShot(game, *shot);
    return refuseHidden(std::get<HiddenCommand>(command));
}

Outcome apply(Game& game, const Command& command) {
    if (const auto* shot = std::get_if<ShotCommand>(&command)) return ShotInPlay(game, *shot).finish();
    Outcome out;
    static_cast<Judgement&>(out) = runHiddenCommand(game, std::get<HiddenCommand>(command));
    out.hash = game.hash();
    return out;
}

}  // namespace capzel
