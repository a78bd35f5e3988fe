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
sleep 1

step "a new game under a window manager"
start_game
new_game Ann Bob
expect_box "^message: Ann's turn start" Return
sleep 0.5

read -r l t _ _ < <(edges "$(frame_of "$(main_window)")")
[ "$l $t" = "0 0" ] || fail "the main window's frame is at ($l, $t), not at the top-left corner"
status=$(visible_named "Game Status" | head -n1)
[ -n "$status" ] || fail "no status window"
# Two players: the frame's top is 2010 twips (134 pixels) above the bottom.
read -r _ top r b < <(edges "$(frame_of "$status")")
[ "$r" = 1280 ] || fail "the status window's frame ends at x = $r, not at the screen's right edge"
[ "$top" = $((1024 - 134)) ] || fail "the status window's frame starts at y = $top, not 134 pixels above the bottom"
# Two players: the last row's rule plus 600 twips, 1560 twips (104 pixels).
[ $((b - top)) = 104 ] || fail "the status window's frame is $((b - top)) pixels high, not 104"
stop_game

step "a resumed game's status window"
KEEP_AUTOSAVE=1 start_game
expect_box "^question: " y
expect_box "^message: Ann's turn start" Return
sleep 0.5
status=$(visible_named "Game Status" | head -n1)
[ -n "$status" ] || fail "no status window after the resume"
read -r _ top _ b < <(edges "$(frame_of "$status")")
[ $((b - top)) = 104 ] || fail "the resumed game's status frame is $((b - top)) pixels high, not 104"
stop_game
