#!/usr/bin/env bash
# The game as a player meets it, in a real X window (Xvfb) driven by real input events (xdotool):
# the field at start-up; a two-player game from File > New, saved through the real file dialog; a
# charge called off with Esc; a shot and its rules' message; the shot taken back with Ctrl+Z and
# played again with Space held, ending where it ended at normal pace; and the main window closed
# during a shot, the program ending cleanly once the status window goes too. What needs no real
# window is tested offscreen. Screenshots in <build>/e2e-artifacts/classic.
#   bash tests/scripts/e2e_xvfb.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" classic

# Client points: box 1's centre (where a new player's piece enters), the holder's first place.
BOX1_X=105 BOX1_Y=561
HOLDER_X=698 HOLDER_Y=18

# A drag from the piece in box 1 upwards, let go: the power bar charges.
charge() {
    drag "$BOX1_X" "$BOX1_Y" "$BOX1_X" $((BOX1_Y - 80))
    wait_until "the power bar to fill" 60 bar_filling
}

# The game kept on disk names the given current turn.
autosave_at_turn() { grep -q "^$1,\" = Current turn\"" "$(autosave_file)" 2>/dev/null; }

# A shot from Ann's piece with Enter at once (the bar stopped before its first tick: always the
# same strength) and any extra keys right after; the rules' boxes answered up to Bob's turn and
# the game kept on disk copied to $1.
shot_to_bobs_turn() {
    local out="$1" ox oy; shift
    read -r ox oy < <(client_origin)
    xdotool windowfocus --sync "$(main_window)" 2>/dev/null || true
    xdotool mousemove $((ox + BOX1_X)) $((oy + BOX1_Y)) mousedown 1 mousemove $((ox + BOX1_X)) $((oy + BOX1_Y - 40)) \
        mousemove $((ox + BOX1_X + 20)) $((oy + BOX1_Y - 80)) mouseup 1 key Return "$@"
    wait_until "the rules' first box" 30 box_appeared
    xdotool keyup space 2>/dev/null || true
    answer_until "^message: Bob's turn start"
    wait_until "the game kept at Bob's turn" 10 autosave_at_turn 2
    cp "$(autosave_file)" "$out"
}

step "the field at start-up"
start_game
shot "start"
expect_colour 72 60 "$WHITISH" "box 3's outline"
expect_colour 60 100 "$BLACKISH" "the field"
expect_colour 356 161 "$REDDISH" "a red wall"
no_box_waiting || fail "a box at start-up"

step "New, two players, Play; the game saved"
new_game Ann Bob
expect_box "^message: Ann's turn start.  Target: 2$" Return
shot "first-turn"
expect_colour "$BOX1_X" "$BOX1_Y" "$WHITISH" "Ann's piece on box 1"
expect_colour "$HOLDER_X" "$HOLDER_Y" "$REDDISH" "Bob's piece in the holder"
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

step "a shot and the rules' message"
shot_to_bobs_turn "$WORK/normal.CSG"
shot "second-turn"
[ "$(client_pixels 70 505 70 110 "$REDDISH")" -ge 100 ] || fail "Bob's piece did not enter box 1"

step "the shot taken back with Ctrl+Z, then played again with Space held"
keys_to_main ctrl+z
expect_box "^question: Take back the last shot" y
wait_until "the game kept back at Ann's turn" 10 autosave_at_turn 1
cmp -s "$(autosave_file)" "$WORK/before.CSG" || fail "the shot taken back did not restore the game"
shot_to_bobs_turn "$WORK/fast.CSG" keydown space
cmp "$WORK/normal.CSG" "$WORK/fast.CSG" >&2 || fail "the fast-forwarded shot ended elsewhere"

step "the main window closed during a shot"
charge
click_go
close_window "$(main_window)"
wait_until "the main window to close" 60 sh -c '! xdotool search --onlyvisible --name "^Capzel\$" >/dev/null'
game_alive || fail "the game ended while its status window was open"
window_shown "Game Status" || fail "the status window went with the main window"
no_box_waiting || fail "a rules' message for a closed window"
close_window "$(visible_named "Game Status" | head -n1)"
expect_game_ends

echo "e2e: all steps passed; screenshots in $ARTIFACTS"
