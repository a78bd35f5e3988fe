// The rooms' files written on the keeper's thread: a whole text, lines added before its tail however merged,
// closed rooms compacted or removed in order, and failures reported with their room.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/RegularFile.h"
#include "server/RoomKeeper.h"

namespace capzel::server {
namespace {

namespace fs = std::filesystem;

struct Keeper : ::testing::Test {
    const fs::path dir = fs::temp_directory_path() / ("capzel-keeper-" + std::to_string(::getpid()));
    std::vector<std::string> reports;
    RoomKeeper::Report report = [this](const std::string& code, const std::string& what) {
        reports.push_back(code + ": " + what);
    };
    void SetUp() override { fs::remove_all(dir), fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string bytes(const std::string& path) { return readRegularFile(path, 1 << 20).value_or("<none>"); }
};

TEST_F(Keeper, LinesGoInFrontOfTheTailAndAShorterTailIsPaddedNeverCut) {
    RoomKeeper keeper(dir.string(), ".room.json", report);
    keeper.write("AAAAAA", "{\"e\":[\n]},\"seats\":1}\n", 15);
    keeper.flush();
    keeper.append("AAAAAA", "\n1", "\n]},\"seats\":22}\n");
    keeper.flush();
    EXPECT_EQ(bytes(keeper.pathOf("AAAAAA")), "{\"e\":[\n1\n]},\"seats\":22}\n");
    keeper.append("AAAAAA", "", "\n]},\"s\":3}\n");  // seats changed, no entry
    keeper.flush();
    EXPECT_EQ(bytes(keeper.pathOf("AAAAAA")), "{\"e\":[\n1\n]},\"s\":3}     \n");
    keeper.append("AAAAAA", ",\n2", "\n]},\"s\":3}\n");
    keeper.append("AAAAAA", ",\n3", "\n]},\"s\":3}\n");
    keeper.flush();
    EXPECT_EQ(bytes(keeper.pathOf("AAAAAA")), "{\"e\":[\n1,\n2,\n3\n]},\"s\":3}\n");
    EXPECT_TRUE(reports.empty());
}

TEST_F(Keeper, AsksMergedWhileWaitingGiveTheSameFileAndClosedRoomsGoInOrder) {
    RoomKeeper keeper(dir.string(), ".room.json", report);
    std::string expected = "[";
    keeper.write("AAAAAA", "[]\n", 2);
    for (int k = 0; k < 500; ++k) {
        const std::string line = std::string(k ? "," : "").append(std::to_string(k));
        keeper.append("AAAAAA", line, "]\n");
        expected += line;
        keeper.write("BBBBBB", std::string("b").append(std::to_string(k)), 0);
    }
    keeper.flush();
    EXPECT_EQ(bytes(keeper.pathOf("AAAAAA")), expected + "]\n");
    EXPECT_EQ(bytes(keeper.pathOf("BBBBBB")), "b499");

    keeper.close("AAAAAA", "compact");
    keeper.close("BBBBBB", std::nullopt);
    keeper.write("CCCCCC", "c", 0);
    keeper.close("CCCCCC", "c done");
    keeper.write("CCCCCC", "c again", 0);  // a new room that drew the same code
    keeper.flush();
    EXPECT_EQ(bytes(keeper.finishedPathOf("AAAAAA")), "compact");
    EXPECT_FALSE(fs::exists(keeper.pathOf("AAAAAA")));
    EXPECT_FALSE(fs::exists(keeper.pathOf("BBBBBB")));
    EXPECT_FALSE(fs::exists(keeper.finishedPathOf("BBBBBB")));
    EXPECT_EQ(bytes(keeper.finishedPathOf("CCCCCC")), "c done");
    EXPECT_EQ(bytes(keeper.pathOf("CCCCCC")), "c again");
    EXPECT_EQ(keeper.pathOf("CCCCCC"), (dir / "CCCCCC.room.json").string());
    EXPECT_TRUE(reports.empty());
}

TEST_F(Keeper, WhatIsAskedIsDoneBeforeTheKeeperGoesAndFailuresAreReportedWithTheirRoom) {
    {
        RoomKeeper keeper(dir.string(), ".room.json", report, std::chrono::hours(1));
        keeper.write("DDDDDD", "d]", 1);
        keeper.append("DDDDDD", "+", "]");
    }
    EXPECT_EQ(bytes((dir / "DDDDDD.room.json").string()), "d+]");

    // A file where the folder should be: nothing can be written under it.
    const fs::path gone = dir / "gone";
    std::ofstream(gone) << "not a folder";
    RoomKeeper lost(gone.string(), ".room.json", report);
    lost.write("EEEEEE", "e]", 1);
    lost.append("EEEEEE", "+", "]");  // nothing is added to a file that failed
    lost.close("FFFFFF", "f");
    lost.flush();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].rfind("EEEEEE: ", 0), 0u) << reports[0];
    EXPECT_NE(reports[0].find("could not be"), std::string::npos) << reports[0];
    EXPECT_EQ(reports[1].rfind("FFFFFF: ", 0), 0u) << reports[1];
    // Written whole again once it can be, lines are added again.
    fs::remove(gone);
    fs::create_directories(gone);
    lost.write("EEEEEE", "e]", 1);
    lost.append("EEEEEE", "+", "]");
    lost.flush();
    EXPECT_EQ(bytes(lost.pathOf("EEEEEE")), "e+]");
}

}  // namespace
}  // namespace capzel::server
