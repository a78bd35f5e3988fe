// What online play needs of the application that owns the game: the game
// host's session and events, the windows it shows its game in, and a game
// begun in a fresh main window. Online play reaches the application only
// through this, so the application may own it without the two depending on
// each other.
#pragma once

#include <functional>

#include "rules/Announcement.h"
#include "ui/windows/GameHost.h"

namespace capzel::ui {

class MainWindow;
class StatusWindow;

class OnlineHost : public GameHost {
public:
    // The current main window and the open status window (null when none).
    virtual MainWindow* mainWindow() const = 0;
    virtual StatusWindow* statusWindow() const = 0;
    // Begins a game in a fresh main window: `begin` builds it on the new
    // board and gives its first turn's announcements.
    virtual void beginGameInFreshWindow(const std::function<Judgement()>& begin) = 0;
};

}  // namespace capzel::ui
