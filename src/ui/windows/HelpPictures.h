// The small pictures of "How to Play", drawn by the game's own field view
// from a made-up game on a field of their own: nothing of the running game
// is read or changed.
#pragma once

#include <QPixmap>

namespace capzel::ui {

enum class HelpPicture {
    Aiming,  // a piece in box 1 with the aim line dragged back from it
    Bar,     // the power bar filling and "Go", after the release
    Course,  // the whole field, the next target outlined
    Killer,  // a killer ringed, the pieces it can take ringed with dashes
};

// The picture, `width` pixels wide (its height follows the part of the
// field it shows).
QPixmap helpPicture(HelpPicture which, int width);

}  // namespace capzel::ui
