// What each control of the new-game dialog does, told in its tooltip, so
// that a first game needs no manual. The friction options keep their
// level's name as their tooltip; what the level does is their What's This,
// and the row of options says it in its own tooltip.
#pragma once

#include <QString>

#include "model/Friction.h"

namespace capzel::ui {

class NewGameDialog;

// What a friction level does: its name, how far a piece slides at it and
// the points it starts with.
QString frictionTip(FrictionLevel level);

// Gives every control of the dialog but the seat choices its tooltip.
void addNewGameTips(NewGameDialog& dialog);

}  // namespace capzel::ui
