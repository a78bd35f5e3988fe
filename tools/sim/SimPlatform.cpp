#include "SimPlatform.h"

#include "platform/RegularFile.h"
#include "platform/SafeWrite.h"

namespace capzel::sim {

bool SimPlatform::askYesNo(std::string_view text) {
    throw UnansweredQuestion("the game asked a question, which nobody can answer here: " + std::string(text));
}

std::string SimPlatform::inputBox(std::string_view prompt) {
    throw UnansweredQuestion("the game opened an input box, which nobody can answer here: " + std::string(prompt));
}

std::optional<std::string> SimPlatform::readFile(const std::string& path, std::size_t maxBytes) {
    return readRegularFile(path, maxBytes);
}

std::string SimPlatform::writeFile(const std::string& path, std::string_view content) {
    return writeFileSafely(path, content);
}

}  // namespace capzel::sim
