#!/usr/bin/env bash
# Two computer players in a real X window (Xvfb): a loaded game near its end
# played to its winner unattended, their messages closing by themselves, and
# Exit while a computer plays.
#   bash tests/scripts/e2e_computers.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" computers e2e_computer_scenarios.sh

computers_game

echo "e2e computers: all steps passed; screenshots in $ARTIFACTS"
