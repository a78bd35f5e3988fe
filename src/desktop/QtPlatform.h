// The game's way to the player through Qt: message, question and input
// boxes, the clock, the beep, the busy pointer, the file dialogs, files and
// the desktop. One belongs to each main window, whose boxes and dialogs it
// opens. Before a box opens, whoever owns it brings what the box speaks of
// up to date on screen (beforeBox).
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>

#include "platform/Platform.h"

namespace capzel::ui {

class QtPlatform : public Platform {
public:
    // Boxes and dialogs open over `window`.
    explicit QtPlatform(QWidget* window);

    // Called before every box and dialog: the field and the status window
    // are brought up to date, so the player sees what the box speaks of.
    std::function<void()> beforeBox;

    // What a beep sounds like: the system's beep (a test may count them).
    std::function<void()> sound;
    // Plays the game's sound effects; none: they are silent (the player
    // turned them off).
    std::function<void(SoundEffect effect, int loudness)> effect;
    // The internet test of the Help menu: the system's answer (a test may
    // give its own).
    std::function<bool()> connected;
    // True while nobody at the board plays the turn (a computer's): the
    // game's messages then close by themselves after passingMessageMs.
    // Questions and input boxes always wait for an answer.
    std::function<bool()> unattended;
    int passingMessageMs = 2000;

    void message(std::string_view text) override;
    // A message that closes by itself after passingMessageMs when `passing`.
    void announce(std::string_view text, bool passing);
    bool askYesNo(std::string_view text) override;
    std::string inputBox(std::string_view prompt) override;
    double clock() override;
    void beep() override;
    void playSound(SoundEffect effect, int loudness) override;
    void setBusy(bool busy) override;
    std::string chooseFileToOpen(std::string_view filter, std::string_view pattern,
                                 std::string_view startFolder) override;
    std::string chooseFileToSave(std::string_view filter, std::string_view pattern) override;
    // The game's own file dialog titled `title` (the platform's two above
    // are "Load Game" and "Save Game"): a file to open, from `startFolder`,
    // or a name to save under.
    enum class FileDialog { Open, Save };
    std::string chooseFile(FileDialog kind, const QString& title, std::string_view filter, std::string_view pattern,
                           std::string_view startFolder);
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    std::string writeFile(const std::string& path, std::string_view content) override;
    // Opens a web address or mail link through the desktop; failures are
    // not reported.
    void openUrl(std::string_view url);

private:
    void showCurrentState();

    QPointer<QWidget> window_;
    int busyDepth_ = 0;
    // The clock: seconds since midnight read once a second from the local
    // time, and in between advanced by the steady clock (the local time is
    // costly to read, and the game reads the clock in tight loops).
    double clockBaseSeconds_ = -1;
    std::chrono::steady_clock::time_point clockBaseSteady_{};
};

// The game's texts separate lines with "\r\n"; the toolkit wants "\n".
QString displayText(std::string_view text);

// The toolkit's filter for a description and a pattern: the description as
// it stands when it names the pattern, e.g. "Capzel save game (*.CSG)",
// otherwise with the pattern added. The game's own file dialogs (never the
// desktop's) match patterns whatever the case of the names, so "game.csg"
// is offered beside "GAME.CSG" without a second pattern in the text.
QString fileDialogFilter(std::string_view filter, std::string_view pattern);

}  // namespace capzel::ui
