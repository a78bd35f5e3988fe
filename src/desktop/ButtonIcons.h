// Icons on the standard buttons of boxes and dialogs (OK, Cancel, Yes, No),
// which some desktops' themes add: a helper, off in the classic look, where
// every button shows its caption alone.
#pragma once

namespace capzel::ui {

// Takes effect for every box and dialog opened from now on.
void setButtonIcons(bool on);
bool buttonIcons();

}  // namespace capzel::ui
