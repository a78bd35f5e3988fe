#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace capzel {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool isRegular(int statResult, const struct stat& st) { return statResult == 0 && S_ISREG(st.st_mode); }

}  // namespace

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
    struct stat st {};
    if (!isRegular(::stat(path.c_str(), &st), st)) return std::nullopt;
    // Opened without waiting, should the path have become a pipe since the
    // look above, and what was opened is looked at again.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || !isRegular(::fstat(file.fd, &st), st)) return std::nullopt;

    std::string bytes;
    bytes.reserve(std::min(maxBytes, std::size_t(st.st_size) + 1));
    char buffer[kChunk];
    while (bytes.size() < maxBytes) {
        const ssize_t n = ::read(file.fd, buffer, std::min(kChunk, maxBytes - bytes.size()));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        bytes.append(buffer, std::size_t(n));
    }
    return bytes;
}

bool isSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

}  // namespace capzel
