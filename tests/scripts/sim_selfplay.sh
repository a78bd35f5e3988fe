#!/usr/bin/env bash
# capzel-sim --selfplay: whole games between computer players. The same
# request gives the same output apart from the decision times; each level
# alone lands its share of shots in the target; a bad request is refused
# with exit status 2. Usage: bash sim_selfplay.sh <bin-dir>
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

grep -q '"target_rate": \[[0-9.e-]*, [0-9.e-]*\]' "$work/1.json" || fail "no target rate for each seat: $(cat "$work/1.json")"

# Alone on the field, each level lands about its share of shots in the
# target box (doc/playing.md). A game or two a level is a small sample (16 to 90
# shots): the bands are wide, but apart enough that a level playing as its
# neighbour falls out of its own.
for band in "novice 1 0.15 0.45" "club 2 0.40 0.72" "strong 2 0.62 0.90" "expert 1 0.93 1"; do
    set -- $band
    echo "{\"players\": [\"$1\"], \"games\": $2, \"seed\": 11}" | "$sim" --selfplay >"$work/$1.json" || fail "$1 alone failed"
    rate=$(sed -n 's/.*"target_rate": \[\([0-9.e-]*\)\].*/\1/p' "$work/$1.json")
    awk -v r="${rate:-x}" -v lo="$3" -v hi="$4" 'BEGIN { exit !(r + 0 == r && r >= lo && r <= hi) }' ||
        fail "$1 alone landed ${rate:-no} of its shots in the target, not $3 to $4"
done

for bad in '{"players": ["grandmaster"]}' '{"players": []}' '{"players": ["expert"], "games": 0}'; do
    echo "$bad" | "$sim" --selfplay >/dev/null 2>&1
    [ $? -eq 2 ] || fail "request not refused: $bad"
done

finish sim_selfplay
