#!/usr/bin/env bash
# The whole game as a player meets it, in a real X window (Xvfb) driven by
# real input events (xdotool): a two-player game from File > New to a shot
# and its rules' message, the status window, saving and loading, New, Exit
# and closing the window while a shot or a charge runs, and a won game
# reached through the hidden commands up to the high-score table, and two
# computer players who play a loaded game to its winner. What needs
# no real window (the other commands during a loop) is tested offscreen.
#
# Screenshots of the main steps are kept in <build>/e2e-artifacts.
#   bash tests/scripts/e2e_xvfb.sh <bin-dir>
set -euo pipefail

BIN="$(cd "${1:?usage: e2e_xvfb.sh <bin-dir>}" && pwd)"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$HERE/lib/common.sh"
[ -x "$BIN/xclose" ] || { echo "missing $BIN/xclose (needs libx11-dev)" >&2; exit 1; }
in_xvfb "$BIN" xdotool import convert
game_sandbox "$BIN"
ARTIFACTS="$(cd "$BIN/.." && pwd)/e2e-artifacts"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
source "$HERE/../e2e/e2e_scenarios.sh"
source "$HERE/../e2e/e2e_shot_scenarios.sh"

step "the field at start-up"
start_game
shot "start"
expect_colour 72 60 white "box 3's outline"
expect_colour 60 100 black "the field"
expect_colour 356 161 red "a red wall"
no_box_waiting || fail "a box at start-up"

play_two_player_turn
status_window_round_trip
save_and_load
stop_game

step "commands and closing while a charge or a shot runs"
new_during_charge_and_shot
exit_during_charge
close_main_window_during_shot

step "a won game"
won_game

hints_shown
fast_forward_and_undo
resume_after_kill
computers_game

echo "e2e: all steps passed; screenshots in $ARTIFACTS"
