// The simulator's platform: the silent one (no window, messages kept in
// order, a clock that stands still), except that
// both file dialogs answer with the file named on the command line and files
// are read and written on disk as the game reads and writes them
// (platform/RegularFile.h, platform/SafeWrite.h).
//
// A question or an input box cannot occur in the runs the simulator plays:
// one that does is a fault of the run and ends it (UnansweredQuestion).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/SilentPlatform.h"

namespace capzel::sim {

class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SimPlatform final : public SilentPlatform {
public:
    std::string chosenFile;   // what the file dialogs answer

    bool askYesNo(std::string_view text) override;
    std::string inputBox(std::string_view prompt) override;
    std::string chooseFileToOpen(std::string_view, std::string_view, std::string_view) override { return chosenFile; }
    std::string chooseFileToSave(std::string_view, std::string_view) override { return chosenFile; }
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    std::string writeFile(const std::string& path, std::string_view content) override;
};

}  // namespace capzel::sim
