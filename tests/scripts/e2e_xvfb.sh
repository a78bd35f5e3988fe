#!/usr/bin/env bash
# The whole game as a player meets it, in a real X window (Xvfb) driven by
# real input events (xdotool): the field at start-up, a two-player game from
# File > New to a shot and its rules' message, the status window, saving and
# loading. The commands during a run and a won game (e2e_commands.sh), the
# shot conveniences (e2e_shots.sh) and the computer players
# (e2e_computers.sh) have real-window tests of their own, which run beside
# this one; what needs no real window is tested offscreen.
#
# Screenshots of the main steps are kept in <build>/e2e-artifacts/classic.
#   bash tests/scripts/e2e_xvfb.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" classic

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

echo "e2e: all steps passed; screenshots in $ARTIFACTS"
