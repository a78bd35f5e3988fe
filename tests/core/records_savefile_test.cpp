// The ".CSG" text: exact bytes written, what the reader accepts and refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "records/SaveFileReader.h"
#include "records/SaveFileWriter.h"
#include "records/SavedGameState.h"
#include "DataRows.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;

namespace {

SavedGame oneAnn() {
    return {1, {{.name = "Ann", .inGame = true, .friction = 98.0f, .score = 200, .color = 16777215, .left = 1430,
                 .top = 8270, .position = 3}}};
}

// The game a file reads as; a refused file fails the test and reads as no players.
SavedGame readBack(const std::string& text) {
    const SaveFileParse p = parseSaveFile(text);
    EXPECT_TRUE(p) << describeSaveFileError(p.error);
    return p ? *p.game : SavedGame{};
}

std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// valid_one_player.CSG is this game byte for byte (CR LF line ends); reals in their shortest form, never "-0".
TEST(SaveFileFormat, OnePlayerGameByteForByte) {
    EXPECT_EQ(formatSaveFile(oneAnn()), readBytes(std::filesystem::path(CAPZEL_TEST_DATA) / "saves/valid_one_player.CSG"));
    EXPECT_EQ(formatReal(-0.0f) + " " + formatReal(98.1f) + " " + formatReal(98.375f), "0 98.1 98.375");
}

TEST(SaveFileFormat, GatherRoundsHalvesToEvenAndHoldsValuesInRange) {
    Game g;
    setUpTwoPlayerKillerGame(g);
    Box& a = g.piece(1);
    a.height = 300.5f, a.width = 301.5f, a.left = -0.5f, a.top = 25000.0f;  // the top beyond the coordinate limit
    g.seats[1].score = 70000, g.seats[2].score = -70000;  // kept whole: the writer holds the score line to 16 bits
    g.seats[2].friction = 150.0f, g.seats[2].position = 99999, g.seats[2].color = 0xFFFFFFFFu;
    g.currentTurn = 3;  // beyond the players: the turn start would give 1
    const SavedGame s = gatherSavedGame(g);
    const SavedPlayer &p1 = s.players[0], &p2 = s.players[1];
    EXPECT_EQ(std::tuple(p1.height, p1.width, p1.left, p1.top, p1.score), std::tuple(300, 302, 0, 20000, 70000));
    EXPECT_EQ(std::tuple(p2.score, p2.friction, p2.position, p2.color), std::tuple(-70000, 100.0f, 32767, 16777215u));
    EXPECT_EQ(s.currentTurn, 1);
    EXPECT_EQ(readBack(formatSaveFile(s)), s);  // whatever was held in range loads again as written
    g.numberOfPlayers = 1;  // so in a game of one
    EXPECT_EQ(gatherSavedGame(g).currentTurn, 1);
}

// A double quote becomes an apostrophe, a line end blanks; a name not UTF-8 is read as Windows-1252.
TEST(SaveFileFormat, NamesAsWrittenAndReadBack) {
    const std::pair<std::string, std::string> rows[] = {
        {"Ann \"the Hammer\"\r\nX", "Ann 'the Hammer'  X"}, {"Ann, Bob", "Ann, Bob"},
        {"Jos\xE9 M\xFCller", "Jos\xC3\xA9 M\xC3\xBCller"}, {"Zo\xC3\xAB", "Zo\xC3\xAB"}};
    for (const auto& [written, read] : rows) {
        SavedGame s = oneAnn();
        s.players[0].name = written;
        ASSERT_EQ(splitLines(formatSaveFile(s)).size(), 19u);
        EXPECT_EQ(readBack(formatSaveFile(s)).players.at(0).name, read);
    }
    SavedGame s = oneAnn();
    s.players[0].name = rows[0].first;
    std::vector<std::string> lines = splitLines(formatSaveFile(s));
    EXPECT_EQ(lines[3] + "|" + lines[4], "\"Ann 'the Hammer'  X\",\" = Player 1 name\"|#FALSE#,\" = Ann 'the Hammer'  X dead\"");
    // A control character typed into the file by hand is read as a blank, as the writer would store it.
    lines[3] = "\"A\tnn\x01\",\"\"";
    EXPECT_EQ(readBack(joinLines(lines)).players.at(0).name, "A nn ");
}

TEST(SaveFileReader, AcceptsWhatPeopleAndEditorsDoToTheFile) {
    const std::string base = formatSaveFile(oneAnn());
    std::string lf = base;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    std::vector<std::string> edited = splitLines(base);
    edited[4] = "  #false# ,  \"anything at all\" ";  // blanks, lower case, another label
    edited[12] = "+200,\" = score\"";
    edited[18] = "3,\"unquoted position\"";
    // LF line ends, no final line end, blank lines at the end, a byte-order mark, hand edits.
    for (const std::string& text : {lf, base.substr(0, base.size() - 2), base + "\r\n  \r\n", "\xEF\xBB\xBF" + base, joinLines(edited)})
        EXPECT_EQ(readBack(text), oneAnn()) << text;
}

// Each record of save_refusals.jsonl edits a valid file into one refused.
TEST(SaveFileReader, RefusesFilesThatDoNotFollowTheFormat) {
    Game g;
    setUpTwoPlayerKillerGame(g);
    const std::vector<std::string> good = splitLines(formatSaveFile(gatherSavedGame(g)));
    ASSERT_EQ(good.size(), 35u);
    for (const nlohmann::json& r : dataRows("save_refusals.jsonl")) {
        const std::string name = r.at("name");
        std::vector<std::string> lines = good;
        for (const nlohmann::json& e : r.at("edits")) {
            if (e[0] == "first") lines.resize(e[1].get<std::size_t>());
            else if (e[0] == "add") lines.push_back(e[1]);
            else lines.at(e[0].get<std::size_t>() - 1) = e[1];
        }
        const SaveFileParse p = parseSaveFile(joinLines(lines));
        EXPECT_FALSE(p) << name;
        EXPECT_EQ(p.error.line, r.at("line").get<int>()) << name << ": " << p.error.what;
        EXPECT_NE(p.error.what.find(r.at("says").get<std::string>()), std::string::npos) << name << ": " << p.error.what;
        EXPECT_LT(p.error.what.size(), 120u) << name << ": " << p.error.what;
    }
    const SaveFileParse huge = parseSaveFile(std::string(kMaxSaveFileBytes + 1, ' '));
    EXPECT_EQ(huge.error.line, 0);
    EXPECT_NE(huge.error.what.find("too large"), std::string::npos);
}

// The largest file the game can write loads again; a longer name is cut.
TEST(SaveFileReader, TheLargestGameLoadsAgain) {
    std::string wide;
    for (std::size_t k = 0; k < saveLimits::kMaxNameLength; ++k) wide += "\xF0\x9F\x98\x80";  // U+1F600
    SavedGame s;
    s.currentTurn = 8;
    for (int i = 0; i < saveLimits::kMaxPlayers; ++i) {
        SavedPlayer& p = s.players.emplace_back();
        p.name = wide;
        p.friction = 1.17549435e-38f;  // the longest shortest form within 0 to 100
        p.score = -32768, p.color = saveLimits::kMaxColor, p.position = saveLimits::kMaxPosition;
        p.height = p.width = std::int16_t(saveLimits::kMaxPieceSize);
        p.left = p.top = std::int16_t(-saveLimits::kCoordinateLimit);
    }
    EXPECT_LE(formatSaveFile(s).size(), kMaxSaveFileBytes);
    SavedGame bounds = s;
    bounds.players[0].friction = saveLimits::kMinFriction;  // a piece keeps none of its speed, and all of it
    bounds.players[1].friction = saveLimits::kMaxFriction;
    for (const SavedGame& game : {s, bounds}) EXPECT_EQ(readBack(formatSaveFile(game)), game);
    s.players[7].name = wide + "x";
    EXPECT_EQ(readBack(formatSaveFile(s)).players.at(7).name, wide);
}

// Blocks after the players' lines: who plays each seat, when a computer does; whole scores, when one
// goes beyond 16 bits (the score lines hold it held). Without them the file is as it always was.
TEST(SaveFileBlocks, FollowThePlayersLinesOnlyWhenNeeded) {
    SavedGame two = oneAnn();
    two.players.push_back(two.players[0]);
    two.players[1].name = "Bob";
    two.players[0].score = 32767;
    two.players[1].score = -32768;
    const std::string classic = formatSaveFile(two);
    EXPECT_EQ(splitLines(classic).size(), 35u);
    EXPECT_EQ(splitLines(classic)[12] + "|" + splitLines(classic)[28], "32767,\" = Ann score\"|-32768,\" = Bob score\"");
    const std::string seats = "\"Who plays each seat: Human, or the computer at Novice, Club or Expert level.\"\r\n"
                              "\"Human\",\" = Ann seat\"\r\n\"Club\",\" = Bob seat\"\r\n";
    const std::string scores = "\"The players' scores in full, where one goes beyond -32768 to 32767.\"\r\n"
                               "100000,\" = Ann whole score\"\r\n-40000,\" = Bob whole score\"\r\n";
    SavedGame game = two;
    game.players[1].kind = PlayerKind::Club;
    game.players[0].score = 100000, game.players[1].score = -40000;
    for (const auto& [kinds, wholeScores, after] : {std::tuple{true, false, seats}, {false, true, scores}, {true, true, seats + scores}}) {
        SavedGame g = two;
        if (kinds) g.players[1].kind = game.players[1].kind;
        if (wholeScores) g.players[0].score = game.players[0].score, g.players[1].score = game.players[1].score;
        const std::string text = formatSaveFile(g);
        ASSERT_EQ(text.compare(0, classic.size(), classic), 0) << after;
        EXPECT_EQ(text.substr(classic.size()), after);
        Game loaded;
        applySavedGame(loaded, readBack(text));
        EXPECT_EQ(gatherSavedGame(loaded), g);
    }
    // Every level reads back; only a Strong seat brings the head line naming it, so older files keep their bytes.
    for (PlayerKind k : kPlayerKinds) {
        SavedGame g = two;
        g.players[0].kind = k;
        const std::string text = formatSaveFile(g);
        EXPECT_EQ(readBack(text), g);
        EXPECT_EQ(text.find("Club, Strong or Expert level.") != std::string::npos, k == PlayerKind::Strong);
    }
    EXPECT_EQ(readBack(classic), two);

    // The blocks in the other order read the same; whole scores agreeing with the score lines are taken within 16 bits.
    const std::vector<std::string> both = splitLines(formatSaveFile(game));
    ASSERT_EQ(both.size(), 41u);
    std::vector<std::string> swapped(both.begin(), both.begin() + 35);
    swapped.insert(swapped.end(), both.begin() + 38, both.end());
    swapped.insert(swapped.end(), both.begin() + 35, both.begin() + 38);
    EXPECT_EQ(readBack(joinLines(swapped)), game);
    std::vector<std::string> within = splitLines(classic);
    within.insert(within.end(), both.begin() + 38, both.end());
    within[36] = "32767,\"\"";
    within[37] = "-32768,\"\"";
    EXPECT_EQ(readBack(joinLines(within)).players.at(1).score, -32768);
}
