// Games as text: pinned hashes, values JSON has no number for, hostile texts refused by field.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "DataRows.h"
#include "records_fixtures.h"
#include "Scenario.h"
#include "engine/Shot.h"
#include "platform/SilentPlatform.h"
#include "records/GameText.h"
#include "records/NewGame.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"

namespace capzel {
namespace {

bool roundTrips(const Game& g) {
    const std::optional<Game> back = readGameText(writeGameText(g), nullptr);
    return back && *back == g && back->hash() == g.hash();
}

// Games whose hashes state_hashes.txt pins, and whose digests of everything they hold are pinned here.
std::map<std::string, Game> pinnedGames() {
    std::map<std::string, Game> out;
    SilentPlatform ui;
    for (int players : {8, 3}) {
        Game g;
        applyNewGame(g, scenarios::pinnedNewGame(players));
        GameContext ctx{g, ui};
        startTurn(ctx, 1);
        out[players == 8 ? "new-game-8" : "new-game-3-walls"] = g;
    }
    // Played and judged as the corpus was first recorded: aim line on the board, whole shot, then the rules.
    const scenarios::Scenario s = scenarios::pinnedBreak();
    Game g;
    scenarios::setUp(g, s);
    g.board.pointer = {s.pointer[0], s.pointer[1], s.pointer[2], s.pointer[3]};
    GameContext ctx{g, ui};
    if (!shootPiece(ctx, std::int16_t(s.power)).unfinished) judgeFinishedShot(ctx);
    out["killer-break-8"] = g;
    return out;
}

TEST(GameText, HashesMatchThePinnedValues) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/state_hashes.txt");
    ASSERT_TRUE(in);
    const std::map<std::string, Game> games = pinnedGames();
    const std::map<std::string, std::uint64_t> digests = {
        {"new-game-8", 0x8c58f3f6a926d2b1ull}, {"new-game-3-walls", 0x2c0914a4844608bbull}, {"killer-break-8", 0x73ee48a9efaa12f0ull}};
    int pinned = 0;
    for (std::string line, name; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::uint64_t expected = 0;
        std::istringstream(line) >> name >> std::hex >> expected;
        ASSERT_TRUE(games.count(name)) << name;
        const Game& g = games.at(name);
        EXPECT_EQ(g.hash(), expected) << name << ": " << std::hex << g.hash();
        EXPECT_EQ(scenarios::stateDigest(g), digests.at(name)) << name << ": " << std::hex << scenarios::stateDigest(g);
        ++pinned;
    }
    EXPECT_EQ(pinned, 3);
}

// Reals JSON has no number for, signed zeros and extremes come back to the bit
// (the field's height only finite: the reader refuses others); so does every seat's level, each hashing apart.
TEST(GameText, EveryValueComesBackToTheBit) {
    const float fs[] = {-0.0f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                        std::bit_cast<float>(0xffc01234u), 0.1f};
    const double ds[] = {-0.0, std::numeric_limits<double>::infinity(), std::bit_cast<double>(0x7ff0000000000abcull),
                         std::numeric_limits<double>::denorm_min(), 0.1};
    const Game base = pinnedGames().at("new-game-3-walls");
    for (float f : fs) {
        Game g = base;
        g.velocityX[2] = g.piece(3).top = g.board.pointer.y2 = f;
        if (std::isfinite(f)) g.board.scaleHeight = f;
        EXPECT_TRUE(roundTrips(g)) << std::bit_cast<std::uint32_t>(f);
        EXPECT_FALSE(g == base);
    }
    for (double d : ds) {
        Game g = base;
        g.oy = d;
        EXPECT_TRUE(roundTrips(g)) << std::bit_cast<std::uint64_t>(d);
        EXPECT_FALSE(g == base);
    }
    std::set<std::uint64_t> hashes;
    for (PlayerKind k : kPlayerKinds) {
        Game g = base;
        g.seats[1].kind = k;
        EXPECT_TRUE(roundTrips(g)) << playerKindName(k);
        hashes.insert(g.hash());
    }
    EXPECT_EQ(hashes.size(), std::size(kPlayerKinds));
}

// Each row of snapshot_refusals.jsonl edits a valid game's text; the reader refuses it naming the field.
TEST(GameText, ReaderRefusesHostileTextsNamingTheField) {
    using nlohmann::json;
    const std::string valid = writeGameText(pinnedGames().at("new-game-3-walls"));
    for (const json& row : test::dataRows("snapshot_refusals.jsonl")) {
        std::string error;
        EXPECT_FALSE(readGameText(test::editedAt(valid, row), &error)) << row;
        EXPECT_EQ(error.rfind(row.at("names").get<std::string>(), 0), 0u) << row << ": " << error;
    }
    const std::pair<std::string, const char*> texts[] = {
        {"{", "not JSON"}, {"[1]", "not a JSON object"}, {valid + std::string(kMaxGameTextBytes, ' '), "bytes"},
        {std::string(30000, '[') + std::string(30000, ']'), "not a JSON object"},
        {writeGameText(Game{}), "players: has 0 entries, not 1 to 8"},
        {std::regex_replace(valid, std::regex("(\"contactOffsetY\":)[^,}]*"), "$011e999"), "not JSON"}};
    for (const auto& [text, named] : texts) {
        std::string error;
        EXPECT_FALSE(readGameText(text, &error));
        EXPECT_NE(error.find(named), std::string::npos) << named << ": " << error;
    }
    std::string error;
    json longest = json::parse(valid);
    longest["players"][0]["name"] = [] { std::string s; for (int k = 0; k < 40; ++k) s += "\xc3\xa9"; return s; }();
    EXPECT_TRUE(readGameText(longest.dump(), &error)) << error;  // 40 characters in 80 bytes
    EXPECT_TRUE(readGameText(valid + std::string(kMaxGameTextBytes - valid.size(), ' '), &error)) << error;
}

}  // namespace
}  // namespace capzel
