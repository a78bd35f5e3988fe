// The Save Game and Load Game commands.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <tuple>

#include "Scenario.h"
#include "records/SaveFileWriter.h"
#include "records/SaveLoadCommands.h"
#include "records/SavedGameState.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;

namespace {

// A running three-player game that a load must replace or leave alone.
void setUpOtherGame(GameFixture& t) {
    t.g.numberOfPlayers = t.g.currentTurn = 3;
    t.g.gameRunning = true;
    t.g.wallsOn = false;
    t.g.recreatePerGameTables();
    for (int i = 1; i <= kMaxPlayers; ++i)
        t.g.seats[i] = {.name = "Old " + std::to_string(i), .score = 1000 + i, .color = Color(i), .friction = 96.5f, .position = i};
    for (int j = 1; j <= 8; ++j) t.g.board.walls[j].visible = false;
    t.g.board.pieceHolder.width = 123;
}

// The file a save of this game writes.
std::string fileOf(const Game& g) { return formatSaveFile(gatherSavedGame(g)); }

}  // namespace

// The chosen file is written whole under the busy pointer, silently; Cancel writes nothing; a write
// refused is told with the file's name and the reason; with no game (as the program starts) the head lines.
TEST(SaveGameCommand, WritesTheChosenFileOrTellsWhyNot) {
    struct Platform : FakePlatform {
        int busyWhileWriting = -1;
        std::string writeFile(const std::string& path, std::string_view content) override {
            busyWhileWriting = busyDepth;
            return FakePlatform::writeFile(path, content);
        }
    };
    const std::tuple<bool, std::string, std::string> rows[] = {{true, "/games/two.CSG", ""}, {true, "", "Permission denied."},
        {true, "/read-only/two.CSG", "Permission denied."}, {false, "empty.CSG", ""}};
    for (const auto& [game, chosen, refusal] : rows) {
        SCOPED_TRACE(chosen);
        Game g;
        if (game) setUpTwoPlayerKillerGame(g);
        Platform ui;
        GameContext ctx{g, ui};
        if (!chosen.empty()) ui.saveAnswers = {chosen};
        ui.writeError = refusal;
        const bool written = !chosen.empty() && refusal.empty(), told = !chosen.empty() && !refusal.empty();
        EXPECT_EQ(saveGameCommand(ctx), written);
        EXPECT_EQ(ui.busyDepth, 0);
        EXPECT_EQ(ui.busyWhileWriting, chosen.empty() ? -1 : 1);
        const std::vector<std::string> lines = splitLines(fileOf(g));
        const std::string expected = !game ? joinLines({lines.at(0), "0,\" = Number of players\"", "0,\" = Current turn\""}) : joinLines(lines);
        using Files = decltype(ui.files);
        EXPECT_EQ(ui.files, (written ? Files{{chosen, expected}} : Files{}));
        ASSERT_EQ(ui.messages.size(), told ? 1u : 0u);
        if (told) { EXPECT_NE(ui.messages[0].find(chosen + "\r\n\r\n" + refusal), std::string::npos) << ui.messages[0]; }
    }
}

TEST(LoadGameCommand, RoundTripOfATwoPlayerGameWithAKiller) {
    GameFixture saved;
    setUpTwoPlayerKillerGame(saved.g);
    saved.ui.saveAnswers = {"two.CSG"};
    ASSERT_TRUE(saveGameCommand(saved.ctx));

    GameFixture t;
    setUpOtherGame(t);
    t.ui.files = saved.ui.files;
    t.ui.yesNoAnswers = {true};
    t.ui.openAnswers = {"two.CSG"};
    int busyDuringStart = -1, turnDuringStart = -1;
    ASSERT_TRUE(loadGameCommand(t.ctx, "/program", [&](const SavedGame& game) {
        busyDuringStart = t.ui.busyDepth;
        applySavedGame(t.g, game);
        turnDuringStart = t.g.currentTurn;
    })) << (t.ui.messages.empty() ? "" : t.ui.messages[0]);
    EXPECT_EQ(std::tuple(busyDuringStart, turnDuringStart, t.ui.busyDepth), std::tuple(1, 2, 0));  // the caller's steps under the pointer
    EXPECT_EQ(t.ui.questions, std::vector<std::string>{kLoadQuestion});
    EXPECT_TRUE(t.ui.messages.empty());

    const Game& g = t.g;
    // Every value of the file comes back, the pieces' places in whole twips; walls, not in the file, stay off.
    EXPECT_EQ(gatherSavedGame(g), gatherSavedGame(saved.g));
    EXPECT_EQ(std::tuple(g.piece(1).left, g.gameRunning, g.wallsOn), std::tuple(4600.0f, true, false));  // 4600.5: halves to even
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(std::tuple(g.piece(i).fillColor, g.piece(i).visible), std::tuple(g.seats[i].color, true)) << i;
    // Not in the file: left as they were (the per-game tables are new).
    for (int j = 1; j <= 8; ++j) EXPECT_FALSE(g.board.walls[j].visible) << j;
    EXPECT_EQ(std::pair(g.board.pieceHolder.width, g.board.pieceHolder.height), std::pair(123.0f, 2.5f * 300.0f));
    for (int i = 3; i <= kMaxPlayers; ++i)
        EXPECT_EQ(std::tuple(g.piece(i).visible, g.seats[i].name, g.seats[i].score, g.seats[i].position),
                  std::tuple(false, "Old " + std::to_string(i), 1000 + i, 0)) << i;
}

// Answered "No" while a game runs (no file dialog), a broken file, a missing one: the game is left as it was.
TEST(LoadGameCommand, NoABrokenOrUnreadableFileLeavesTheGameAsItWas) {
    Game source;
    setUpTwoPlayerKillerGame(source);
    std::vector<std::string> lines = splitLines(fileOf(source));
    lines[28] = "99999,\" = Bob score\"";  // line 29
    const struct { bool yes; const char* file; const char* says; } rows[] = {  // says nothing: no message
        {false, "broken.CSG", nullptr}, {true, "broken.CSG", "Line 29: player 2's score is 99999"},
        {true, "missing.CSG", "The file cannot be read"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.says ? r.says : "no");
        GameFixture t;
        setUpOtherGame(t);
        t.ui.files["broken.CSG"] = joinLines(lines);
        t.ui.yesNoAnswers = {r.yes};
        t.ui.openAnswers = {r.file};
        const std::uint64_t before = scenarios::stateDigest(t.g);
        bool started = false;
        EXPECT_FALSE(loadGameCommand(t.ctx, "/program", [&](const SavedGame&) { started = true; }));
        EXPECT_EQ(t.ui.questions, std::vector<std::string>{kLoadQuestion});
        EXPECT_EQ(t.ui.openAnswers.size(), r.yes ? 0u : 1u);
        EXPECT_FALSE(started);
        EXPECT_EQ(scenarios::stateDigest(t.g), before);
        EXPECT_EQ(t.ui.busyDepth, 0);
        ASSERT_EQ(t.ui.messages.size(), r.says ? 1u : 0u);
        if (r.says) { EXPECT_NE(t.ui.messages[0].find(r.file + std::string("\r\n\r\n") + r.says), std::string::npos) << t.ui.messages[0]; }
    }
}

// With no game running nothing is asked; the holder follows piece one's size; a caller that fails gets the pointer back.
TEST(LoadGameCommand, APieceHolderFollowsPieceOneAndThePointerComesBack) {
    Game saved;
    setUpTwoPlayerKillerGame(saved);
    saved.piece(1).height = 250;
    GameFixture t;
    t.ui.files["two.CSG"] = fileOf(saved);
    t.ui.openAnswers = {"two.CSG", "two.CSG"};
    ASSERT_TRUE(loadGameCommand(t.ctx, "/program"));
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_EQ(t.g.board.pieceHolder.height, 625.0f);  // (2 + 0.5) x 250
    EXPECT_EQ(t.g.board.pieceHolder.width, 450.0f);   // as laid out
    EXPECT_TRUE(t.g.wallsOn);                         // as the program starts
    t.ui.yesNoAnswers = {true};
    EXPECT_THROW(loadGameCommand(t.ctx, "/program", [](const SavedGame&) { throw std::runtime_error("window gone"); }),
                 std::runtime_error);
    EXPECT_EQ(t.ui.busyDepth, 0);
}
