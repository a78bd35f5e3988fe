#!/usr/bin/env bash
# An online game played whole in two real game windows against capzel-server (tests/e2e/online_play.py).
#   bash tests/scripts/online_play_xvfb.sh <bin-dir>     screenshots: <build>/e2e-artifacts/online
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
XVFB_SCREEN=2000x1024 e2e_setup "${1:-}" online
python3 "$(dirname "${BASH_SOURCE[0]}")/../e2e/online_play.py" "$BIN" "$ARTIFACTS"
