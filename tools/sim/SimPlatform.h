// The simulator's platform: no window, nobody to answer. Message boxes are
// kept in order; the clock stands still and yields return at once (so the
// engine's calibration picks its longest delay and the shot costs one empty
// call per step); both file dialogs answer with the file named on the
// command line; files are read and written on disk, a write replacing the
// old file only once the new one is complete.
//
// A question or an input box cannot occur in the runs the simulator plays:
// one that does is a fault of the run and ends it (UnansweredQuestion).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace capzel::sim {

class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SimPlatform final : public Platform {
public:
    std::vector<std::string> messages;  // every message box text, in order
    int highScoresShown = 0;            // times the High Scores action ran
    std::string chosenFile;             // what the file dialogs answer

    void message(std::string_view text) override { messages.emplace_back(text); }
    bool askYesNo(std::string_view text) override;
    std::string inputBox(std::string_view prompt) override;
    bool yield(long) override { return true; }
    double clock() override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
    void showHighScores() override { ++highScoresShown; }
    std::string chooseFileToOpen(std::string_view, std::string_view, std::string_view) override { return chosenFile; }
    std::string chooseFileToSave(std::string_view, std::string_view) override { return chosenFile; }
    std::optional<std::string> readFile(const std::string& path) override;
    std::string writeFile(const std::string& path, std::string_view content) override;
    void openUrl(std::string_view) override {}
};

}  // namespace capzel::sim
