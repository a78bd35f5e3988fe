// The game's way to the player through Qt: message, question and input
// boxes, the paced yields, the clock, the beep, the busy pointer, the file
// dialogs, files and the desktop. One belongs to each main window; its
// yields report when that window has been closed or replaced.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "platform/Platform.h"
#include "ui/YieldPacer.h"

namespace capzel::ui {

class CapzelApp;
class frmMain;

class QtPlatform : public Platform {
public:
    // Repaints during a loop come at most this often (about 120 a second):
    // an engine step (about 18 ms) is painted once, the power bar's much
    // faster ticks at the screen's pace.
    static constexpr qint64 kMinFrameIntervalMs = 8;

    QtPlatform(frmMain& window, CapzelApp& app);

    void message(std::string_view text) override;
    bool askYesNo(std::string_view text) override;
    std::string inputBox(std::string_view prompt) override;
    [[nodiscard]] bool yield(long count) override;
    double clock() override;
    void beep() override;
    void setBusy(bool busy) override;
    void showHighScores() override;
    std::string chooseFileToOpen(std::string_view filter, std::string_view pattern,
                                 std::string_view startFolder) override;
    std::string chooseFileToSave(std::string_view filter, std::string_view pattern) override;
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    std::string writeFile(const std::string& path, std::string_view content) override;
    void openUrl(std::string_view url) override;

    // Ends the loops that are yielding at this moment (a shot, a charge):
    // each of their pending yields returns false, as if the window had gone,
    // while loops started afterwards run as usual. For a command that
    // replaces the running game without replacing the window (a load).
    // True when a loop was running.
    bool abandonRunningLoops();

    // How many beeps every platform of the program has sounded so far (a
    // beep leaves no other trace a test could see).
    static int beepsSounded();

private:
    bool windowAlive() const;
    bool currentYieldAbandoned() const { return yieldDepth_ > 0 && abandonDepth_ >= yieldDepth_; }
    void processEventsOnce();
    void waitUntil(YieldPacer::Clock::time_point deadline);

    QPointer<frmMain> window_;
    CapzelApp& app_;
    YieldPacer pacer_;
    QTimer wake_;             // ends a wait for events at the deadline
    QElapsedTimer lastFrame_; // when a repaint was last asked for
    int busyDepth_ = 0;
    int yieldDepth_ = 0;    // yields in progress, nested through the events they handle
    int abandonDepth_ = 0;  // yields at this depth or below report their loop ended
    // The clock: seconds since midnight read once a second from the local
    // time, and in between advanced by the steady clock (the local time is
    // costly to read, and the game reads the clock in tight loops).
    double clockBaseSeconds_ = -1;
    YieldPacer::Clock::time_point clockBaseSteady_{};
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
