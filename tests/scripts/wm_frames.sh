#!/usr/bin/env bash
# Under a real window manager (openbox in Xvfb), the start of a game puts the main window's whole
# frame, title bar included, at the top-left corner of the screen and the status window's frame at
# the bottom right, as a window's Left and Top place its outer edge. A resumed game's status window
# has its settled height from the start: the frame, which comes some time after the window shows,
# is not added to it. Screenshots in <build>/e2e-artifacts/frames.
#   bash tests/scripts/wm_frames.sh <bin-dir>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" frames openbox xwininfo xprop
start_wm

status_frame() { frame_of "$(visible_named "Game Status" | head -n1)"; }
framed() { local w; w=$(visible_named "$1" | head -n1) && [ -n "$w" ] && [ "$(frame_of "$w")" != "$w" ]; }
# For two players, the status frame's top 134 pixels (2010 twips) above the bottom, 104 high (the
# last row's rule plus 600 twips). The frames come after the windows show: read until they hold.
frames_placed() {
    local l t r b top
    read -r l t _ _ < <(edges "$(frame_of "$(main_window)")")
    read -r _ top r b < <(edges "$(status_frame)")
    FRAMES="main frame at ($l, $t); status frame from y = $top to $b, right edge $r"
    [ "$l $t $r $top $((b - top))" = "0 0 1280 $((1024 - 134)) 104" ]
}
status_height_settled() {
    local top b
    read -r _ top _ b < <(edges "$(status_frame)")
    FRAMES="the resumed game's status frame is $((b - top)) pixels high, not 104"
    [ $((b - top)) = 104 ]
}
until_placed() {  # check
    local deadline=$(( $(date +%s) + 30 ))
    wait_until "both windows framed" 60 both_framed
    until "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "the frames are not where the game puts them: $FRAMES"
        sleep 0.1
    done
    shot "$1"
}
both_framed() { framed Capzel && framed "Game Status"; }

step "a new game under a window manager"
start_game
new_game Ann Bob
expect_box "^message: Ann's turn start" Return
until_placed frames_placed
stop_game

step "a resumed game's status window"
KEEP_AUTOSAVE=1 start_game
expect_box "^question: " y
expect_box "^message: Ann's turn start" Return
until_placed status_height_settled
stop_game
echo "wm_frames: all checks passed"
