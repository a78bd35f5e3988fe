// A scripted platform: records messages and sounds, answers from queues, counts beeps, keeps a clock.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/GameContext.h"
#include "platform/Platform.h"

namespace capzel::test {

class FakePlatform : public Platform {
public:
    std::vector<std::string> messages;      // every message box, in order
    std::vector<std::string> questions;     // every yes/no and input prompt, in order
    std::deque<bool> yesNoAnswers;          // answers to askYesNo; No when empty
    std::deque<std::string> inputAnswers;   // answers to inputBox; "" (Cancel) when empty
    std::deque<std::string> openAnswers;    // answers to chooseFileToOpen
    std::deque<std::string> saveAnswers;    // answers to chooseFileToSave
    std::map<std::string, std::string> files;  // an in-memory file system
    std::string writeError;                 // when set, every writeFile fails with it

    long yields = 0;            // total yields asked for
    double clockNow = 0;        // seconds since midnight
    double secondsPerYield = 0; // how far the clock moves per yield
    int beeps = 0;
    std::vector<std::pair<SoundEffect, int>> sounds;  // every sound effect and its loudness, in order
    int busyDepth = 0;

    std::function<void()> onYield;  // at every wait, after the clock moved: "Go" or a command between steps
    std::function<void(const std::string&)> onMessage;  // for each message right after it is recorded

    void message(std::string_view text) override {
        messages.emplace_back(text);
        if (onMessage) onMessage(messages.back());
    }
    bool askYesNo(std::string_view text) override {
        questions.emplace_back(text);
        return pop(yesNoAnswers, false);
    }
    std::string inputBox(std::string_view prompt) override {
        questions.emplace_back(prompt);
        return pop(inputAnswers, {});
    }
    // Pays a wait of `count` yields; false when the window is gone (never here).
    virtual bool yield(long count) {
        if (count > 0) {
            yields += count;
            clockNow += secondsPerYield * double(count);
        }
        if (onYield) onYield();
        return true;
    }
    double clock() override { return clockNow; }
    void beep() override { ++beeps; }
    void playSound(SoundEffect effect, int loudness) override { sounds.emplace_back(effect, loudness); }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    std::string chooseFileToOpen(std::string_view, std::string_view, std::string_view) override {
        return pop(openAnswers, {});
    }
    std::string chooseFileToSave(std::string_view, std::string_view) override { return pop(saveAnswers, {}); }
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.substr(0, maxBytes);
    }
    std::string writeFile(const std::string& path, std::string_view content) override {
        if (!writeError.empty()) return writeError;
        files[path] = std::string(content);
        return {};
    }

private:
    template <class T>
    static T pop(std::deque<T>& q, T none) {
        if (q.empty()) return none;
        none = std::move(q.front());
        q.pop_front();
        return none;
    }
};

// A game played through the scripted platform.
struct GameFixture {
    Game g;
    FakePlatform ui;
    GameContext ctx{g, ui};
};

}  // namespace capzel::test
