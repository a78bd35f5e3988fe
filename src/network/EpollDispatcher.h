// An event dispatcher for a thread with thousands of sockets: Qt's own
// dispatchers (glib's and the Unix one) hand every socket to poll() on each
// wake-up and then look at every one of them, so that with a few thousand
// connections most of a server's thread went to finding the few that had
// something to say. This one keeps the sockets in an epoll set, so that a
// wake-up costs what happened, not what is open.
//
// It does what a Qt dispatcher does: posted events first, then the sockets
// that are ready, then the timers that are due (kept in deadline order, each
// fired at most once a pass, never while its own handler runs in a nested
// loop). Coarse timers are kept as precise ones.
//
// Linux only: makeEpollDispatcher() gives nothing elsewhere, and the thread
// keeps Qt's own. Install it before the thread's event loop exists
// (QCoreApplication::setEventDispatcher before the application is made).
#pragma once

#include <QAbstractEventDispatcher>

namespace capzel::network {

// A new epoll dispatcher, or nullptr where there is none.
QAbstractEventDispatcher* makeEpollDispatcher();

}  // namespace capzel::network
