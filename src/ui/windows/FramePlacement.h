// Places a top-level window by its outer frame, title bar included, the way
// a window's Left and Top place its outer edge.
//
// A window manager tells the frame's size only some time after the window
// is shown; a move made before that places the client area where the frame
// should go, and the frame then hangs off the screen. So the window is
// moved at once, and moved again as soon as the frame becomes known (within
// a short time after showing; a window without a frame keeps the first
// place).
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <functional>

class QWidget;

namespace capzel::ui {

// Moves `window`'s frame to the point `where` gives (asked again once the
// frame is known, as the frame's size may enter into it).
void placeFrame(QWidget& window, std::function<QPoint()> where);

// Calls `then` once `window`'s frame is known: at once when it already is,
// otherwise as soon as it appears, looking first when the events at hand
// have been handled (the toolkit's own frame comes with the showing). Not
// at all when no frame appears within the watch, or the window goes.
void whenFrameKnown(QWidget& window, std::function<void()> then);

// Where a frame of `frame`'s size may stand within `room`, as near as can
// be to `frame`'s place, overlapping none of `others`: beside or above or
// below one of them, or in a corner of the room; else made smaller, down
// to `smallest` (none: not smaller), to fit the room beside, above or below
// one of them. When there is no such place, `frame` moved within the room
// (as far as its size allows).
QRect clearPlace(const QRect& frame, const QList<QRect>& others, const QRect& room, QSize smallest = {});

// The frames of the program's other windows on screen (not menus, tooltips
// or `window` itself).
QList<QRect> otherWindowFrames(const QWidget& window);

// Places `window` (shown) whole on its screen, near where `where` puts its
// frame but clear of the program's other windows when there is room (made
// smaller for it, as far as its minimum size allows), and brings it to the
// front: asked again once the frame is known. A window larger than the
// screen's free area is made to fit it first.
void placeClear(QWidget& window, std::function<QPoint()> where);

// The frame's edges around `window`'s client area: its own when known,
// otherwise those of another top-level window already framed, otherwise
// none.
QMargins frameMarginsOf(const QWidget& window);

// The height the frame adds to the window's client area: the window's own
// when known, otherwise that of another top-level window already framed
// (the window manager decorates them alike), otherwise 0.
int frameExtraHeight(const QWidget& window);

}  // namespace capzel::ui
