// "Play" over a game already played: what a new game resets and keeps.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "records/NewGame.h"

using namespace capzel;

TEST(NewGame, ThreePlayersAfterFiveKeepTheOldEntriesBeyondThree) {
    Game g;
    NewGameSettings five;
    five.players = 5;
    for (std::size_t i = 1; i <= 5; ++i)
        five.names[i] = "Five " + std::to_string(i), five.friction[i] = FrictionLevel::High, five.colors[i] = Color(100 + i);
    applyNewGame(g, five);
    g.seats[2].position = 14;  // the first game runs for a while
    g.seats[1].isKiller = g.seats[3].dead = g.seats[2].losingTurn = true;
    g.shotInProgress = true, g.currentTurn = 4;

    NewGameSettings three;
    three.players = 3;
    three.names[2] = "";  // an empty name is taken as typed
    applyNewGame(g, three);

    EXPECT_EQ(std::tuple(g.gameRunning, g.numberOfPlayers, g.currentTurn, g.shotInProgress), std::tuple(true, 3, 1, false));
    EXPECT_EQ(g.seats[2].name, "");
    for (const Seat& s : g.seats) EXPECT_FALSE(s.position || s.isKiller || s.dead || s.losingTurn || s.inGame) << s.name;
    for (int i = 4; i <= 5; ++i)
        EXPECT_EQ(std::tuple(g.seats[i].name, g.seats[i].friction, g.seats[i].score, g.seats[i].color),
                  std::tuple("Five " + std::to_string(i), 97.5f, 300 + (i - 1) * 10, Color(100 + i)));
    for (int i = 1; i <= kMaxPlayers; ++i) EXPECT_EQ(g.piece(i).visible, i <= 3) << i;
}

// The dialog as it opens: walls in play, every seat a person's, each default colour apart from the field
// and the others; a count outside 1 to 8 seats as many as it can (a solo game has one seat).
TEST(NewGame, TheDialogsDefaultsAndSeatCounts) {
    for (const auto& [asked, seated] : {std::pair{1, 1}, {0, 1}, {-3, 1}, {8, 8}, {9, 8}}) {
        NewGameSettings s;
        s.players = asked;
        const GameSetup setup = newGameSetup(s);
        ASSERT_EQ(setup.seats.size(), std::size_t(seated)) << asked;
        EXPECT_EQ(setup.walls, std::optional<bool>(true));
        std::set<Color> colours;
        for (const SeatSetup& seat : setup.seats) {
            EXPECT_EQ(seat.kind, PlayerKind::Human) << seat.name;
            EXPECT_NE(seat.color, std::optional<Color>(rgb(0, 0, 0))) << seat.name;
            colours.insert(seat.color.value_or(0));
        }
        EXPECT_EQ(colours.size(), std::size_t(seated)) << asked;
    }
}
