// The internet test of the Help menu. There is no dial-up service to ask on
// this system, so the answer comes from the system's network state as Qt's
// network information reports it.
#pragma once

namespace capzel::ui {

// True when the system reports a connection to the internet. When no
// network-information backend can be loaded, or the backend cannot tell
// (reachability unknown), the answer is true: the desktop then tries to
// open the page or mail link itself rather than the game refusing the
// player on a guess.
bool isConnected();

}  // namespace capzel::ui
