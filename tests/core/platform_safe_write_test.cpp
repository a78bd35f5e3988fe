// Files are replaced whole or not at all, and a failure says which step failed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>
#include <vector>

#include "platform/RegularFile.h"
#include "platform/SafeWrite.h"

using namespace capzel;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    explicit Folder(const std::string& name)
        : path(fs::temp_directory_path() / ("capzel-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { std::error_code ignored; fs::remove_all(path, ignored); }
    std::set<std::string> names() const {
        std::set<std::string> all;
        for (const auto& e : fs::directory_iterator(path)) all.insert(e.path().filename().string());
        return all;
    }
};

std::string bytesOf(const fs::path& p) { return readRegularFile(p.string(), 1 << 20).value_or("<unreadable>"); }

}  // namespace

TEST(SafeWrite, ReplacesRegularFilesWholeKeepingLinksAndPermissions) {
    Folder dir("safe-write");
    const fs::path game = dir.path / "game.CSG", link = dir.path / "link.CSG";
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    EXPECT_EQ(writeFileSafely(game.string(), "first\r\nversion\r\n"), "");
    EXPECT_EQ(bytesOf(game), "first\r\nversion\r\n");
    fs::permissions(game, perms);
    fs::create_symlink(game, link);
    for (const std::string content : {"2", "", "through the link"}) {
        const fs::path written = content == "through the link" ? link : game;
        SCOPED_TRACE(written.string() + " <- " + content);
        EXPECT_EQ(writeFileSafely(written.string(), content), "");
        EXPECT_EQ(bytesOf(game), content);
        EXPECT_EQ(fs::status(game).permissions(), perms);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(dir.names(), (std::set<std::string>{"game.CSG", "link.CSG"}));
    }
}

TEST(SafeWrite, RefusesWhatIsNotARegularFileAndSaysWhy) {
    Folder dir("safe-write-refused");
    fs::create_directory(dir.path / "folder");
    ASSERT_EQ(::mkfifo((dir.path / "pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.path / "zero");
    const std::set<std::string> before = dir.names();
    const std::string special = "replaced: it is not a regular file";
    for (const auto& [name, says] : {std::pair{"folder", special}, {"pipe", special}, {"zero", special},
                                      {"missing/game.CSG", std::string("created: No such file or directory")}}) {
        const std::string path = (dir.path / name).string();
        EXPECT_EQ(writeFileSafely(path, "x"), "The file \"" + path + "\" could not be " + says + ".");
        EXPECT_EQ(dir.names(), before);
    }
    EXPECT_TRUE(fs::is_fifo(dir.path / "pipe"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "zero"));
}

// A real full disk (a small memory file system) and a file that cannot be renamed over (a file mounted on it).
TEST(SafeWrite, AFullDiskOrABusyFileLeavesTheOldFileAsItWas) {
    Folder dir("safe-write-full");
    if (::geteuid() != 0 || ::mount("tmpfs", dir.path.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here (needs root)";
    struct Unmount {
        std::vector<fs::path> at;
        ~Unmount() {
            for (auto p = at.rbegin(); p != at.rend(); ++p) ::umount(p->c_str());
        }
    } unmount{{dir.path}};
    const fs::path game = dir.path / "game.CSG", busy = dir.path / "busy.CSG";
    const std::string old = "the game as it was\r\n";
    ASSERT_EQ(writeFileSafely(game.string(), old), "");
    ASSERT_EQ(writeFileSafely(busy.string(), old), "");
    ASSERT_EQ(::mount(game.c_str(), busy.c_str(), nullptr, MS_BIND, nullptr), 0);
    unmount.at.push_back(busy);
    const std::string full = "written: No space left on device";
    for (const auto& [file, size, says] : {std::tuple{game, 70'000, full}, {game, 1'000'000, full},
                                             {busy, 10, std::string("saved: Device or resource busy")}}) {
        EXPECT_EQ(writeFileSafely(file.string(), std::string(size_t(size), 'x')),
                  "The file \"" + file.string() + "\" could not be " + says + ".");
        EXPECT_EQ(bytesOf(file), old);
        EXPECT_EQ(dir.names(), (std::set<std::string>{"busy.CSG", "game.CSG"}));
    }
}

// A killed copy's temporary files go at the next start; a running copy's (this one, process 1) and look-alikes stay.
TEST(SafeWrite, StaleTemporaryFilesOfProgramsNoLongerRunningGo) {
    Folder folder("stale");
    pid_t deadPid = 4000000;
    while (deadPid > 1000 && (::kill(deadPid, 0) == 0 || errno != ESRCH)) --deadPid;
    const std::string mine = ".capzel-" + std::to_string(::getpid()), dead = ".capzel-" + std::to_string(deadPid);
    const std::set<std::string> stay = {"autosave.CSG", "autosave.CSG" + mine + "-0", "x.capzel-1-0", "x" + dead, "x" + dead + "-1-2",
                                           "x" + dead + "-a"};
    for (const auto& name : {"autosave.CSG" + dead + "-0", "ABCDEF.room.json" + dead + "-17"}) std::ofstream(folder.path / name) << "half";
    for (const std::string& name : stay) std::ofstream(folder.path / name) << "half";
    fs::create_directory(folder.path / ("dir" + dead + "-0"));
    EXPECT_EQ(removeStaleTemporaryFiles(folder.path.string()), 2);
    std::set<std::string> left = stay;
    left.insert("dir" + dead + "-0");
    EXPECT_EQ(folder.names(), left);
    EXPECT_EQ(removeStaleTemporaryFiles((folder.path / "none").string()), 0);
}
