#!/usr/bin/env bash
# An online game played whole, from its first shot to its winner, in two real
# game windows (Xvfb, xdotool) against the real capzel-server
# (tests/e2e/online_play.py). The server keeps a new room of Ann and Bob; their
# programs take the seats with the tokens they kept. Each shot is made with the
# mouse: the aim dragged where online_room plans it (the bar stopped at its
# first tick or at its top), the bar charged, and "Go" clicked once the window
# shows the bar near the planned ticks (the click's lateness learned from the
# ticks the shots were really played with). Each step waits for what the
# programs tell (output lines, boxes, windows as the screen shows them); an
# input is given again only when the window shows it was not taken. Midway,
# Bob's program is killed (kill -9), started again, takes his seat back and
# shows Ann's aim as she drags it. Both programs and the server end with the
# same state hash. Then a new room, and the server killed: both programs say
# so in a box and the game goes on at each of them.
#
# Screenshots are kept in <build>/e2e-artifacts/online.
#   bash tests/scripts/online_play_xvfb.sh <bin-dir>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
bin="$(cd "${1:?usage: $0 <bin-dir>}" && pwd)"
[ -x "$bin/xpixels" ] || { echo "missing $bin/xpixels (needs libx11-dev)" >&2; exit 1; }
XVFB_SCREEN=2000x1024 in_xvfb "$bin" xdotool import
exec python3 "$(dirname "${BASH_SOURCE[0]}")/../e2e/online_play.py" "$bin" "$bin/../e2e-artifacts/online"
