#!/usr/bin/env bash
# capzel-sim records: every self-played game's record, read back and played
# again with no window, matches shot for shot (exit 0); a record whose hash
# was changed stops at that shot (exit 1); a broken record is refused with
# the field named (exit 2). Usage: bash sim_records.sh <bin-dir>
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"

mkdir -p "$work/random" "$work/planned"
echo "{\"players\": [\"random\", \"random\", \"random\"], \"games\": 19, \"seed\": 7, \"max_shots\": 150,
      \"records\": \"$work/random\"}" | "$sim" --selfplay >/dev/null || fail "self-play of random seats failed"
# Planned games reach killers and the game's end.
echo "{\"players\": [\"club\", \"random\"], \"games\": 1, \"seed\": 3, \"threads\": 1,
      \"records\": \"$work/planned\"}" | "$sim" --selfplay >/dev/null || fail "self-play of planned seats failed"
count=0
for record in "$work"/random/*.json "$work"/planned/*.json; do
    count=$((count + 1))
    "$sim" --replay <"$record" >"$work/out" 2>&1 || fail "$(basename "$record") did not replay: $(grep -v ' ok$' "$work/out" | head -2)"
done
[ "$count" = 20 ] || fail "$count records written, not 20"
grep -q '"winner":[12]' "$work"/planned/game-0001.json || fail "the planned game's record names no winner"
shots=$(grep -c '^shot ' "$work/out")
[ "$shots" -gt 5 ] || fail "the last replay told $shots shots"

# The third shot's hash changed: the replay stops there, naming it.
# (one line for each entry)
awk '/"type":"shot"/ && ++n == 3 { sub(/"hash":"[0-9a-f]*"/, "\"hash\":\"0123456789abcdef\"") } { print }' \
    "$work/random/game-0001.json" >"$work/changed.json"
"$sim" --replay <"$work/changed.json" >"$work/out"
[ $? -eq 1 ] || fail "a changed hash was not a mismatch"
tail -2 "$work/out" | head -1 | grep -q '^shot 3 seat [0-9] [0-9a-f]* mismatch: the record has 0123456789abcdef$' ||
    fail "the mismatch was not told at shot 3: $(tail -2 "$work/out" | head -1)"

sed 's/"power":[0-9]*/"power":-5/' "$work/random/game-0002.json" | "$sim" --replay >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "a negative strength was not refused"
grep -q '/entries/0/power' "$work/err" || fail "the refusal did not name the field: $(cat "$work/err")"
echo '{"format": "capzel-game-record", "version": 1' | "$sim" --replay >/dev/null 2>&1
[ $? -eq 2 ] || fail "a broken record was not refused"

finish sim_records
