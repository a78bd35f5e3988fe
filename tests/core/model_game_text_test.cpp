// Game snapshots: every recorded shot survives text, restore and replay to
// the bit; pinned hashes; hostile snapshot texts are refused by field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <regex>
#include <sstream>

#include "DataRows.h"
#include "Scenario.h"
#include "controls/Announcing.h"
#include "records/NewGame.h"
#include "records/SnapshotText.h"
#include "rules/ShotJudging.h"
#include "rules/TurnStart.h"
#include "support/FakePlatform.h"

namespace capzel {
namespace {

struct Game : test::Game {
    GameSnapshot snapshot() const { return captureSnapshot(g, field); }
    void playAndJudge() {
        if (!shootPiece(ctx).unfinished) tellPlayers(ui, judgeFinishedShot(ctx));
    }
};

// Written out and read back: the same snapshot, the same hash.
::testing::AssertionResult roundTrips(const GameSnapshot& s) {
    std::string error;
    const std::optional<GameSnapshot> back = readSnapshot(writeSnapshot(s), &error);
    if (!back) return ::testing::AssertionFailure() << "refused: " << error;
    if (!(*back == s) || stateHash(*back) != stateHash(s)) return ::testing::AssertionFailure() << "differs";
    return ::testing::AssertionSuccess();
}

// For every recorded shot, before it and after it is judged: the text gives
// the snapshot back, applying and capturing again changes nothing, and the
// snapshot put onto the game the previous record left plays on to the same end.
TEST(GameSnapshot, EveryRecordedShotSurvivesTextRestoreAndReplay) {
    int records = 0, failures = 0;
    Game restored;  // carries the previous record's end into the next restore
    for (const nlohmann::json& record : test::dataRows("scenarios.jsonl")) {
        if (failures >= 5) break;
        const std::string name = record.at("name");
        Game played;
        scenarios::setUp(played.ctx, scenarios::scenarioFromJson(record.at("in")));
        const GameSnapshot before = played.snapshot();
        played.playAndJudge();
        const GameSnapshot after = played.snapshot();
        ++records;

        const std::optional<GameSnapshot> text = readSnapshot(writeSnapshot(before), nullptr);
        applySnapshot(text.value_or(GameSnapshot{}), restored.g, restored.field);
        const bool identity = restored.snapshot() == before;
        restored.playAndJudge();
        bool ok = roundTrips(before) && roundTrips(after) && identity &&
                        stateHash(restored.snapshot()) == stateHash(after);
        for (std::size_t k = before.players.size() + 1; k <= kMaxPlayers; ++k)
            ok = ok && !restored.field.board.pieces[k].visible && restored.field.velocityX[k] == 0 && !restored.g.seats[k].inGame;
        if (!ok) ADD_FAILURE() << name << (identity ? ": restored play or text differs" : ": apply is not identity");
        failures += ok ? 0 : 1;
    }
    EXPECT_GE(records, 300);
    EXPECT_EQ(failures, 0);
}

// Who sits in a seat survives the text for every level, and each level
// hashes apart from the others.
TEST(GameSnapshot, EverySeatKindSurvivesTheText) {
    Game game;
    applyNewGame(game.ctx, scenarios::pinnedNewGame(3));
    GameSnapshot s = game.snapshot();
    std::vector<std::uint64_t> hashes;
    for (PlayerKind k : kPlayerKinds) {
        s.players[1].kind = k;
        EXPECT_TRUE(roundTrips(s)) << playerKindName(k);
        hashes.push_back(stateHash(s));
    }
    std::sort(hashes.begin(), hashes.end());
    EXPECT_EQ(std::unique(hashes.begin(), hashes.end()), hashes.end());
}

// Fixed games: their snapshots, whose hashes are pinned in state_hashes.txt,
// and the digests of everything they leave, the window's own shapes, the
// layout's lines and the drawing order included, pinned here.
struct Pinned { GameSnapshot snapshot; std::uint64_t digest; };
std::map<std::string, Pinned> pinnedGames() {
    std::map<std::string, Pinned> out;
    for (int players : {8, 3}) {
        Game game;
        applyNewGame(game.ctx, scenarios::pinnedNewGame(players));
        startTurn(game.ctx, 1);
        out[players == 8 ? "new-game-8" : "new-game-3-walls"] = {game.snapshot(), scenarios::stateDigest(game.ctx)};
    }
    Game game;
    scenarios::setUp(game.ctx, scenarios::pinnedBreak());
    game.playAndJudge();
    out["killer-break-8"] = {game.snapshot(), scenarios::stateDigest(game.ctx)};
    return out;
}

TEST(GameSnapshot, HashesMatchThePinnedValues) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/state_hashes.txt");
    ASSERT_TRUE(in);
    const std::map<std::string, Pinned> games = pinnedGames();
    const std::map<std::string, std::uint64_t> digests = {
        {"new-game-8", 0xc3b9a241b8c50f48ull}, {"new-game-3-walls", 0xd6d16bdb24d6ac94ull},
        {"killer-break-8", 0x8bf43bbcb18ba863ull}};
    std::string line;
    int pinned = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        std::uint64_t expected = 0;
        fields >> name >> std::hex >> expected;
        ASSERT_TRUE(games.count(name)) << name;
        const Pinned& game = games.at(name);
        EXPECT_EQ(stateHash(game.snapshot), expected) << name << ": " << std::hex << stateHash(game.snapshot);
        EXPECT_EQ(game.digest, digests.at(name)) << name << ": " << std::hex << game.digest;
        ++pinned;
    }
    EXPECT_EQ(pinned, 3);
}

// Reals JSON has no number for, signed zeros and the extremes come back to the bit.
TEST(GameSnapshot, RealsKeepEveryBit) {
    const float fs[] = {-0.0f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                        std::bit_cast<float>(0xffc01234u), 0.1f};
    const double ds[] = {-0.0, std::numeric_limits<double>::infinity(), std::bit_cast<double>(0x7ff0000000000abcull),
                         std::numeric_limits<double>::denorm_min(), 0.1};
    GameSnapshot base = pinnedGames().at("new-game-3-walls").snapshot;
    for (float f : fs) {
        GameSnapshot s = base;
        s.players[1].velocityX = s.players[2].piece.top = s.pointer.y2 = s.fieldHeight = f;
        EXPECT_TRUE(roundTrips(s)) << std::bit_cast<std::uint32_t>(f);
        EXPECT_FALSE(s == base);
    }
    for (double d : ds) {
        GameSnapshot s = base;
        s.contactOffsetY = d;
        EXPECT_TRUE(roundTrips(s)) << std::bit_cast<std::uint64_t>(d);
        EXPECT_FALSE(s == base);
    }
}

// Each record of snapshot_refusals.jsonl edits a valid snapshot's text; the
// reader must refuse it and name the field.
TEST(GameSnapshot, ReaderRefusesHostileTextsNamingTheField) {
    using nlohmann::json;
    const std::string valid = writeSnapshot(pinnedGames().at("new-game-3-walls").snapshot);
    for (const json& row : test::dataRows("snapshot_refusals.jsonl")) {
        json j = json::parse(valid);
        const json::json_pointer at(row.at("pointer").get<std::string>());
        if (row.at("value").is_null()) {
            json& parent = j.at(at.parent_pointer());
            if (parent.is_array()) parent.erase(std::stoul(at.back()));
            else parent.erase(at.back());
        } else {
            j[at] = row.at("value");
        }
        std::string error;
        EXPECT_FALSE(readSnapshot(j.dump(), &error)) << at;
        EXPECT_EQ(error.rfind(row.at("names").get<std::string>(), 0), 0u) << at << ": " << error;
    }
    std::string padded = valid + std::string(kMaxSnapshotTextBytes, ' ');
    const std::pair<std::string, const char*> texts[] = {
        {"{", "not JSON"}, {"[1]", "not a JSON object"}, {padded, "bytes"},
        {std::string(30000, '[') + std::string(30000, ']'), "not a JSON object"},
        {writeSnapshot(captureSnapshot(Game{}, Field{})), "players: has 0 entries, not 1 to 8"},
        {std::regex_replace(valid, std::regex("(\"contactOffsetY\":)[^,}]*"), "$011e999"), "not JSON"}};
    for (const auto& [text, named] : texts) {
        std::string error;
        EXPECT_FALSE(readSnapshot(text, &error));
        EXPECT_NE(error.find(named), std::string::npos) << named << ": " << error;
    }
    std::string error;
    json longest = json::parse(valid);
    longest["players"][0]["name"] = [] { std::string s; for (int k = 0; k < 40; ++k) s += "\xc3\xa9"; return s; }();
    EXPECT_TRUE(readSnapshot(longest.dump(), &error)) << error;  // 40 characters in 80 bytes
    const std::string atLimit = valid + std::string(kMaxSnapshotTextBytes - valid.size(), ' ');
    EXPECT_TRUE(readSnapshot(atLimit, &error)) << error;
}

}  // namespace
}  // namespace capzel
