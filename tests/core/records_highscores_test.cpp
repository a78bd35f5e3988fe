// The high-score file: defaults, hand edits, unreadable files.
#include <gtest/gtest.h>

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

TEST(HighScores, EditedShortAndBrokenFilesShowWhatCanBeRead) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> rows;
    } cases[] = {
        {"hand edited: shown in its own order, the first ten lines",
         "\"Ann\",500\r\n\"Bob\",900\r\n\"Cy, Jr.\",-3\r\n\"D\",4\r\n\"E\",5\r\n"
         "\"F\",6\r\n\"G\",7\r\n\"H\",8\r\n\"I\",9\r\n\"J\",10\r\n\"K\",11\r\n",
         {"Ann|500", "Bob|900", "Cy, Jr.|-3", "D|4", "E|5", "F|6", "G|7", "H|8", "I|9", "J|10"}},
        {"three lines", "\"A\",1\r\n\"B\",2\r\n\"C\",3\r\n",
         {"A|1", "B|2", "C|3", "|", "|", "|", "|", "|", "|", "|"}},
        {"empty file", "", {"|", "|", "|", "|", "|", "|", "|", "|", "|", "|"}},
        {"bad lines keep their rows", "\"A\",1\n\"B,2\nC,many\n\n\"D\"\n\"E\",5,extra\n\"F\"x,6\n",
         {"A|1", "|", "C|", "|", "D|", "E|5", "|", "|", "|", "|"}},
        {"scores with blanks and signs",
         " \"A\" , +7 \r\n\"B\",99999999999999999999\r\n\"C\",+-5\r\n\"D\",-7\r\n\"E\",+\r\n\"F\",3x\r\n",
         {"A|7", "B|", "C|", "D|-7", "E|", "F|", "|", "|", "|", "|"}},
        {"Windows-1252 name", "\"Ren\xE9\",70\r\n",
         {"Ren\xC3\xA9|70", "|", "|", "|", "|", "|", "|", "|", "|", "|"}},
        {"a long name shows as much as a player's name holds", "\"" + std::string(45, 'N') + "\",1\r\n",
         {std::string(40, 'N') + "|1", "|", "|", "|", "|", "|", "|", "|", "|", "|"}},
    };
    for (const auto& c : cases) EXPECT_EQ(rowsOf(parseHighScores(c.text)), c.rows) << c.name;
}

TEST(HighScores, FileLivesInTheProgramFolderWhenItCanBeWritten) {
    EXPECT_EQ(highScoreFilePath("/opt/capzel", true, "/home/a/.local/share/Capzel"), "/opt/capzel/Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("/opt/capzel/", true, "x"), "/opt/capzel/Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("C:\\Capzel\\", true, "x"), "C:\\Capzel\\Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("", true, "x"), "Capzel.CHS");
    EXPECT_EQ(highScoreFilePath("/usr/bin", false, "/home/a/.local/share/Capzel"),
              "/home/a/.local/share/Capzel/Capzel.CHS");
}
