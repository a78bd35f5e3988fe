#include "platform/SafeWrite.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "platform/RegularFile.h"

namespace capzel {

namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& path, const char* step, const std::string& why) {
    return "The file \"" + path + "\" could not be " + step + ": " + why + ".";
}

std::string lastError() { return std::strerror(errno); }

// A temporary file is named after its target: "<target>.capzel-<pid>-<n>".
constexpr const char* kTemporaryMark = ".capzel-";

// The process that wrote the temporary file of that name, if it is one.
std::optional<long> writerOf(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos) return std::nullopt;
    const std::string_view rest = std::string_view(name).substr(mark + std::string_view(kTemporaryMark).size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size()) return std::nullopt;
    if (rest.find_first_not_of("0123456789-") != std::string_view::npos || rest.find('-', dash + 1) != std::string_view::npos)
        return std::nullopt;
    long pid = 0;
    for (char c : rest.substr(0, dash)) pid = pid * 10 + (c - '0');
    return pid;
}

// A temporary file beside `target` under a name nobody else uses, created
// afresh (never through a link) with the permissions a new file gets. It is
// removed again unless it has been renamed.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        static std::atomic<unsigned> serial{0};
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            name_ = target + kTemporaryMark + std::to_string(::getpid()) + "-" + std::to_string(serial++);
            fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        created_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        const int saved = errno;
        if (fd_ >= 0) ::close(fd_);
        if (created_) ::unlink(name_.c_str());
        errno = saved;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }

    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool renameTo(const std::string& target) {
        if (::rename(name_.c_str(), target.c_str()) != 0) return false;
        created_ = false;
        return true;
    }

private:
    std::string name_;
    int fd_ = -1;
    bool created_ = false;
};

// Makes the folder's entries (the rename) last. A file system that cannot
// sync a folder says EINVAL; it has nothing more to do.
bool syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return synced;
}

}  // namespace

std::string writeFileSafely(const std::string& path, std::string_view content) {
    if (isSpecialFile(path)) return failure(path, "replaced", "it is not a regular file");
    // The file a link points at is the one replaced.
    std::error_code ec;
    const std::string target = fs::exists(path, ec) ? fs::canonical(path, ec).string() : path;
    if (ec) return failure(path, "created", ec.message());

    TemporaryFile temp(target);
    if (temp.fd() < 0) return failure(path, "created", lastError());
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(temp.fd(), old.st_mode & 07777) != 0)
        return failure(path, "created", lastError());
    if (!writeAllAt(temp.fd(), content, 0) || ::fsync(temp.fd()) != 0 || !temp.close())
        return failure(path, "written", lastError());
    if (!temp.renameTo(target)) return failure(path, "saved", lastError());
    if (!syncFolder(fs::path(target).parent_path())) return failure(path, "saved", lastError());
    return {};
}

int removeStaleTemporaryFiles(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const std::optional<long> pid = writerOf(name);
        if (!pid || *pid <= 0 || !entry.is_regular_file(ec)) continue;
        // A program that still runs (or that this one may not signal) may be
        // writing it.
        if (*pid == long(::getpid()) || ::kill(pid_t(*pid), 0) == 0 || errno != ESRCH) continue;
        if (fs::remove(entry.path(), ec)) ++removed;
    }
    return removed;
}

bool writeAllAt(int fd, std::string_view bytes, std::size_t at) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(at + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

}  // namespace capzel
