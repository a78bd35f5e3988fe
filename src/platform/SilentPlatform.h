// A platform without a window, for runs with nobody watching (the headless
// simulator, the benchmarks): the clock stands still, messages are kept in order, questions get the cancel answer, and nothing
// touches the disk, the desktop or the speaker.
//
// With the clock standing still the shot engine's speed calibration measures
// no time and picks its longest delay, which a run with nobody watching
// never waits for.
//
// Runs that need more (the simulator's files) override the calls they use.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace capzel {

class SilentPlatform : public Platform {
public:
    std::vector<std::string> messages;  // every message box text, in order

    void message(std::string_view text) override { messages.emplace_back(text); }
    bool askYesNo(std::string_view) override { return false; }
    std::string inputBox(std::string_view) override { return {}; }
    double clock() override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
    std::string chooseFileToOpen(std::string_view, std::string_view, std::string_view) override { return {}; }
    std::string chooseFileToSave(std::string_view, std::string_view) override { return {}; }
    std::optional<std::string> readFile(const std::string&, std::size_t) override { return std::nullopt; }
    std::string writeFile(const std::string&, std::string_view) override {
        return "Files cannot be written without a window.";
    }
};

}  // namespace capzel
