#!/usr/bin/env bash
# capzel-sim --selfplay: whole games between computer players. The same
# request gives the same output apart from the decision times; a bad
# request is refused with exit status 2. Usage: bash sim_selfplay.sh <bin-dir>
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"

request='{"players": ["expert", "random"], "games": 2, "seed": 3, "walls_on": true}'
for run in 1 2; do
    echo "$request" | "$sim" --selfplay >"$work/$run.json" || fail "run $run failed"
    grep -v 'decision_seconds' "$work/$run.json" >"$work/$run.fixed"
done
cmp -s "$work/1.fixed" "$work/2.fixed" || fail "the same request gave other results"
# Both games end with a winner: the expert, whichever seat starts.
grep -q '"wins": \[2, 0\]' "$work/1.json" || fail "the expert did not win both games: $(cat "$work/1.json")"
grep -q '"unfinished": 0' "$work/1.json" || fail "a game did not finish"

for bad in '{"players": ["grandmaster"]}' '{"players": []}' '{"players": ["expert"], "games": 0}'; do
    echo "$bad" | "$sim" --selfplay >/dev/null 2>&1
    [ $? -eq 2 ] || fail "request not refused: $bad"
done

finish sim_selfplay
