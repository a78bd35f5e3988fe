#!/usr/bin/env bash
# A whole online game between a browser and the desktop program, under a virtual X server of its own.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
XVFB_SCREEN=1600x1000 in_xvfb "${1:?usage: $0 <bin-dir>}"
web_run "$1" web_play.py web
