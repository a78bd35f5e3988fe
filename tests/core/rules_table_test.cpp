// The rules by value from rules.jsonl: a small game ("before", a seat each) and a judged shot or turn start
// ("call": "shot <turn> [h<hits>] [s<sent>] [k<kills>]" or "start <turn>") in; out the kind (Start, Lost, Reached,
// Kill, Win) and player of each announcement ("said"), words where they matter ("says") and the game left ("after").
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "DataRows.h"
#include "Scenario.h"
#include "model/Placement.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"
#include "support/FakePlatform.h"

namespace capzel::scenarios {
namespace {

// A seat as "<position><flags>[@k][$score]" (flags as flagLetters): the piece rests inside box k,
// off its centre, or without "@" in the open field.
ScenarioPlayer seat(const std::string& token, int i, const Board& layout) {
    std::size_t end = 0;
    const int position = std::stoi(token, &end);
    const std::size_t at = token.find('@'), cash = token.find('$');
    const Box place = at == std::string::npos ? Box{2980, 5980} : layout.spots[std::stoul(token.substr(at + 1))];
    const int score = cash == std::string::npos ? 0 : std::stoi(token.substr(cash + 1));
    return {std::string("P").append(std::to_string(i)), place.left + 20, place.top + 20, 98, score, position,
            token.substr(end, std::min(at, cash) - end)};
}

// The game in the same form, but "@k": the piece is centred on box k; "holder": the holder shows.
std::string gameLeft(const GameContext& ctx) {
    const Game& g = ctx.game;
    std::string out = g.gameRunning ? std::string("turn ").append(std::to_string(g.currentTurn)).append(":") : "ended:";
    for (int i = 1; i <= g.numberOfPlayers; ++i) {
        out.append(" ").append(std::to_string(g.seats[i].position)).append(flagText(g, i));
        for (int k = 1; k <= kSpotCount; ++k) {
            Box centred = ctx.piece(i);
            centrePieceOn(centred, ctx.board().spots[k]);
            if (centred.left == ctx.piece(i).left && centred.top == ctx.piece(i).top) {
                out.append("@").append(std::to_string(k));
                break;
            }
        }
        if (g.seats[i].score != 0) out.append("$").append(std::to_string(g.seats[i].score));
    }
    return out + (ctx.board().pieceHolder.visible ? " holder" : "");
}

TEST(Rules, EachShotOrTurnStartAnnouncesAndLeavesTheGame) {
    const Board layout = makeBoardLayout();
    for (const nlohmann::json& r : test::dataRows("rules.jsonl")) {
        SCOPED_TRACE(r.at("what").get<std::string>());
        test::GameFixture t;
        Game& g = t.g;
        GameContext& ctx = t.ctx;
        Scenario s;
        std::istringstream seats(r.at("before").get<std::string>());
        for (std::string token; seats >> token;) s.players.push_back(seat(token, int(s.players.size()) + 1, layout));
        setUp(g, s);
        if (s.players.empty()) g.numberOfPlayers = 0;
        std::istringstream call(r.at("call").get<std::string>());
        std::string kind;
        int turn = 0;
        call >> kind >> turn;
        g.currentTurn = std::int16_t(turn);  // as every caller does first
        for (std::string count; kind == "shot" && call >> count;)
            (count[0] == 'h' ? g.hitCount : count[0] == 's' ? g.sentCount : g.killCount) = std::stoi(count.substr(1));
        const Judgement j = kind == "start" ? startTurn(ctx, g.currentTurn) : judgeFinishedShot(ctx);

        std::string said, texts;
        for (const Announcement& a : j.announcements) {
            said.append(said.empty() ? "" : " ").append(1, "SLRKW"[int(a.kind)]).append(std::to_string(a.player));
            texts += (texts.empty() ? "" : " | ") + a.text;
        }
        EXPECT_EQ(said, r.at("said"));
        EXPECT_EQ(gameLeft(ctx), r.at("after"));
        EXPECT_NE(texts.find(r.value("says", "")), std::string::npos) << texts;
        EXPECT_EQ(j.ended(), !g.gameRunning);
    }
}

}  // namespace
}  // namespace capzel::scenarios

namespace capzel {

// Box labels along the course; far positions (pushed there by hand) with no printable letter show their number.
TEST(Rules, TargetLabelsAlongTheCourseAndBeyondIt) {
    const std::pair<int, const char*> reached[] = {{13, "13"}, {14, "12"}, {25, "1"}, {26, "A"},
                                                   {29, "D"}, {87, "~"},  {88, "88"}};
    for (const auto& [n, label] : reached) EXPECT_EQ(reachedTargetLabel(n), label) << n;
    Game g;
    g.currentTurn = 1;
    g.seats[1].isKiller = g.seats[1].onLetters = true;  // flags kept as they are
    const std::pair<int, const char*> onLetters[] = {{-6, "!"}, {-7, "-7"}, {27, "B"}, {87, "~"}, {88, "88"}};
    for (const auto& [p, label] : onLetters) EXPECT_EQ(g.targetLabel(p), label) << p;
}

}  // namespace capzel
