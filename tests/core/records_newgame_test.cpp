// "Play" over a game already played: what a new game resets and keeps.
#include <gtest/gtest.h>

#include <set>

#include "records/NewGame.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;

TEST(NewGame, ThreePlayersAfterFiveKeepTheOldEntriesBeyondThree) {
    Game t;
    NewGameSettings five;
    five.players = 5;
    for (int i = 1; i <= 5; ++i) {
        five.names[std::size_t(i)] = "Five " + std::to_string(i);
        five.friction[std::size_t(i)] = FrictionLevel::High;
        five.colors[std::size_t(i)] = Color(100 + i);
    }
    applyNewGame(t.ctx, five);
    // The first game runs for a while.
    t.g.position[2] = 14;
    t.g.isKiller[1] = t.g.dead[3] = t.g.losingTurn[2] = true;
    t.g.shotInProgress = true;
    t.g.currentTurn = 4;

    NewGameSettings three;
    three.players = 3;
    three.names[2] = "";  // an empty name is taken as typed
    applyNewGame(t.ctx, three);

    EXPECT_TRUE(t.g.gameRunning);
    EXPECT_EQ(t.g.numberOfPlayers, 3);
    EXPECT_EQ(t.g.currentTurn, 1);
    EXPECT_FALSE(t.g.shotInProgress);
    EXPECT_EQ(t.g.playerName[2], "");
    for (int i = 0; i <= kMaxPlayers; ++i) {
        EXPECT_EQ(t.g.position[i], 0) << i;
        EXPECT_FALSE(t.g.isKiller[i] || t.g.dead[i] || t.g.losingTurn[i] || t.g.inGame[i]) << i;
    }
    for (int i = 4; i <= 5; ++i) {
        EXPECT_EQ(t.g.playerName[i], "Five " + std::to_string(i));
        EXPECT_EQ(t.g.friction[i], 97.5f);
        EXPECT_EQ(t.g.score[i], 300 + (i - 1) * 10);
        EXPECT_EQ(t.g.playerColor[i], Color(100 + i));
    }
    for (int i = 1; i <= kMaxPlayers; ++i) EXPECT_EQ(t.field.board.pieces[i].visible, i <= 3) << i;
}

// Every default colour stands out on the field and from the others.
TEST(NewGame, DefaultColoursAreDistinctAndShowOnTheField) {
    std::set<Color> seen;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        EXPECT_NE(defaultPlayerColor(i), rgb(0, 0, 0)) << i;
        seen.insert(defaultPlayerColor(i));
    }
    EXPECT_EQ(seen.size(), std::size_t(kMaxPlayers));
}

// A count outside 1 to 8 seats as many as it can: a solo game has one seat.
TEST(NewGame, SeatsFollowTheCountWithinOneToEight) {
    for (const auto& [asked, seated] : {std::pair{1, 1}, {0, 1}, {-3, 1}, {8, 8}, {9, 8}}) {
        NewGameSettings s;
        s.players = asked;
        EXPECT_EQ(newGameSetup(s).seats.size(), std::size_t(seated)) << asked;
    }
}

// The dialog opens on a game with the walls in play, every seat a person's.
TEST(NewGame, TheDialogOpensOnWallsInPlayAndPeopleInEverySeat) {
    NewGameSettings s;
    s.players = kMaxPlayers;
    const GameSetup setup = newGameSetup(s);
    EXPECT_EQ(setup.walls, std::optional<bool>(true));
    for (const SeatSetup& seat : setup.seats) EXPECT_EQ(seat.kind, PlayerKind::Human) << seat.name;
}
