#!/usr/bin/env bash
# A whole online game between a browser and the desktop program, with a
# phone-sized spectator and a reload midway (tests/web/web_play.py), in
# headless Chromium and under a virtual X server of its own. Screenshots in
# <build>/e2e-artifacts/web.
#   bash tests/scripts/web_play_xvfb.sh <bin-dir>
set -euo pipefail
bin="$(cd "${1:?usage: $0 <bin-dir>}" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/scripts/lib/web.sh"
web_setup "$bin"
xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp -noreset" \
    /usr/bin/python3 "$root/tests/web/web_play.py" "$bin" "$web" "$build/e2e-artifacts/web"
