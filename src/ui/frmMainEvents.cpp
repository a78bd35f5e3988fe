// The main window's handlers for the field's mouse input, the "Go" button
// and the keyboard. The window maps the toolkit's events to the values
// these receive (button and shift sets, window twips, virtual-key codes)
// and brings the menus and the picture up to date after each one returns.
//
// The field picture Image1 is painted inside the client area by the field
// view, so a move or release over it already arrives here in window twips:
// its own coordinates plus Image1's Left and Top.
#include "controls/Aiming.h"
#include "ui/frmMain.h"

namespace capzel::ui {

// Aiming and hand placement of the current player's piece.
void frmMain::Form_MouseMove(int Button, int Shift, float X, float Y) {
    if (closing_) return;
    GameContext ctx = context();
    capzel::Form_MouseMove(ctx, Button, Shift, X, Y);
}

// A release starts the power bar; "Go" fires the shot. The charge and the
// shot run in here, repainting the field through the platform's yields, and
// return early once the window has been closed or replaced.
void frmMain::Form_MouseUp(int Button, int Shift, float X, float Y) {
    if (closing_) return;
    GameContext ctx = context();
    capzel::Form_MouseUp(ctx, Button, Shift, X, Y);
}

// Stops the power bar.
void frmMain::cmdGo_Click() {
    if (closing_) return;
    GameContext ctx = context();
    capzel::cmdGo_Click(ctx);
}

}  // namespace capzel::ui
