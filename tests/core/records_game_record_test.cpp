// Whole-game records: written, read back and replayed without a window, each entry ends in the
// game recorded; undos are entries too; first-version records still play; hostile ones are refused.
#include <gtest/gtest.h>

#include "DataRows.h"
#include "Scenario.h"
#include "match/RecordReplay.h"
#include "match/RecordStart.h"
#include "records_fixtures.h"
#include "session/GameSession.h"
#include "support/RunDriver.h"

namespace capzel {
namespace {

using nlohmann::json;

// The current player's shot, aimed as given; a command in `during` is typed before the run's fifth advance.
void shoot(GameSession& session, test::FakePlatform& ui, const std::array<float, 4>& aim, int strength,
           std::optional<HiddenCommandKind> during = {}, std::vector<std::string> answers = {}) {
    TurnController& turn = session.turn();
    ShotCommand shot = turn.pendingShot(std::int16_t(strength));
    shot.x1 = aim[0], shot.y1 = aim[1], shot.x2 = aim[2], shot.y2 = aim[3];
    if (turn.fire(shot)) return;  // the game is over
    int advances = 0;
    test::drive(turn, turn, ui, [&] {
        if (++advances != 5 || !during || !turn.shot()) return;
        ui.inputAnswers.assign(answers.begin(), answers.end());
        session.runCommand(*during);
    });
    session.advanced();
}

// From the scenario's position: its shot; a second from where that left the shooter (placed by hand first when
// allowed), a hidden command during it in every third game; a command; two undos and a redo; a last shot.
void playShortGame(GameSession& session, test::FakePlatform& ui, const scenarios::Scenario& s, int variant) {
    session.beginGame(scenarios::scenarioSetup(s));
    shoot(session, ui, s.pointer, s.power);
    const int seat = session.game().currentTurn;
    const Box& piece = session.game().piece(std::clamp(seat, 1, kMaxPlayers));
    const float cx = piece.left + piece.width / 2, cy = piece.top + piece.height / 2;
    session.turn().mouseMove(0, 1, cx + 40, cy - 25);
    const std::array<float, 4> aim{cx, cy, cx + 300 - float(variant % 600), cy + 700};
    shoot(session, ui, aim, 2000 + variant % 5000, variant % 3 ? std::nullopt : std::optional(HiddenCommandKind::SetSpeed),
          {std::to_string(seat), "40", "-25"});
    ui.inputAnswers = {"all", variant % 2 ? "96.5" : "90"};
    session.runCommand(HiddenCommandKind::SetFriction);
    session.undo(), session.undo(), session.redo();
    shoot(session, ui, s.pointer, s.power / 2);
}

// Whatever the position, the session's record survives its text and replays to the same hash after every entry.
TEST(GameRecord, EveryCorpusGameReplaysFromItsTextAsRecorded) {
    const std::vector<json> rows = test::dataRows("scenarios.jsonl");
    int games = 0, placed = 0, midShot = 0, undone = 0;
    for (std::size_t k = 0; k < rows.size(); k += 3, ++games) {
        const scenarios::Scenario s = scenarios::scenarioFromJson(rows[k].at("in"));
        GameSession session;
        test::FakePlatform ui;
        session.openBoard(ui);
        playShortGame(session, ui, s, int(k));
        const GameRecord& record = session.record();
        for (const RecordEntry& e : record.entries) {
            if (const auto* shot = std::get_if<RecordedShot>(&e)) {
                placed += shot->placement.has_value();
                midShot += !shot->midShot.empty();
            }
            undone += std::holds_alternative<RecordedUndo>(e);
        }
        std::string error;
        const std::optional<GameRecord> read = readGameRecord(writeGameRecord(record), &error);
        ASSERT_TRUE(read) << s.name << ": " << error;
        EXPECT_TRUE(*read == record) << s.name;  // the same text; the replay checks every hash read
        const ReplayCheck check = replayWholeRecord(*read);
        EXPECT_TRUE(check.ok()) << s.name << ": " << check.firstMismatch->describe();
        EXPECT_EQ(check.shotsChecked, record.shotCount());
    }
    EXPECT_TRUE(placed > 10 && midShot > 50 && undone > games) << placed << " " << midShot << " " << undone;  // every kind of entry
}

// Undo every shot, then redo them: the same game after each; a new shot ends the redos; a jump to a shot gives its game.
TEST(GameRecord, UndoingAndRedoingShotsComesBackToTheSameGame) {
    GameSession session;
    test::FakePlatform ui;
    session.openBoard(ui);
    NewGameSettings settings;
    settings.players = 3;
    session.beginNewGame(settings);
    std::vector<std::uint64_t> after;
    for (int k = 0; k < 6; ++k) {
        shoot(session, ui, {1580, 8420, 1580 - 80.0f * float(k), 9000}, 2800 + 500 * k);
        after.push_back(session.game().hash());
    }
    for (int k = 6; k > 0; --k) ASSERT_TRUE(session.undo()) << k;
    EXPECT_FALSE(session.undo());
    for (std::size_t k = 0; k < 6; ++k) EXPECT_TRUE(session.redo() && session.game().hash() == after[k]) << k;
    EXPECT_FALSE(session.redo());
    ASSERT_TRUE(session.undo() && session.undo() && session.canRedo());
    shoot(session, ui, {1580, 8420, 1700, 9000}, 3000);
    EXPECT_FALSE(session.canRedo());
    EXPECT_TRUE(replayWholeRecord(session.record()).ok());
    EXPECT_EQ(gameAfterShot(session.record(), 3).value_or(Game{}).hash(), after[2]);
    std::string error;
    EXPECT_FALSE(gameAfterShot(session.record(), 99, &error));
    EXPECT_NE(error.find("shots, not 99"), std::string::npos) << error;
}

// First-version records (games built from a setup and a field, the board as the player left it
// kept with each command and undo) still read, replay as recorded and keep their version.
TEST(GameRecord, FirstVersionRecordsStillPlayAsRecorded) {
    int before = 0;
    for (const json& text : test::dataRows("records_v1.jsonl")) {
        std::string error;
        const std::optional<GameRecord> read = readGameRecord(text.dump(), &error);
        ASSERT_TRUE(read) << error;
        ASSERT_TRUE(read->setupStart);
        for (const RecordEntry& e : read->entries) {
            if (const auto* c = std::get_if<RecordedCommandEntry>(&e)) before += c->before.has_value();
            if (const auto* u = std::get_if<RecordedUndo>(&e)) before += u->before.has_value();
        }
        const ReplayCheck check = replayWholeRecord(*read);
        EXPECT_TRUE(check.ok()) << check.firstMismatch->describe();
        EXPECT_EQ(check.shotsChecked, read->shotCount());
        EXPECT_EQ(recordStartGame(*read).hash(), read->start.hash);
        EXPECT_EQ(json::parse(writeGameRecord(*read)), text);
    }
    EXPECT_GT(before, 0);
}

// Each row of record_refusals.jsonl edits a valid first-version record; the reader refuses it
// naming the field. A command past its shot's end is refused by the replay, the shot named.
TEST(GameRecord, HostileRecordsAreRefusedNamingTheField) {
    const std::string valid = test::dataRows("records_v1.jsonl").at(0).dump();
    ASSERT_TRUE(readGameRecord(valid, nullptr));
    for (const json& row : test::dataRows("record_refusals.jsonl")) {
        std::string names = row.at("names");
        // Written when records had one version: a second-version record holds a game instead.
        if (names == "/version: is 2, outside 1 to 1") names = "/game: is missing";
        std::string error;
        EXPECT_FALSE(readGameRecord(test::editedAt(valid, row), &error)) << row;
        EXPECT_EQ(error.rfind(names, 0), 0u) << row << ": " << error;
    }
    const std::pair<std::string, const char*> texts[] = {
        {"{", "not JSON"}, {"[]", "not a JSON object"}, {valid + std::string(kMaxGameRecordBytes, ' '), "bytes"},
        {R"({"format": "capzel-game-record", "version": 3})", "/version: is 3, outside 1 to 2"}};
    for (const auto& [text, named] : texts) {
        std::string error;
        EXPECT_FALSE(readGameRecord(text, &error));
        EXPECT_NE(error.find(named), std::string::npos) << named << ": " << error;
    }
    // An answer as long as a box takes (4,096 characters) is read; one more is refused.
    for (const std::size_t length : {4096, 4097}) {
        json j = json::parse(valid);
        j["entries"][1]["commands"][0]["answers"] = {std::string(length, 'x')};
        EXPECT_EQ(readGameRecord(j.dump(), nullptr).has_value(), length == 4096) << length;
    }
    json late = json::parse(valid);
    late["entries"][1]["commands"][0]["advance"] = 100000000;
    const ReplayCheck check = replayWholeRecord(*readGameRecord(late.dump(), nullptr));
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.firstMismatch->error.rfind("shot 2: a command at advance 100000000 comes after the shot's end", 0), 0u)
        << check.firstMismatch->describe();
}

}  // namespace
}  // namespace capzel
