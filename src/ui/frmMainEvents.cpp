// The main window's handlers for the field's mouse input and the "Go"
// button. The window maps the toolkit's events to the values these receive
// (button and shift sets, window twips) and brings the menus and the picture
// up to date after each one returns; a release that starts the power bar
// leaves the charge to the window's clock.
//
// The field picture Image1 is painted inside the client area by the field
// view, so a move or release over it already arrives here in window twips:
// its own coordinates plus Image1's Left and Top.
#include "ui/frmMain.h"

namespace capzel::ui {

// Aiming and hand placement of the current player's piece.
void frmMain::Form_MouseMove(int Button, int Shift, float X, float Y) { turn_.mouseMove(Button, Shift, X, Y); }

// A release starts the power bar; "Go" fires the shot.
void frmMain::Form_MouseUp(int, int, float, float) { turn_.mouseUp(); }

// Stops the power bar.
void frmMain::cmdGo_Click() { turn_.goClicked(); }

}  // namespace capzel::ui
