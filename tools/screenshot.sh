#!/usr/bin/env bash
# Takes a screenshot of the main window under a virtual X server.
#   bash tools/screenshot.sh <bin-dir> [out.png]   (default doc/main-window.png)
set -euo pipefail
bin="${1:?usage: screenshot.sh <bin-dir> [out.png]}"
out="${2:-doc/main-window.png}"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
tmp="$(mktemp --suffix=.png)"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c "
  '$bin/capzel' & pid=\$!
  sleep 2
  import -window root '$tmp'
  kill \$pid"
# The window's client area opens at (47, 56): keep the corner of the screen it lies in.
convert "$tmp" -crop 800x700+0+0 +repage "$out"
rm -f "$tmp"
echo "$out"
