// The drawn field (the picture fieldPicture): black, with a one-pixel white frame,
// the white outlines of the numbered boxes on their target regions with the
// bold numbers in them, and the centre octagon (box 13, the lettered boxes
// A to D and the four diagonals that close its outline). It never changes
// during a run, so the view renders it once into an image and blits it.
#pragma once

#include <QPixmap>
#include <QSize>

namespace capzel {
struct Board;
struct FieldMarkings;
}

namespace capzel::ui {

// The whole client area (black) with the drawn field at fieldPicture's place,
// rendered at the given device pixel ratio, the field `zoom` times its
// designed size.
QPixmap renderFieldBackground(const Board& board, const FieldMarkings& marks, QSize logicalSize, qreal devicePixelRatio,
                              double zoom = 1.0);

// The pixel rectangle of a region's outline: its edges lie on the
// region's edges, inside it.
QRect outlineRect(float left, float top, float width, float height);

}  // namespace capzel::ui
