#!/usr/bin/env bash
# A whole online game between a browser and the desktop program, with a phone-sized spectator and
# a reload midway (tests/web/web_play.py), in headless Chromium and under a virtual X server of
# its own. Screenshots in <build>/e2e-artifacts/web.
#   bash tests/scripts/web_play_xvfb.sh <bin-dir>
set -euo pipefail
source "$(dirname "$0")/lib/web.sh"
web_run "${1:-}" web_play.py web xvfb
