#!/usr/bin/env bash
# Commands in a real X window (Xvfb) while the power bar charges or a shot
# runs: New, Exit and closing the main window (the status window keeps the
# program alive); then a won game reached through the hidden commands, up to
# the high-score table.
#   bash tests/scripts/e2e_commands.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" commands

step "commands and closing while a charge or a shot runs"
new_during_charge_and_shot
exit_during_charge
close_main_window_during_shot

step "a won game"
won_game

echo "e2e commands: all steps passed; screenshots in $ARTIFACTS"
