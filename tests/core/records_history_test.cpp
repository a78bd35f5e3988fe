// The game history file: lines, winners, wins per name, bad files.
#include <gtest/gtest.h>

#include "DataRows.h"
#include "records/GameHistory.h"

using namespace capzel;

namespace {

// Ann (a person) won as a killer; Bob and the computer's Cy are dead.
Game finishedThreePlayerGame() {
    Game g;
    g.numberOfPlayers = 3;
    g.recreatePerGameTables();
    g.seats[1] = {.name = "Ann, \"the\" first", .score = 812};
    g.seats[2] = {.name = "Bob", .score = -5, .dead = true};
    g.seats[3] = {.name = "Cy", .score = 240, .kind = PlayerKind::Expert, .dead = true};
    g.currentTurn = 1, g.shotsTaken = 57;
    g.gameRunning = true;
    return g;
}

}  // namespace

TEST(GameHistory, FinishedGamesAreAppendedAndReadBack) {
    const HistoryGame first = finishedGame(finishedThreePlayerGame(), "2026-12-06 07:00");
    EXPECT_EQ(first.shots, 57);
    EXPECT_EQ(first.winnerName(), "Ann, 'the' first");  // stored as the saved games store names
    Game second = finishedThreePlayerGame();
    second.seats[1].dead = true, second.seats[2].dead = false;
    second.currentTurn = 2, second.shotsTaken = 0;  // a game settled by hidden commands alone
    const HistoryGame bobWon = finishedGame(second, "2026-12-07 08:00");
    EXPECT_EQ(bobWon.shots, 0);

    std::string file = historyAddition("", first);
    file += historyAddition(file, bobWon);
    EXPECT_EQ(file.substr(0, kHistoryHeadLine.size()), kHistoryHeadLine);
    EXPECT_NE(file.find("\r\n\"2026-12-06 07:00\",3,1,57,\"Ann, 'the' first\",\"Human\",812,\"Bob\",\"Human\",-5,\"Cy\",\"Expert\",240\r\n"),
              std::string::npos);
    const HistoryReading read = readHistory(file);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.games, (std::vector<HistoryGame>{first, bobWon}));
    WinTally tally;
    for (const HistoryGame& game : read.games) tally.add(game);
    EXPECT_EQ(tally.table(), (std::vector<WinCount>{{"Ann, 'the' first", 1}, {"Bob", 1}, {"Cy", 0}}));

    // A file whose last line lost its line end (edited by hand) gets the next game on a line of its own.
    const std::string cut = file.substr(0, file.size() - 2);
    EXPECT_EQ(readHistory(cut + historyAddition(cut, first)).games.size(), 3u);
}

TEST(GameHistory, TheWinnerIsTheLastPlayerAlive) {
    const struct { const char* name; int players; int current; std::array<bool, 4> dead; int winner; } cases[] = {
        {"killer with the others dead", 3, 2, {false, true, false, true}, 2},
        {"one player completed the course", 1, 1, {false, false, false, false}, 1},
        {"nobody left alive", 2, 1, {false, true, true, false}, 0},
        {"another player still alive", 3, 1, {false, false, false, true}, 0},
        {"turn outside the game", 2, 5, {false, false, true, false}, 0},
    };
    for (const auto& c : cases) {
        Game g;
        g.numberOfPlayers = std::int16_t(c.players);
        g.recreatePerGameTables();
        for (int i = 1; i <= 3; ++i) g.seats[std::size_t(i)].dead = c.dead[std::size_t(i)];
        g.currentTurn = std::int16_t(c.current);
        const HistoryGame game = finishedGame(g, "d");
        EXPECT_EQ(game.winner, c.winner) << c.name;
        EXPECT_EQ(game.winnerName(), c.winner ? g.seats[c.winner].name : "") << c.name;
        EXPECT_EQ(game.players.size(), std::size_t(c.players)) << c.name;
    }
}

// Each record of history_readings.jsonl: a file read whole, or the first bad line named.
TEST(GameHistory, FilesThatAreNotAHistoryNameTheirFirstBadLine) {
    for (const nlohmann::json& c : test::dataRows("history_readings.jsonl")) {
        const std::string name = c.at("name");
        const HistoryReading r = readHistory(test::bytesOf(c.at("text")));
        EXPECT_EQ(r.errorLine, c.at("line").get<int>()) << name << ": " << r.error;
        EXPECT_EQ(r.ok(), r.error.empty()) << name;
        EXPECT_NE(r.error.find(c.at("says").get<std::string>()), std::string::npos) << name << ": " << r.error;
        if (r.errorLine == 0) { EXPECT_EQ(r.games.size(), c.at("games").get<std::size_t>()) << name; }
    }
}

// The end of a file read before a game is added: a torn last line is not kept, a line cut by the read's start is skipped.
TEST(GameHistory, TheEndOfAFileKeepsAllButATornLine) {
    const std::string good = "\"d\",1,1,3,\"Ann\",\"Human\",5\r\n";
    const std::string head = std::string(kHistoryHeadLine) + "\r\n";
    const struct { const char* name; std::string bytes; bool fromFileStart; std::vector<std::size_t> starts; std::size_t kept; } cases[] = {
        {"head and two games", head + good + good, true, {head.size(), head.size() + good.size()}, 0},
        {"torn after the head", head + "\"d\",1", true, {}, head.size()},
        {"torn after a game", good + "\"d\",1,1,3,\"Ann\",\"Hum", true, {0}, good.size()},
        {"head line only when first", good + head, true, {0, good.size()}, 0},
        {"end of a file, first line cut", "uman\",5\r\n" + good + "\"d", false, {9}, 9 + good.size()},
        {"end of a file, no line end", "\",5", false, {}, 0},
        {"blank lines", "\r\n \t\n" + good, true, {5}, 0},
    };
    for (const auto& c : cases) {
        const HistoryLines lines = historyLines(c.bytes, c.fromFileStart);
        EXPECT_EQ(lines.starts, c.starts) << c.name;
        EXPECT_EQ(lines.kept, c.kept ? c.kept : c.bytes.size()) << c.name;
    }
    EXPECT_EQ(historyLineAt(head + good, head.size()), good.substr(0, good.size() - 2));
    EXPECT_EQ(historyLineNumber("a\r\n\nb\rc", 6), 4);
    EXPECT_EQ(historyAddition(head, HistoryGame{}), historyLine(HistoryGame{}));  // no head line twice
}
