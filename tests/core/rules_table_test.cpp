// The rules by value: a small game and a judged shot or a turn start in;
// what the rules announce (kind and player, words where they matter) and
// the game they leave out.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Scenario.h"
#include "model/Placement.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"
#include "support/FakePlatform.h"

namespace capzel::scenarios {
namespace {

// A seat as "<position><flags>[@k][$score]" (flags as flagLetters): the
// piece rests inside box k, off its centre, or without "@" in the open field.
ScenarioPlayer seat(const std::string& token, int i, const Board& layout) {
    std::size_t end = 0;
    const int position = std::stoi(token, &end);
    const std::size_t at = token.find('@'), cash = token.find('$');
    const Box place = at == std::string::npos ? Box{2980, 5980} : layout.spots[std::stoul(token.substr(at + 1))];
    const int score = cash == std::string::npos ? 0 : std::stoi(token.substr(cash + 1));
    return {"P" + std::to_string(i), place.left + 20, place.top + 20, 98, score, position,
            token.substr(end, std::min(at, cash) - end)};
}

// The game in the same form, but "@k": the piece is centred on box k; and
// "holder": the piece holder shows.
std::string gameLeft(const GameContext& ctx) {
    const GameState& g = ctx.g;
    std::string out = g.gameRunning ? "turn " + std::to_string(g.currentTurn) + ":" : "ended:";
    for (int i = 1; i <= g.numberOfPlayers; ++i) {
        out += " " + std::to_string(g.position[i]);
        const bool flags[] = {g.inGame[i],           g.dead[i],         g.isKiller[i],  g.onLetters[i],
                              g.headingInReverse[i], g.moveableNextTurn[i], g.losingTurn[i]};
        for (int f = 0; f < 7; ++f)
            if (flags[f]) out += flagLetters[f];
        for (int k = 1; k <= kSpotCount; ++k) {
            Box centred = ctx.piece(i);
            centrePieceOn(centred, ctx.board().spots[k]);
            if (centred.left == ctx.piece(i).left && centred.top == ctx.piece(i).top) {
                out += "@" + std::to_string(k);
                break;
            }
        }
        if (g.score[i] != 0) out += "$" + std::to_string(g.score[i]);
    }
    return out + (ctx.board().pieceHolder.visible ? " holder" : "");
}

struct Row {
    const char* what;
    const char* before;  // player i in the i-th seat
    const char* call;    // "shot <turn> [h<hits>] [s<sent>] [k<kills>]" judged, or "start <turn>"
    const char* said;    // kind (Start, Lost, Reached, Kill, Win) and player of each announcement
    const char* after;
    const char* says = "";  // words of the announcements, joined by " | "
};

const Row kRows[] = {
    // Shots of a player on the course.
    {"nothing achieved passes the turn", "3gm 5g", "shot 1", "S2", "turn 2: 3g 5g", "P2's turn start.  Target: 6"},
    {"the target from a placed piece", "4gm@5 5g", "shot 1", "R1", "turn 1: 6gm@6$25 5g", "ONE SHOT"},
    {"the target from where the piece rested", "4g@5 5g", "shot 1", "R1", "turn 1: 5gm@5$5 5g"},
    {"target, bonus and a hit", "4gm@5 5g", "shot 1 h1", "R1", "turn 1: 7gm@7$25 5g",
     "P1 reached target 5. (Target + 1) ... and in ONE SHOT! (Target + 1)\r\n1 HIT! (Target + 1)\r\n"
     "New Location.  Target 7\r\nNew Target: 8"},
    {"box 13 turns the player back", "12g@13 5g", "shot 1", "R1", "turn 1: 13grm@13$5 5g", "Target 13\r\nNew Target: 12"},
    {"box 1 again leads to the letters", "24gr@25 5g", "shot 1", "R1", "turn 1: 25glrm@25$5 5g", "Target 1\r\nNew Target: A"},
    {"a letter earns no bonus", "26glrm@27 5g", "shot 1", "R1", "turn 1: 27glrm@27$5 5g",
     "Target B\r\nNew Target: C"},
    {"hits and pieces sent move on", "3gm 5g", "shot 1 h2 s1", "R1", "turn 1: 6gm@6 5g",
     "P1\r\n2 HITS! (Target + 2)\r\nSent 1 player to their target. (Target + 1)\r\n"},
    {"a wrong letter box costs a turn", "4gm@28 5g", "shot 1", "L1 S2", "turn 2: 4gx 5g",
     "P1 landed in target C. P1 loses turn. | P2's"},
    {"not when the shot touched a piece", "4gm@28 5g", "shot 1 h1", "R1", "turn 1: 5gm@5 5g"},
    {"D makes a killer", "28glr@29 5g", "shot 1", "R1", "turn 1: 29gklrm@29$55 5g",
     "P1 reached target D and became a killer."},
    {"hits past D make a killer", "27glr 5g", "shot 1 h3", "R1", "turn 1: 30gklrm@29$50 5g", "became a killer"},
    {"a lone player on D wins", "28glr@29", "shot 1", "R1 W1", "ended: 29gklrm@29$155", "killer. | P1 WON!"},
    {"a target past the course is missed", "29glr 5g", "shot 1", "S2", "turn 2: 29glr 5g"},
    {"a place before the course stays", "-1gm 5g", "shot 1 h1", "R1", "turn 1: 0gm 5g"},
    // Scores at the ends of their range: a gain that would pass one is not made.
    {"a bonus at the top", "4gm@5$2147483647 5g", "shot 1", "R1", "turn 1: 6gm@6$2147483647 5g"},
    {"a target up to the top", "4g@5$2147483642 5g", "shot 1", "R1", "turn 1: 5gm@5$2147483647 5g"},
    {"a target past the top", "4g@5$2147483643 5g", "shot 1", "R1", "turn 1: 5gm@5$2147483643 5g"},
    {"a bonus from the bottom", "4gm@5$-2147483648 5g", "shot 1", "R1", "turn 1: 6gm@6$-2147483623 5g"},
    {"a killer at the top", "28glr@29$2147483647 5g", "shot 1", "R1", "turn 1: 29gklrm@29$2147483647 5g"},
    {"a win up to the top", "28glr@29$2147483492", "shot 1", "R1 W1", "ended: 29gklrm@29$2147483647"},
    {"a win past the top", "28glr@29$2147483587", "shot 1", "R1 W1", "ended: 29gklrm@29$2147483642"},
    // Shots of a killer.
    {"a killer in a box goes on from it", "29gklr@10 5g", "shot 1", "K1", "turn 1: 10gklrm@10 5g",
     "P1 reached box 10.  Killer may continue."},
    {"with kills on the way", "29gklr@10 5d 7d 3g", "shot 1 h3 k2", "K1", "turn 1: 10gklrm@10 5d 7d 3g",
     "box 10.  2 kills on the way.  Killer"},
    {"box 1, never its twin", "29gklr@1 5g", "shot 1", "K1", "turn 1: 1gklrm@1 5g", "box 1."},
    {"a letter box", "29gklr@28 5g", "shot 1", "K1", "turn 1: 28gklrm@28 5g", "box C."},
    {"the last kill in a box wins", "29gklr@13 5d", "shot 1 h1 k1", "W1", "ended: 13gklr 5d",
     "P1 reached box 13.  1 kill on the way.  \r\nP1 WON!"},
    {"kills outside a box: on from there", "29gklrm 5d 7g", "shot 1 h1 k1", "K1", "turn 1: 29gklr 5d 7g",
     "P1 killed 1.  Killer may continue."},
    {"the last kills win", "29gklr 5d 7d", "shot 1 h2 k2", "W1", "ended: 29gklr 5d 7d", "P1 killed 2 players. P1 WON!"},
    {"a waiting piece is alive", "29gklr 5d 0", "shot 1 h1 k1", "K1", "turn 1: 29gklr 5d 0"},
    {"touching nothing passes", "29gklrm 5g", "shot 1", "S2", "turn 2: 29gklr 5g", "P2's turn start.  Target: 6"},
    {"a killer's shot from seat 2", "5g 29gklrm", "shot 2", "S1", "turn 1: 5g 29gklr"},
    // Turn starts.
    {"a newcomer enters on box 1", "0 0", "start 1", "S1", "turn 1: 1gm@1 0 holder", "Target: 2"},
    {"the last newcomer hides the holder", "3g 0", "start 2", "S2", "turn 2: 3g 1gm@1"},
    {"the dead are skipped past the last", "3d 12g 7d", "start 3", "S2", "turn 2: 3d 12g 7d", "P2's turn start.  Target: 13"},
    {"past the last seat: the first", "24gr 5g 7g", "start 4", "S1", "turn 1: 24gr 5g 7g", "Target: 1"},
    {"lost turns in a row", "3gx 5gx 7g", "start 1", "L1 L2 S3", "turn 3: 3g 5g 7g", "P1 loses Turn | P2 loses Turn"},
    {"a lost turn past the last seat", "28glr 5gx", "start 2", "L2 S1", "turn 1: 28glr 5g", "Target: D"},
    {"a killer keeps a lost turn", "3g 29gklrx", "start 2", "S2", "turn 2: 3g 29gklrx", "P2's turn start.  KILLER"},
    {"a newcomer enters, then loses the turn", "3g 0x", "start 2", "L2 S1", "turn 1: 3g 1gm@1"},
    {"the label refreshes the flags", "25g", "start 1", "S1", "turn 1: 25glr", "Target: A"},
    {"far past D by hand: a printable letter", "86g", "start 1", "S1", "turn 1: 86gklr", "Target: ~"},
    {"further: the number", "87g", "start 1", "S1", "turn 1: 87gklr", "Target: 88"},
    {"nobody alive ends the game quietly", "3dx 5dx", "start 1", "", "ended: 3dx 5dx"},
    {"one player, dead", "3dx", "start 1", "", "ended: 3dx"},
    {"a game of nobody", "", "start 1", "", "ended:"},
};

TEST(Rules, EachShotOrTurnStartAnnouncesAndLeavesTheGame) {
    const Board layout = makeBoardLayout();
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.what);
        GameState g;
        Field field;
        test::FakePlatform ui;
        GameContext ctx{g, field, ui};
        Scenario s;
        std::istringstream seats(r.before);
        for (std::string token; seats >> token;) s.players.push_back(seat(token, int(s.players.size()) + 1, layout));
        setUp(ctx, s);
        if (s.players.empty()) g.numberOfPlayers = 0;

        std::istringstream call(r.call);
        std::string kind;
        int turn = 0;
        call >> kind >> turn;
        g.currentTurn = std::int16_t(turn);  // as every caller does first
        Judgement j;
        if (kind == "start") {
            j = startTurn(ctx, g.currentTurn);
        } else {
            for (std::string count; call >> count;)
                (count[0] == 'h' ? g.hitCount : count[0] == 's' ? g.sentCount : g.killCount) = std::stoi(count.substr(1));
            j = judgeFinishedShot(ctx);
        }

        std::string said, texts;
        for (const Announcement& a : j.announcements) {
            said += (said.empty() ? "" : " ") + std::string(1, "SLRKW"[int(a.kind)]) + std::to_string(a.player);
            texts += (texts.empty() ? "" : " | ") + a.text;
        }
        EXPECT_EQ(said, r.said);
        EXPECT_EQ(gameLeft(ctx), r.after);
        EXPECT_NE(texts.find(r.says), std::string::npos) << texts;
        EXPECT_EQ(j.ended(), !g.gameRunning);
    }
}

}  // namespace
}  // namespace capzel::scenarios
