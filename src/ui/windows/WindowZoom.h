// Fonts and places of a window shown larger than its designed size.
#pragma once

#include <QFont>
#include <QSize>
#include <functional>

class QWidget;

namespace capzel::ui {

// The same type `zoom` times as large, to a fraction of a point (or to the
// pixel, for a font sized in pixels).
QFont zoomedFont(const QFont& base, double zoom);

// Gives `widget` the font it would have of its own, `zoom` times as large;
// at zoom 1 it takes that font back untouched.
void zoomFont(QWidget& widget, double zoom);

// Moves a top-level window, frame included, as little as needed to lie
// within the free area of its screen; a window larger than that keeps its
// top left corner there, where its title bar and menus can be reached.
void keepOnScreen(QWidget& window);

// The largest of the sizes a player can choose (in percent) at which a
// window whose outer size at a zoom `outerAt` gives fits within `room`;
// the designed size (100) when none does.
int fittingSizePercent(const QSize& room, const std::function<QSize(double zoom)>& outerAt);

}  // namespace capzel::ui
