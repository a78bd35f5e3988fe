// The rooms' files written on the keeper's thread: the newest text wins, a
// closed room's file moves to finished/ or goes, in the order asked, and
// what cannot be written is reported.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/RegularFile.h"
#include "server/RoomKeeper.h"

namespace capzel::server {
namespace {

namespace fs = std::filesystem;

struct Keeper : ::testing::Test {
    const fs::path dir = fs::temp_directory_path() / ("capzel-keeper-" + std::to_string(::getpid()));
    std::vector<std::string> reports;
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string bytes(const std::string& path) { return readRegularFile(path, 1 << 20).value_or("<none>"); }
};

TEST_F(Keeper, TheNewestTextIsKeptAndClosedRoomsMoveOrGoInOrder) {
    RoomKeeper keeper(dir.string(), ".room.json", [this](const std::string& r) { reports.push_back(r); });
    for (int k = 0; k < 50; ++k) {
        keeper.keep("AAAAAA", std::to_string(k));
        keeper.keep("BBBBBB", std::to_string(100 + k));
    }
    keeper.close("AAAAAA", true);
    keeper.close("BBBBBB", false);
    keeper.keep("CCCCCC", "c");
    keeper.close("CCCCCC", true);
    keeper.keep("CCCCCC", "c again");  // a new room that drew the same code
    keeper.flush();
    EXPECT_EQ(bytes(keeper.finishedPathOf("AAAAAA")), "49");
    EXPECT_FALSE(fs::exists(keeper.pathOf("AAAAAA")));
    EXPECT_FALSE(fs::exists(keeper.pathOf("BBBBBB")));
    EXPECT_FALSE(fs::exists(keeper.finishedPathOf("BBBBBB")));
    EXPECT_EQ(bytes(keeper.finishedPathOf("CCCCCC")), "c");
    EXPECT_EQ(bytes(keeper.pathOf("CCCCCC")), "c again");
    EXPECT_EQ(keeper.pathOf("CCCCCC"), (dir / "CCCCCC.room.json").string());
    EXPECT_TRUE(reports.empty());

    // A second finished room of a code replaces the first.
    keeper.keep("AAAAAA", "a2");
    keeper.close("AAAAAA", true);
    keeper.flush();
    EXPECT_EQ(bytes(keeper.finishedPathOf("AAAAAA")), "a2");
}

TEST_F(Keeper, WhatIsAskedIsDoneBeforeTheKeeperGoesAndFailuresAreReported) {
    {
        RoomKeeper keeper(dir.string(), ".room.json", [](const std::string&) {});
        keeper.keep("DDDDDD", "d");
    }
    EXPECT_EQ(bytes((dir / "DDDDDD.room.json").string()), "d");

    RoomKeeper lost((dir / "gone").string(), ".room.json", [this](const std::string& r) { reports.push_back(r); });
    lost.keep("EEEEEE", "e");
    lost.close("FFFFFF", true);
    lost.flush();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find("could not be"), std::string::npos) << reports[0];
    EXPECT_NE(reports[1].find("FFFFFF.room.json cannot be closed"), std::string::npos) << reports[1];
}

}  // namespace
}  // namespace capzel::server
