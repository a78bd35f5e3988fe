// Whole-game records: a game recorded by the session, written, read back and
// played again with no window ends every entry in the state it recorded;
// undos and redos are entries like the others; hostile records are refused
// with the field named.
#include <gtest/gtest.h>

#include "DataRows.h"
#include "Scenario.h"
#include "session/GameSession.h"
#include "match/RecordReplay.h"
#include "support/RunDriver.h"

namespace capzel {
namespace {

using nlohmann::json;

// A shot of the player whose turn it is, aimed as the scenario aims; a
// command given in `during` runs before the run's advance number 5.
void shoot(GameSession& session, test::FakePlatform& ui, const std::array<float, 4>& aim, int power,
           GameCommand during = nullptr, std::vector<std::string> answers = {}) {
    session.field().board.pointer = {aim[0], aim[1], aim[2], aim[3], true};
    session.state().power = std::int16_t(power);
    session.turn().startShot();
    int advances = 0;
    test::drive(session.turn(), session.turn(), ui, [&] {
        if (++advances != 5 || !during || !session.turn().shot()) return;
        ui.inputAnswers.assign(answers.begin(), answers.end());
        session.runCommand(during);
    });
    session.advanced();
}

// A short game from the scenario's position: its shot, then a second one
// from where the first left the shooter (placed by hand first when the
// rules allow it), with a hidden command during it in every third game; a
// command between shots; two undos and a redo; a last shot.
void playShortGame(GameSession& session, test::FakePlatform& ui, const scenarios::Scenario& s, int variant) {
    session.beginGame(scenarios::scenarioSetup(s));
    shoot(session, ui, s.pointer, s.power);
    const int seat = session.state().currentTurn;
    const Box& piece = session.field().board.pieces[std::clamp(seat, 1, kMaxPlayers)];
    const float cx = piece.left + piece.width / 2, cy = piece.top + piece.height / 2;
    session.turn().mouseMove(0, 1, cx + 40, cy - 25);
    const std::array<float, 4> aim{cx, cy, cx + 300 - float(variant % 600), cy + 700};
    const std::string who = std::to_string(seat);
    if (variant % 3 == 0)
        shoot(session, ui, aim, 2000 + variant % 5000, setSpeedCommand, {who, "40", "-25"});
    else
        shoot(session, ui, aim, 2000 + variant % 5000);
    ui.inputAnswers = {"all", variant % 2 ? "96.5" : "90"};
    session.runCommand(setFrictionCommand);
    session.undo();
    session.undo();
    session.redo();
    shoot(session, ui, s.pointer, s.power / 2);
}

std::vector<std::uint64_t> hashesOf(const GameRecord& record) {
    std::vector<std::uint64_t> hashes{record.start.hash};
    for (const RecordEntry& e : record.entries) hashes.push_back(outcomeOf(e).hash);
    return hashes;
}

// The property over the scenario corpus: whatever the position, the
// session's record survives its text and replays to the same hash after
// every entry, and the replay tells the same announcements.
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
                midShot += !shot->commands.empty();
            }
            undone += std::holds_alternative<RecordedUndo>(e);
        }
        std::string error;
        const std::optional<GameRecord> read = readGameRecord(writeGameRecord(record), &error);
        ASSERT_TRUE(read) << s.name << ": " << error;
        EXPECT_TRUE(*read == record) << s.name;
        EXPECT_EQ(hashesOf(*read), hashesOf(record));
        const ReplayCheck check = replayWholeRecord(*read);
        EXPECT_TRUE(check.ok()) << s.name << ": " << check.firstMismatch->describe();
        EXPECT_EQ(check.shotsChecked, record.shotCount());
    }
    // The corpus reaches every kind of entry.
    EXPECT_GT(placed, 10);
    EXPECT_GT(midShot, 50);
    EXPECT_GT(undone, games);
}

// Undo k shots, then redo them: the game is the same to the bit, and so is
// each redone shot's entry; a new shot ends the redos.
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
        after.push_back(gameHash(session.state(), session.field()));
    }
    for (int k = 6; k > 0; --k) ASSERT_TRUE(session.undo()) << k;
    EXPECT_FALSE(session.canUndo());
    EXPECT_FALSE(session.undo());
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(session.redo()) << k;
        EXPECT_EQ(gameHash(session.state(), session.field()), after[std::size_t(k)]) << k;
    }
    EXPECT_FALSE(session.redo());
    ASSERT_TRUE(session.undo() && session.undo() && session.canRedo());
    shoot(session, ui, {1580, 8420, 1700, 9000}, 3000);
    EXPECT_FALSE(session.canRedo());
    const ReplayCheck check = replayWholeRecord(session.record());
    EXPECT_TRUE(check.ok()) << check.firstMismatch->describe();

    // A jump to any shot gives the game the record holds there.
    Game g;
    Field field;
    ASSERT_TRUE(restoreToShot(session.record(), 3, g, field));
    EXPECT_EQ(gameHash(g, field), after[2]);
    std::string error;
    EXPECT_FALSE(restoreToShot(session.record(), 99, g, field, &error));
    EXPECT_NE(error.find("shots, not 99"), std::string::npos) << error;
}

// A record of one shot with a placement and a command during it, the base
// the refusal table edits.
std::string validRecordText() {
    const std::vector<json> rows = test::dataRows("scenarios.jsonl");
    GameSession session;
    test::FakePlatform ui;
    session.openBoard(ui);
    for (const json& row : rows) {
        playShortGame(session, ui, scenarios::scenarioFromJson(row.at("in")), 0);
        const auto& first = session.record().entries;
        const auto* shot = first.size() > 1 ? std::get_if<RecordedShot>(&first[1]) : nullptr;
        if (shot && shot->placement && !shot->commands.empty()) return writeGameRecord(session.record());
    }
    ADD_FAILURE() << "no corpus game has a placed shot with a command";
    return {};
}

// Each row of record_refusals.jsonl edits a valid record's text (a null
// value removes the field); the reader must refuse it and name the field.
// A command past its shot's end is refused by the replay, the shot named.
TEST(GameRecord, HostileRecordsAreRefusedNamingTheField) {
    const std::string valid = validRecordText();
    ASSERT_TRUE(readGameRecord(valid, nullptr));
    for (const json& row : test::dataRows("record_refusals.jsonl")) {
        json j = json::parse(valid);
        const json::json_pointer at(row.at("pointer").get<std::string>());
        if (row.at("value").is_null())
            j.at(at.parent_pointer()).erase(at.back());
        else
            j[at] = row.at("value");
        std::string error;
        EXPECT_FALSE(readGameRecord(j.dump(), &error)) << at;
        EXPECT_EQ(error.rfind(row.at("names").get<std::string>(), 0), 0u) << at << ": " << error;
    }
    const std::pair<std::string, const char*> texts[] = {
        {"{", "not JSON"}, {"[]", "not a JSON object"}, {valid + std::string(kMaxGameRecordBytes, ' '), "bytes"}};
    for (const auto& [text, named] : texts) {
        std::string error;
        EXPECT_FALSE(readGameRecord(text, &error));
        EXPECT_NE(error.find(named), std::string::npos) << named << ": " << error;
    }
    // An answer as long as a box takes (4,096 characters) is read; one
    // character more is refused.
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
