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
        EXPECT_EQ(b.pieceHolder.width, 450.0f) << r.players;  // 1.5 pieces
        EXPECT_EQ(b.pieceHolder.height, r.holderHeight) << r.players;
        for (int i = 1; i <= r.players; ++i) {
            EXPECT_EQ(b.pieces[i].left, 10245.0f + 75.0f) << i;
            EXPECT_EQ(b.pieces[i].top, 45.0f + 75.0f + float(r.players - i) * 300.0f) << i;
            EXPECT_TRUE(b.pieces[i].visible) << i;
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
        EXPECT_EQ(t.g.friction[i], frictions[i - 1]) << i;
        EXPECT_EQ(t.g.score[i], scores[i - 1]) << i;
        EXPECT_EQ(t.g.playerName[i], "Player " + std::to_string(i));
        EXPECT_EQ(t.g.playerColor[i], defaultPlayerColor(i));
    }
}

TEST(NewGame, WallsOffHidesTheInnerWallsOnly) {
    for (bool walls : {false, true}) {
        Game t;
        for (int j = 1; j <= kWallCount; ++j) t.field.board.walls[j].visible = !walls;
        NewGameSettings s;
        s.walls = walls;
        applyNewGame(t.ctx, s);
        EXPECT_EQ(t.g.wallsOn, walls);
        for (int j = 1; j <= 8; ++j) EXPECT_EQ(t.field.board.walls[j].visible, walls) << j;
        for (int j = 9; j <= 10; ++j) EXPECT_EQ(t.field.board.walls[j].visible, !walls) << "untouched " << j;
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
    t.g.position[2] = 14;
    t.g.isKiller[1] = t.g.dead[3] = t.g.losingTurn[2] = true;
    t.g.shotInProgress = true;
    t.g.currentTurn = 4;
    t.g.songNumber = 3;

    NewGameSettings three;
    three.players = 3;
    three.names[2] = "";  // an empty name is taken as typed
    applyNewGame(t.ctx, three);

    EXPECT_TRUE(t.g.gameRunning);
    EXPECT_EQ(t.g.numberOfPlayers, 3);
    EXPECT_EQ(t.g.currentTurn, 1);
    EXPECT_FALSE(t.g.shotInProgress);
    EXPECT_EQ(t.g.songNumber, 1);
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
