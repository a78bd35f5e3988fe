// The one interface through which the game reaches the outside world:
// message boxes, input boxes, the clock, the beep and the sound effects,
// the busy pointer, the common dialogs and files.
//
// The Qt windows implement it for the real game, the tests with a scripted
// fake that records every message and answers every question, and the
// headless simulator with a silent one. The core never includes anything
// else of the user interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace capzel {

// The sounds of the game beside its music: a piece hitting a piece, an
// inner wall or the board's edge, a piece landing in its target, a kill
// and a win.
enum class SoundEffect { PieceHit, WallHit, EdgeHit, Target, Kill, Win };

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box titled "Capzel" with an OK button and no icon.
    // Returns when the player has closed it. Text lines are separated by "\r\n".
    virtual void message(std::string_view text) = 0;

    // A modal box titled "Capzel" with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view text) = 0;

    // An input box titled "Capzel": the prompt, an empty field, OK and
    // Cancel. Cancel gives the empty answer.
    virtual std::string inputBox(std::string_view prompt) = 0;

    // Seconds since midnight, as coarse as the system's timer.
    virtual double clock() = 0;

    // One short system beep.
    virtual void beep() = 0;

    // One sound effect, `loudness` from 1 (faint) to 127 (hardest). Silent
    // unless the platform plays effects.
    virtual void playSound(SoundEffect effect, int loudness) {
        (void)effect;
        (void)loudness;
    }

    // Shows or restores the busy mouse pointer.
    virtual void setBusy(bool busy) = 0;

    // The common file dialogs. `filter` is the description shown to the
    // player, e.g. "Capzel save game (*.CSG)"; `pattern` the file pattern.
    // Both return the empty text when the player cancels.
    virtual std::string chooseFileToOpen(std::string_view filter, std::string_view pattern,
                                         std::string_view startFolder) = 0;
    virtual std::string chooseFileToSave(std::string_view filter, std::string_view pattern) = 0;

    // Whole-file access. readFile gives at most `maxBytes` bytes from the
    // start of a regular file (links followed), and nothing when the path
    // is missing, is not a regular file (a folder, a device, a named pipe)
    // or cannot be read; a caller that must tell a file beyond its limit
    // asks for one byte more. writeFile replaces the file safely (a
    // temporary file, every step checked, renamed over the old one, which
    // stays as it was on any failure) and gives the empty text on success,
    // otherwise a sentence that says what went wrong. It never replaces
    // what is not a regular file.
    virtual std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) = 0;
    virtual std::string writeFile(const std::string& path, std::string_view content) = 0;
};

}  // namespace capzel
