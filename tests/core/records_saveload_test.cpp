// The Save Game and Load Game commands.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Scenario.h"
#include "records/SaveFileWriter.h"
#include "records/SaveLoadCommands.h"
#include "records/SavedGameState.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;

namespace {

// A running three-player game that a load must replace or leave alone.
void setUpOtherGame(Game& t) {
    t.g.numberOfPlayers = 3;
    t.g.currentTurn = 3;
    t.g.gameRunning = true;
    t.g.wallsOn = false;
    t.g.songNumber = 4;
    t.g.recreatePerGameTables();
    for (int i = 1; i <= kMaxPlayers; ++i) {
        t.g.playerName[i] = "Old " + std::to_string(i);
        t.g.score[i] = 1000 + i;
        t.g.friction[i] = 96.5f;
        t.g.playerColor[i] = Color(i);
        t.g.position[i] = i;
    }
    for (int j = 1; j <= 8; ++j) t.field.board.walls[j].visible = false;
    t.field.board.pieceHolder.width = 123;
}

// The file a save of this game writes.
std::string fileOf(const Game& t) { return formatSaveFile(gatherSavedGame(t.g, t.field.board)); }

}  // namespace

TEST(SaveGameCommand, WritesTheFileChosenUnderTheBusyPointer) {
    // Notes whether the busy pointer is up while the file is written.
    struct Platform : FakePlatform {
        int busyWhileWriting = -1;
        std::string writeFile(const std::string& path, std::string_view content) override {
            busyWhileWriting = busyDepth;
            return FakePlatform::writeFile(path, content);
        }
    } ui;
    Game t;
    setUpTwoPlayerKillerGame(t);
    GameContext ctx{t.g, t.field, ui};
    ui.saveAnswers = {"/games/two.CSG"};
    EXPECT_TRUE(saveGameCommand(ctx));
    ASSERT_EQ(ui.files.count("/games/two.CSG"), 1u);
    EXPECT_EQ(ui.files["/games/two.CSG"], fileOf(t));
    EXPECT_EQ(ui.busyWhileWriting, 1);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.messages.empty());
}

// Cancelled, or refused by the disk: nothing written, the reason told.
TEST(SaveGameCommand, CancelWritesNothingAndAFailedWriteIsTold) {
    for (bool cancel : {true, false}) {
        Game t;
        setUpTwoPlayerKillerGame(t);
        if (!cancel) t.ui.saveAnswers = {"/read-only/two.CSG"};
        t.ui.writeError = "Permission denied.";
        EXPECT_FALSE(saveGameCommand(t.ctx));
        EXPECT_TRUE(t.ui.files.empty());
        EXPECT_EQ(t.ui.busyDepth, 0);
        ASSERT_EQ(t.ui.messages.size(), cancel ? 0u : 1u);
        if (!cancel) {
            EXPECT_NE(t.ui.messages[0].find("/read-only/two.CSG"), std::string::npos);
            EXPECT_NE(t.ui.messages[0].find("Permission denied."), std::string::npos);
        }
    }
}

TEST(SaveGameCommand, WithNoGameWritesTheThreeHeadLines) {
    Game t;  // as the program starts: no game, 0 players, turn 0
    t.ui.saveAnswers = {"empty.CSG"};
    ASSERT_TRUE(saveGameCommand(t.ctx));
    const std::vector<std::string> lines = splitLines(t.ui.files["empty.CSG"]);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "0,\" = Number of players\"");
    EXPECT_EQ(lines[2], "0,\" = Current turn\"");
}

TEST(LoadGameCommand, RoundTripOfATwoPlayerGameWithAKiller) {
    Game saved;
    setUpTwoPlayerKillerGame(saved);
    saved.ui.saveAnswers = {"two.CSG"};
    ASSERT_TRUE(saveGameCommand(saved.ctx));

    Game t;
    setUpOtherGame(t);
    t.ui.files = saved.ui.files;
    t.ui.yesNoAnswers = {true};
    t.ui.openAnswers = {"two.CSG"};
    int busyDuringStart = -1;
    int turnDuringStart = -1;
    ASSERT_TRUE(loadGameCommand(t.ctx, "/program", [&] {
        busyDuringStart = t.ui.busyDepth;
        turnDuringStart = t.g.currentTurn;
    })) << (t.ui.messages.empty() ? "" : t.ui.messages[0]);
    EXPECT_EQ(busyDuringStart, 1);  // the caller's steps run before the pointer comes back
    EXPECT_EQ(turnDuringStart, 2);
    EXPECT_EQ(t.ui.busyDepth, 0);
    EXPECT_EQ(t.ui.questions, std::vector<std::string>{kLoadQuestion});
    EXPECT_TRUE(t.ui.messages.empty());

    const GameState& g = t.g;
    EXPECT_EQ(g.numberOfPlayers, 2);
    EXPECT_EQ(g.currentTurn, 2);
    EXPECT_TRUE(g.gameRunning);
    EXPECT_EQ(g.songNumber, 1);
    // Every value of the file comes back as the saved game had it, the
    // pieces' places in whole twips.
    EXPECT_EQ(gatherSavedGame(g, t.field.board), gatherSavedGame(saved.g, saved.field.board));
    EXPECT_EQ(t.field.board.pieces[1].left, 4600.0f);  // 4600.5: halves to even
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(t.field.board.pieces[i].fillColor, g.playerColor[i]) << i;
        EXPECT_TRUE(t.field.board.pieces[i].visible) << i;
    }

    // Not in the file: left as they were.
    EXPECT_FALSE(g.wallsOn);
    for (int j = 1; j <= 8; ++j) EXPECT_FALSE(t.field.board.walls[j].visible) << j;
    EXPECT_EQ(t.field.board.pieceHolder.width, 123.0f);
    EXPECT_EQ(t.field.board.pieceHolder.height, 2.5f * 300.0f);
    for (int i = 3; i <= kMaxPlayers; ++i) {
        EXPECT_FALSE(t.field.board.pieces[i].visible) << i;
        EXPECT_EQ(g.playerName[i], "Old " + std::to_string(i));
        EXPECT_EQ(g.score[i], 1000 + i);
        EXPECT_EQ(g.position[i], 0) << "per-game tables are new";
    }
}

// Answered "No" while a game runs (no file dialog), a broken file, a missing
// one: the game is left as it was.
TEST(LoadGameCommand, NoABrokenOrUnreadableFileLeavesTheGameAsItWas) {
    Game source;
    setUpTwoPlayerKillerGame(source);
    std::vector<std::string> lines = splitLines(fileOf(source));
    lines[28] = "99999,\" = Bob score\"";  // line 29
    const struct {
        bool yes;
        const char* file;
        const char* says;  // nothing: no message
    } rows[] = {
        {false, "broken.CSG", nullptr},
        {true, "broken.CSG", "Line 29: player 2's score is 99999"},
        {true, "missing.CSG", "cannot be read"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.says ? r.says : "no");
        Game t;
        setUpOtherGame(t);
        t.ui.files["broken.CSG"] = joinLines(lines);
        t.ui.yesNoAnswers = {r.yes};
        t.ui.openAnswers = {r.file};
        const std::uint64_t before = scenarios::stateDigest(t.ctx);
        bool started = false;
        EXPECT_FALSE(loadGameCommand(t.ctx, "/program", [&] { started = true; }));
        EXPECT_EQ(t.ui.questions, std::vector<std::string>{kLoadQuestion});
        EXPECT_EQ(t.ui.openAnswers.size(), r.yes ? 0u : 1u);
        EXPECT_FALSE(started);
        EXPECT_EQ(scenarios::stateDigest(t.ctx), before);
        EXPECT_EQ(t.ui.busyDepth, 0);
        ASSERT_EQ(t.ui.messages.size(), r.says ? 1u : 0u);
        if (r.says) {
            EXPECT_NE(t.ui.messages[0].find(r.file), std::string::npos) << t.ui.messages[0];
            EXPECT_NE(t.ui.messages[0].find(r.says), std::string::npos) << t.ui.messages[0];
        }
    }
}

TEST(LoadGameCommand, ThePointerComesBackWhenTheCallerFails) {
    Game saved;
    setUpTwoPlayerKillerGame(saved);
    Game t;
    t.ui.files["two.CSG"] = fileOf(saved);
    t.ui.openAnswers = {"two.CSG"};
    EXPECT_THROW(loadGameCommand(t.ctx, "/program", [] { throw std::runtime_error("window gone"); }),
                 std::runtime_error);
    EXPECT_EQ(t.ui.busyDepth, 0);
}

TEST(LoadGameCommand, APieceHolderFollowsTheSizeOfPieceOne) {
    Game saved;
    setUpTwoPlayerKillerGame(saved);
    saved.field.board.pieces[1].height = 250;
    Game t;
    t.ui.files["two.CSG"] = fileOf(saved);
    t.ui.openAnswers = {"two.CSG"};
    ASSERT_TRUE(loadGameCommand(t.ctx, "/program"));
    EXPECT_TRUE(t.ui.questions.empty());  // no game ran: nothing to ask
    EXPECT_EQ(t.field.board.pieceHolder.height, 625.0f);  // (2 + 0.5) x 250
    EXPECT_EQ(t.field.board.pieceHolder.width, 450.0f);   // as laid out
    EXPECT_TRUE(t.g.wallsOn);                             // as the program starts
}
