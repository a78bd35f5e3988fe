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

if [ "${CAPZEL_E2E_INSIDE:-}" != 1 ]; then
    for tool in xvfb-run xdotool import convert; do
        command -v "$tool" >/dev/null || { echo "missing $tool (make test installs it)" >&2; exit 1; }
    done
    [ -x "$BIN/xclose" ] || { echo "missing $BIN/xclose (needs libx11-dev)" >&2; exit 1; }
    export CAPZEL_E2E_INSIDE=1
    # -noreset: by default the server resets whenever its last client leaves
    # (the game between two scenarios, or an xdotool call), and a game
    # started in that moment cannot connect.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" bash "$0" "$BIN"
fi

# A program folder of our own (the game keeps its high scores there), a
# fresh home and a working folder for the saved games.
TMP="$(mktemp -d)"
trap 'stop_game >/dev/null 2>&1 || true; rm -rf "$TMP"' EXIT
PROG="$TMP/prog"
WORK="$TMP/work"
mkdir -p "$PROG" "$WORK" "$TMP/home" "$TMP/runtime"
chmod 700 "$TMP/runtime"
cp "$BIN/capzel" "$PROG/"
[ -d "$BIN/media" ] && cp -r "$BIN/media" "$PROG/"
XCLOSE="$BIN/xclose"
export HOME="$TMP/home" XDG_DATA_HOME="$TMP/home/.local/share" XDG_RUNTIME_DIR="$TMP/runtime"
export CAPZEL_MESSAGE_LOG="$TMP/boxes.txt"
JOURNAL="$CAPZEL_MESSAGE_LOG"
GAME_LOG="$TMP/game.log"
: > "$GAME_LOG"
ARTIFACTS="$(cd "$BIN/.." && pwd)/e2e-artifacts"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
SHOT_NO=0
unset QT_QPA_PLATFORM
# A sanitizer build: leaks of the system's libraries are not ours.
export LSAN_OPTIONS="suppressions=$HERE/../e2e/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# shellcheck source=../e2e/e2e_lib.sh
source "$HERE/../e2e/e2e_lib.sh"
source "$HERE/../e2e/e2e_scenarios.sh"

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

computers_game

echo "e2e: all steps passed; screenshots in $ARTIFACTS"
