// "Play" of the new-game dialog on the state and the field.
#include <gtest/gtest.h>

#include "records/NewGame.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;

TEST(NewGame, HolderAndPiecesForOneAndEightPlayers) {
    const struct {
        int players;
        float holderHeight;
    } rows[] = {{1, 450.0f}, {8, 2550.0f}};
    for (const auto& r : rows) {
        Game t;
        NewGameSettings s;
        s.players = r.players;
        applyNewGame(t.ctx, s);
        const Board& b = t.field.board;
        EXPECT_EQ(b.PieceHolder.Width, 450.0f) << r.players;  // 1.5 pieces
        EXPECT_EQ(b.PieceHolder.Height, r.holderHeight) << r.players;
        for (int i = 1; i <= r.players; ++i) {
            EXPECT_EQ(b.Player[i].Left, 10245.0f + 75.0f) << i;
            EXPECT_EQ(b.Player[i].Top, 45.0f + 75.0f + float(r.players - i) * 300.0f) << i;
            EXPECT_TRUE(b.Player[i].Visible) << i;
        }
    }
}

TEST(NewGame, FrictionsAndStartingScores) {
    Game t;
    NewGameSettings s;
    s.players = 8;
    const FrictionLevel levels[] = {FrictionLevel::VeryLow, FrictionLevel::Low, FrictionLevel::Normal,
                                    FrictionLevel::High, FrictionLevel::VeryHigh};
    for (int i = 1; i <= 5; ++i) s.friction[std::size_t(i)] = levels[i - 1];
    applyNewGame(t.ctx, s);
    const float frictions[] = {98.375f, 98.25f, 98.0f, 97.5f, 96.5f, 98.0f, 98.0f, 98.0f};
    const int scores[] = {0, 110, 220, 330, 440, 250, 260, 270};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(t.g.Friction[i], frictions[i - 1]) << i;
        EXPECT_EQ(t.g.Score[i], scores[i - 1]) << i;
        EXPECT_EQ(t.g.PlayerName[i], "Player " + std::to_string(i));
        EXPECT_EQ(t.g.PlayerColor[i], defaultPlayerColor(i));
    }
}

TEST(NewGame, WallsOffHidesTheInnerWallsOnly) {
    for (bool walls : {false, true}) {
        Game t;
        for (int j = 1; j <= kWallCount; ++j) t.field.board.Wall[j].Visible = !walls;
        NewGameSettings s;
        s.walls = walls;
        applyNewGame(t.ctx, s);
        EXPECT_EQ(t.g.WallsOn, walls);
        for (int j = 1; j <= 8; ++j) EXPECT_EQ(t.field.board.Wall[j].Visible, walls) << j;
        for (int j = 9; j <= 10; ++j) EXPECT_EQ(t.field.board.Wall[j].Visible, !walls) << "untouched " << j;
    }
}

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
    t.g.Position[2] = 14;
    t.g.IsKiller[1] = t.g.Dead[3] = t.g.LosingTurn[2] = true;
    t.g.ShotInProgress = true;
    t.g.CurrentTurn = 4;
    t.g.SongNumber = 3;

    NewGameSettings three;
    three.players = 3;
    three.names[2] = "";  // an empty name is taken as typed
    applyNewGame(t.ctx, three);

    EXPECT_TRUE(t.g.GameRunning);
    EXPECT_EQ(t.g.NumberOfPlayers, 3);
    EXPECT_EQ(t.g.CurrentTurn, 1);
    EXPECT_FALSE(t.g.ShotInProgress);
    EXPECT_EQ(t.g.SongNumber, 1);
    EXPECT_EQ(t.g.PlayerName[2], "");
    for (int i = 0; i <= kMaxPlayers; ++i) {
        EXPECT_EQ(t.g.Position[i], 0) << i;
        EXPECT_FALSE(t.g.IsKiller[i] || t.g.Dead[i] || t.g.LosingTurn[i] || t.g.InGame[i]) << i;
    }
    for (int i = 4; i <= 5; ++i) {
        EXPECT_EQ(t.g.PlayerName[i], "Five " + std::to_string(i));
        EXPECT_EQ(t.g.Friction[i], 97.5f);
        EXPECT_EQ(t.g.Score[i], 300 + (i - 1) * 10);
        EXPECT_EQ(t.g.PlayerColor[i], Color(100 + i));
    }
    for (int i = 1; i <= kMaxPlayers; ++i) EXPECT_EQ(t.field.board.Player[i].Visible, i <= 3) << i;
}
