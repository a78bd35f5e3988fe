// The high-score file: defaults, hand edits, unreadable files.
#include <gtest/gtest.h>

#include "DataRows.h"
#include "records/HighScores.h"
#include "support/FakePlatform.h"

using namespace capzel;
using capzel::test::FakePlatform;

namespace {
std::vector<std::string> rowsOf(const HighScoreTable& t) {
    std::vector<std::string> out;
    for (const HighScoreRow& r : t) out.push_back(r.name + "|" + r.scoreText());
    return out;
}
}  // namespace

TEST(HighScores, DefaultFileIsCreatedWhenMissing) {
    FakePlatform ui;
    const HighScoreTable t = loadHighScores(ui, "/prog/Capzel.CHS");
    ASSERT_EQ(ui.files.count("/prog/Capzel.CHS"), 1u);
    const std::string& file = ui.files["/prog/Capzel.CHS"];
    EXPECT_EQ(file.substr(0, 38), "\"Norvin Telk\",100\r\n\"Norvin Telk\",90\r\n\"");
    EXPECT_EQ(file.substr(file.size() - 18), "\"Norvin Telk\",10\r\n");
    EXPECT_EQ(file.size(), 19u + 9u * 18u);  // one three-digit score, nine two-digit ones
    for (int i = 0; i < kHighScoreRows; ++i) {
        EXPECT_EQ(t[std::size_t(i)].name, "Norvin Telk");
        EXPECT_EQ(t[std::size_t(i)].score, 100 - 10 * i);
    }
    // A second opening reads the file and does not write it again.
    ui.files["/prog/Capzel.CHS"] = "\"Ann\",5\r\n";
    EXPECT_EQ(loadHighScores(ui, "/prog/Capzel.CHS")[0].name, "Ann");
}

TEST(HighScores, FolderThatCannotBeWrittenStillShowsTheDefaultTable) {
    FakePlatform ui;
    ui.writeError = "Permission denied.";
    EXPECT_EQ(loadHighScores(ui, "/usr/share/capzel/Capzel.CHS"), defaultHighScores());
    EXPECT_TRUE(ui.files.empty());
}

// Each record of high_score_readings.jsonl: the rows shown (the rest empty).
TEST(HighScores, EditedShortAndBrokenFilesShowWhatCanBeRead) {
    for (const nlohmann::json& c : test::dataRows("high_score_readings.jsonl")) {
        std::vector<std::string> rows = c.at("rows");
        rows.resize(kHighScoreRows, "|");
        EXPECT_EQ(rowsOf(parseHighScores(test::bytesOf(c.at("text")))), rows) << c.at("name");
    }
}

TEST(HighScores, FileLivesInTheProgramFolderWhenItCanBeWritten) {
    EXPECT_EQ(highScoreFilePath("/opt/capzel", true, "/home/a/.local/share/Capzel"), "/opt/capzel/Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("/opt/capzel/", true, "x"), "/opt/capzel/Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("C:\\Capzel\\", true, "x"), "C:\\Capzel\\Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("", true, "x"), "Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("/usr/bin", false, "/home/a/.local/share/Capzel"),
              "/home/a/.local/share/Capzel/Capzel.CHS");
}
