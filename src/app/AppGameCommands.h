// Helpers of the program's game commands (new game, load) that more than one
// window needs.
#pragma once

namespace capzel::ui {

class CapzelApp;
class StatusWindow;

// Runs the status command of the application (shows the status window, not
// modal) and gives the status window that is open afterwards, or null.
StatusWindow* showStatusWindow(CapzelApp& app);

}  // namespace capzel::ui
