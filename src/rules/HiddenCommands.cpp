// The six commands of the hidden menu. Each asks its questions in input
// boxes, checks the answers loosely and writes straight into the game state
// and onto the pieces. An answer that is not acceptable ends the command
// without any change and without a message.
//
// Beyond the loose checks, the commands keep the game safe: only players of
// the running game (1..numberOfPlayers, and only once a game has created
// its tables) and targets 1..29 are touched, Friction stays within (0, 100]
// and velocities stay finite and at most kMaxSpeed in size, so that every
// shot still comes to rest.
#include <algorithm>
#include <cmath>
#include <vector>

#include "rules/Answers.h"
#include "rules/HiddenCommands.h"
#include "model/Placement.h"
#include "platform/SilentPlatform.h"
#include "rules/TurnStart.h"

namespace capzel {

namespace {

// Number of players whose per-game entries exist: none before the first game.
int playersInTables(const Game& g) {
    if (!g.perGameTablesExist) return 0;
    return std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers);
}

// A player answer is acceptable when its number is above 0 or it is "all".
bool acceptablePlayerAnswer(std::string_view answer) {
    return answerNumber(answer) > 0 || answerIsAll(answer);
}

// The player named by the answer's whole number, or 0 when there is no such
// player in the running game.
int playerOf(const Game& g, std::string_view answer) {
    const double w = answerWholeNumber(answer);
    if (!(w >= 1 && w <= playersInTables(g))) return 0;
    return int(w);
}

// The target named by the answer's whole number, or 0 when the field has no
// such target.
int targetOf(std::string_view answer) {
    const double t = answerWholeNumber(answer);
    if (!(t >= 1 && t <= kSpotCount)) return 0;
    return int(t);
}

// The players a "Who? (# or all)" answer names: with "all" every player of
// the running game whose piece is on the board (inGame), otherwise the one
// player of the answer if there is one.
std::vector<int> playersNamed(const Game& g, std::string_view answer) {
    std::vector<int> players;
    if (answerIsAll(answer)) {
        for (int i = 1; i <= playersInTables(g); ++i)
            if (g.seats[i].inGame) players.push_back(i);
    } else if (int w = playerOf(g, answer)) {
        players.push_back(w);
    }
    return players;
}

// Centres `piece` on `region` as if it had the size of `sizeOf`.
void centreWithSizeOf(Box& piece, const Box& sizeOf, const Box& region) {
    Box sized = piece;
    sized.width = sizeOf.width;
    sized.height = sizeOf.height;
    centrePieceOn(sized, region);
    piece.left = sized.left;
    piece.top = sized.top;
}

// A velocity part as stored: finite values limited to kMaxSpeed in size.
float limitedSpeed(double v) { return float(std::clamp(v, -kMaxSpeed, kMaxSpeed)); }

}  // namespace

Judgement setPositionCommand(GameContext& ctx) {
    const std::string who = ctx.ui.inputBox("Who? (# only)");
    const std::string where = ctx.ui.inputBox("Where?");
    if (!(answerNumber(who) > 0) || !(answerNumber(where) > 0)) return {};

    Game& g = ctx.game;
    const int w = playerOf(g, who);
    const int t = targetOf(where);
    if (w == 0 || t == 0) return {};

    g.seats[w].position = t;
    g.seats[w].moveableNextTurn = true;
    centrePieceOn(ctx.piece(w), ctx.board().spots[t]);
    return startTurn(ctx, std::int16_t(w));
}

Judgement setFrictionCommand(GameContext& ctx) {
    const std::string who = ctx.ui.inputBox("Who? (# or all)");
    const std::string what = ctx.ui.inputBox("What? (% retained)");
    const double kept = answerNumber(what);
    if (!(kept > 0) || !acceptablePlayerAnswer(who)) return {};

    // More than 100 % would speed pieces up at every step, so that a shot
    // might never end; an infinite answer is read as "as much as allowed".
    const float friction = float(std::min(kept, kMaxFriction));
    for (int i : playersNamed(ctx.game, who)) ctx.game.seats[i].friction = friction;
    return {};
}

Judgement setSpeedCommand(GameContext& ctx) {
    const std::string who = ctx.ui.inputBox("Who? (# or all)");
    const std::string xAnswer = ctx.ui.inputBox("X?");
    const std::string yAnswer = ctx.ui.inputBox("Y?");
    const std::optional<double> x = answerFullNumber(xAnswer);
    const std::optional<double> y = answerFullNumber(yAnswer);
    if (!x || !y || !acceptablePlayerAnswer(who)) return {};
    if (!std::isfinite(*x) || !std::isfinite(*y)) return {};

    const float vx = limitedSpeed(*x);
    const float vy = limitedSpeed(*y);
    for (int i : playersNamed(ctx.game, who)) {
        // A piece in the holder is not stepped by a shot, so a speed given
        // to it would never wear off and the shot would never end.
        if (!ctx.game.seats[i].inGame) continue;
        ctx.game.velocityX[i] = vx;
        ctx.game.velocityY[i] = vy;
    }
    return {};
}

Judgement setPieceCommand(GameContext& ctx) {
    const std::string who = ctx.ui.inputBox("Who? (# or all)");
    const std::string where = ctx.ui.inputBox("Where?");
    const std::string moveableAnswer = ctx.ui.inputBox("Moveable? (0=false, 1=true)");
    const std::string changeAnswer = ctx.ui.inputBox("Change Position? (0=false, 1=true)");
    const bool moveable = answerNumber(moveableAnswer) == 1.0;
    const bool change = answerNumber(changeAnswer) == 1.0;
    if (!(answerNumber(where) > 0) || !acceptablePlayerAnswer(who)) return {};

    const int t = targetOf(where);
    if (t == 0) return {};
    Game& g = ctx.game;
    for (int i : playersNamed(g, who)) {
        g.seats[i].position = t;
        g.seats[i].moveableNextTurn = moveable;
        // With "all" the pieces land on the same spot, one over the other.
        if (change) centrePieceOn(ctx.piece(i), ctx.board().spots[t]);
    }
    return {};
}

Judgement setInGameCommand(GameContext& ctx) {
    const std::string who = ctx.ui.inputBox("Who? (# or all)");
    if (!acceptablePlayerAnswer(who)) return {};

    Game& g = ctx.game;
    const Box& firstPiece = ctx.piece(1);  // every piece is placed with piece 1's size
    const Box& box1 = ctx.board().spots[1];
    if (answerIsAll(who)) {
        // Only the pieces still off the board enter; the others stay.
        for (int i = 1; i <= playersInTables(g); ++i) {
            if (g.seats[i].inGame) continue;
            g.seats[i].position = 1;
            g.seats[i].inGame = true;
            centreWithSizeOf(ctx.piece(i), firstPiece, box1);
        }
    } else if (int w = playerOf(g, who)) {
        g.seats[w].inGame = true;
        centreWithSizeOf(ctx.piece(w), firstPiece, box1);
    }
    return {};
}

namespace {

// The board's boxes, with every answer kept.
class AnswerRecorder final : public SilentPlatform {
public:
    explicit AnswerRecorder(Platform& ui) : ui_(ui) {}
    std::vector<std::string> answers;
    std::string inputBox(std::string_view prompt) override { return answers.emplace_back(ui_.inputBox(prompt)); }

private:
    Platform& ui_;
};

// Nobody watches: the input boxes get the command's answers in order, and a
// Cancel once they run out.
class AnsweringPlatform final : public SilentPlatform {
public:
    explicit AnsweringPlatform(const std::vector<std::string>& answers) : answers_(answers) {}
    std::string inputBox(std::string_view) override {
        return next_ < answers_.size() ? answers_[next_++] : std::string();
    }

private:
    const std::vector<std::string>& answers_;
    std::size_t next_ = 0;
};

constexpr GameCommand kCommands[] = {setPositionCommand, setFrictionCommand, setSpeedCommand, setPieceCommand,
                                     setInGameCommand};

}  // namespace

Judgement runHiddenCommand(Game& game, const HiddenCommand& command) {
    AnsweringPlatform answers(command.answers);
    GameContext ctx{game, answers};
    return kCommands[std::size_t(command.kind)](ctx);
}

HiddenCommand askHiddenCommand(const Game& game, HiddenCommandKind kind, Platform& ui) {
    Game copy = game;
    AnswerRecorder recorder(ui);
    GameContext ctx{copy, recorder};
    kCommands[std::size_t(kind)](ctx);
    return HiddenCommand{kind, std::move(recorder.answers)};
}

void setGuidelinesCommand(MenuState& menus) { menus.guideItemVisible = true; }

}  // namespace capzel
