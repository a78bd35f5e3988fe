#!/usr/bin/env bash
# Under a real window manager (openbox in Xvfb), the start of a game puts
# the main window's whole frame, title bar included, at the top-left corner
# of the screen and the status window's frame at the bottom right, as a
# window's Left and Top place its outer edge. A resumed game's status window
# has its settled height from the start: the window manager's frame, which
# comes some time after the window shows, is not added to it.
#   bash tests/scripts/wm_frames.sh <bin-dir>
set -euo pipefail

BIN="$(cd "${1:?usage: wm_frames.sh <bin-dir>}" && pwd)"
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
in_xvfb "$BIN" xdotool xwininfo openbox
game_sandbox "$BIN"

openbox >/dev/null 2>&1 &
WM_PID=$!
# The window manager is up once it names itself on the root window.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until "the window manager" 60 wm_running

# Both windows framed by the window manager (a frame is not the window itself).
framed() { local w; w=$(visible_named "$1" | head -n1) && [ -n "$w" ] && [ "$(frame_of "$w")" != "$w" ]; }
both_framed() { framed Capzel && framed "Game Status"; }
# The frames where the game puts them: the main window's at the top-left
# corner; for two players, the status window's at the right edge, its top
# 2010 twips (134 pixels) above the bottom, 1560 twips (104 pixels) high
# (the last row's rule plus 600 twips). The frame comes some time after the
# window shows: the places are read again until they hold, and the last
# reading is the one a failure names.
frames_placed() {
    local l t r b top
    read -r l t _ _ < <(edges "$(frame_of "$(main_window)")")
    read -r _ top r b < <(edges "$(frame_of "$(visible_named "Game Status" | head -n1)")")
    FRAMES="main frame at ($l, $t); status frame from y = $top to $b, right edge $r"
    [ "$l $t $r $top $((b - top))" = "0 0 1280 $((1024 - 134)) 104" ]
}
# Waits for both frames, then for the places to hold (30 s at most).
until_placed() {  # check
    local deadline=$(( $(date +%s) + 30 ))
    wait_until "both windows framed" 60 both_framed
    until "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "the frames are not where the game puts them: $FRAMES"
        sleep 0.1
    done
}

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
status_height_settled() {
    local top b
    read -r _ top _ b < <(edges "$(frame_of "$(visible_named "Game Status" | head -n1)")")
    FRAMES="the resumed game's status frame is $((b - top)) pixels high, not 104"
    [ $((b - top)) = 104 ]
}
until_placed status_height_settled
stop_game
