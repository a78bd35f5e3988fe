// The main window's keyboard: every key-down goes to the access-word matcher
// of the hidden menu "Quince". The window passes on the key-downs of its
// top-level window, so keys reach here whichever control holds the focus
// (the "Go" button too), and shows or hides the menu after the call.
#include "controls/HiddenMenu.h"
#include "ui/frmMain.h"

namespace capzel::ui {

void frmMain::onKeyDown(int KeyCode, int Shift) {
    GameContext ctx = context();
    KeyMatcher(ctx, KeyCode, Shift);
}

}  // namespace capzel::ui
