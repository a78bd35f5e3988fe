// Devices, pipes, folders and huge files are refused or cut short at once.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/RegularFile.h"
#include "records/SaveFileReader.h"
#include "records/SaveLoadCommands.h"
#include "records_fixtures.h"

using namespace capzel;
using namespace capzel::test;
namespace fs = std::filesystem;

namespace {

// The scripted platform, reading the disk as the game does.
struct DiskReading : FakePlatform {
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override {
        return readRegularFile(path, maxBytes);
    }
};

}  // namespace

TEST(HostileFiles, AreRefusedOrCutShortBeforeTheyAreRead) {
    const fs::path dir = fs::temp_directory_path() / ("capzel-hostile-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "small") << "abc";
    std::ofstream(dir / "huge") << "x";
    fs::resize_file(dir / "huge", 100'000'000);  // sparse: takes no room on the disk
    fs::create_symlink("/dev/zero", dir / "zero");
    fs::create_symlink(dir / "small", dir / "link");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");

    const std::string cannot = "The file cannot be read.", tooShort = "Line 2: the file ends before the number of players.";
    // Bytes read with a limit of 1000 (-1: none), whether special, the end of the Load command's message.
    const struct { const char* name; int bytes; bool special; std::string loadSays; } rows[] = {
        {"small", 3, false, tooShort}, {"huge", 1000, false, "The file is too large to be a saved game."},
        {"link", 3, false, tooShort},  {"zero", -1, true, cannot},      {"pipe", -1, true, cannot},
        {"folder", -1, true, cannot},  {"dangling", -1, false, cannot}, {"missing", -1, false, cannot},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string path = (dir / r.name).string();
        const std::optional<std::string> read = readRegularFile(path, 1000);
        EXPECT_EQ(read ? int(read->size()) : -1, r.bytes);
        EXPECT_EQ(isSpecialFile(path), r.special);

        DiskReading ui;
        Game g;
        GameContext ctx{g, ui};
        ui.openAnswers = {path};
        EXPECT_FALSE(loadGameCommand(ctx, dir.string()));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0], "The game could not be loaded from\r\n" + path + "\r\n\r\n" + r.loadSays);
    }
    fs::remove_all(dir);
}
