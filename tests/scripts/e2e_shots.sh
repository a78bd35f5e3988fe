#!/usr/bin/env bash
# The shot conveniences in a real X window (Xvfb) driven by real input
# events: the hints between shots, fast forward with Space held ending where
# the shot ends at normal pace, Undo Shot, and the running game resumed after
# the program was killed with SIGKILL.
#   bash tests/scripts/e2e_shots.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" shots e2e_shot_scenarios.sh

hints_shown
fast_forward_and_undo
resume_after_kill

echo "e2e shots: all steps passed; screenshots in $ARTIFACTS"
