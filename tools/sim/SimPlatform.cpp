#include "SimPlatform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/RegularFile.h"

namespace capzel::sim {

namespace fs = std::filesystem;

bool SimPlatform::askYesNo(std::string_view text) {
    throw UnansweredQuestion("the game asked a question, which nobody can answer here: " + std::string(text));
}

std::string SimPlatform::inputBox(std::string_view prompt) {
    throw UnansweredQuestion("the game opened an input box, which nobody can answer here: " + std::string(prompt));
}

std::optional<std::string> SimPlatform::readFile(const std::string& path, std::size_t maxBytes) {
    return readRegularFile(path, maxBytes);
}

// Writes a temporary file beside the target and renames it over the target
// once it is complete, so that a failed write leaves the old file whole.
std::string SimPlatform::writeFile(const std::string& path, std::string_view content) {
    const fs::path target(path);
    fs::path temp = target;
    temp += ".capzel-sim-tmp";
    const auto failure = [&](const std::string& what, const std::string& why) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "The file \"" + path + "\" could not be " + what + ": " + why + ".";
    };
    if (isSpecialFile(path)) return failure("replaced", "it is not a regular file");
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return failure("created", errno ? std::strerror(errno) : "cannot open it");
        out.write(content.data(), std::streamsize(content.size()));
        out.close();
        if (!out) return failure("written", errno ? std::strerror(errno) : "write error");
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) return failure("saved", ec.message());
    return {};
}

}  // namespace capzel::sim
