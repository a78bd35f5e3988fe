#!/usr/bin/env bash
# The game in a real X window (Xvfb) driven by real input (xdotool): what only a real window shows.
#   bash tests/scripts/e2e_xvfb.sh <bin-dir>     screenshots: <build>/e2e-artifacts/classic
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" classic

BOX1_X=105 BOX1_Y=561  # client points: box 1's centre, where a new player's piece enters
charge() {  # a drag from the piece in box 1 upwards, let go: the power bar charges
    drag "$BOX1_X" "$BOX1_Y" "$BOX1_X" $((BOX1_Y - 80))
    wait_until "the power bar to fill" 60 bar_filling
}

step "the field at start-up (its pixels: ui_windows)"
start_game
shot "start"
no_box_waiting || fail "a box at start-up"

step "New, two players, Play; the game saved"
new_game Ann Bob
expect_box "^message: Ann's turn start.  Target: 2$" Return
shot "first-turn"
menu f s
file_dialog "Save Game" "$WORK/before.CSG"
wait_until "the saved file" 10 test -s "$WORK/before.CSG"
grep -q '^"Ann"," = Player 1 name"' "$WORK/before.CSG" || fail "Ann is not in the saved game"

step "aim by dragging from the piece, release: the bar charges; Esc calls it off"
charge
shot "charging"
[ "$(client_pixels $((BOX1_X - 3)) $((BOX1_Y - 75)) 7 60 'r>0.3 && g<0.15 && b<0.15')" -ge 5 ] ||
    fail "no aim line above Ann's piece"
keys_to_main Escape
wait_until "the power bar to go after Esc" 30 bar_gone
shot "charge-called-off"
no_box_waiting || fail "a box after Esc"

step "a shot (Enter at once: the bar stopped before its first tick) and the rules' boxes"
read -r ox oy < <(client_origin)
xdotool windowfocus --sync "$(main_window)" 2>/dev/null || true
xdotool mousemove $((ox + BOX1_X)) $((oy + BOX1_Y)) mousedown 1 mousemove $((ox + BOX1_X)) $((oy + BOX1_Y - 40)) \
    mousemove $((ox + BOX1_X + 20)) $((oy + BOX1_Y - 80)) mouseup 1 key Return
wait_until "the rules' first box" 30 box_appeared
answer_until "^message: Bob's turn start"
shot "second-turn"
[ "$(client_pixels 70 505 70 110 'r>0.8 && g<0.25 && b<0.25')" -ge 100 ] || fail "Bob's piece did not enter box 1"

step "the main window closed during a shot"
# The close goes right after the click on Go, with nothing looked up between. A window under a box
# takes no close: on a busy machine a short shot may end first, its box then shows that the close
# came too late, and once the box is answered the window is closed again, between shots.
closed_or_told() { window_gone Capzel || box_appeared; }
main=$(main_window)
charge
click_go
close_window "$main"
wait_until "the main window to close, or the shot's box" 60 closed_or_told
if ! window_gone Capzel; then
    echo "   the shot ended before the close came: its box answered, the window closed between shots"
    expect_box '' Return
    close_window "$main"
    wait_until "the main window to close" 60 window_gone Capzel
fi
game_alive || fail "the game ended while its status window was open"
window_shown "Game Status" || fail "the status window went with the main window"
no_box_waiting || fail "a rules' message for a closed window"
close_window "$(named "Game Status")"
expect_game_ends

echo "e2e: all steps passed; screenshots in $ARTIFACTS"
