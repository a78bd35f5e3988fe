#!/usr/bin/env bash
# Takes the README's screenshot: a four-player game at its first shot, the
# first player charging it, cropped to the main window.
#   bash tools/readme-screenshot.sh <bin-dir> [out.png]
set -euo pipefail
BIN="$(cd "${1:?usage: readme-screenshot.sh <bin-dir> [out.png]}" && pwd)"
OUT="$(realpath -m "${2:-doc/screenshot.png}")"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "${CAPZEL_INSIDE_XVFB:-}" != 1 ]; then
    CAPZEL_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$BIN" "$OUT"
fi
TMP="$(mktemp -d)"
trap 'stop_game >/dev/null 2>&1 || true; rm -rf "$TMP"' EXIT
PROG="$TMP/prog" WORK="$TMP/work"
mkdir -p "$PROG" "$WORK" "$TMP/home" "$TMP/data" "$TMP/runtime" && chmod 700 "$TMP/runtime"
cp "$BIN/capzel" "$PROG/"
XCLOSE="$BIN/xclose"
export HOME="$TMP/home" XDG_DATA_HOME="$TMP/data" XDG_RUNTIME_DIR="$TMP/runtime" CAPZEL_MESSAGE_LOG="$TMP/boxes.txt"
JOURNAL="$CAPZEL_MESSAGE_LOG" GAME_LOG="$TMP/game.log" ARTIFACTS="$TMP" SHOT_NO=0
: > "$GAME_LOG"
unset QT_QPA_PLATFORM
source "$ROOT/tests/e2e/e2e_lib.sh"

start_game
new_game Ann Bob Cy Dee
expect_box "turn start" Return
drag 105 62 160 120
wait_until "the bar charging" 30 bar_filling
import -window "$(main_window)" "$OUT"
echo "saved $OUT"
