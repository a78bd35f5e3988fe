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

// Created when missing, then read and not written again; a folder that cannot be written still shows the defaults.
TEST(HighScores, DefaultFileIsCreatedWhenMissing) {
    FakePlatform ui;
    const HighScoreTable t = loadHighScores(ui, "/prog/Capzel.CHS");
    std::string file;
    for (int score = 100; score > 0; score -= 10) file += "\"Norvin Telk\"," + std::to_string(score) + "\r\n";
    EXPECT_EQ(ui.files["/prog/Capzel.CHS"], file);
    EXPECT_EQ(t, parseHighScores(file));
    ui.files["/prog/Capzel.CHS"] = "\"Ann\",5\r\n";
    EXPECT_EQ(loadHighScores(ui, "/prog/Capzel.CHS")[0].name, "Ann");
    FakePlatform readOnly;
    readOnly.writeError = "Permission denied.";
    EXPECT_EQ(loadHighScores(readOnly, "/usr/share/capzel/Capzel.CHS"), defaultHighScores());
    EXPECT_TRUE(readOnly.files.empty());
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
    const char* rows[][3] = {{"/opt/capzel", "", "/opt/capzel/Capzel.CHS"},    {"/opt/capzel/", "", "/opt/capzel/Capzel.CHS"},
                             {"C:\\Capzel\\", "", "C:\\Capzel\\Capzel.CHS"}, {"", "", "Capzel.CHS"},
                             {"/usr/bin", "/home/a/Capzel", "/home/a/Capzel/Capzel.CHS"}};  // a data folder: not writable
    for (const auto& [program, data, path] : rows) EXPECT_EQ(highScoreFilePath(program, !*data, data), path) << program;
}
