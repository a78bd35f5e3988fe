#!/usr/bin/env bash
# capzel-sim --load / --save: the game's own reader and writer from the
# command line. Usage: bash sim_savefiles.sh <bin-dir>
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"
saves="$(cd "$(dirname "$0")/../data/saves" && pwd)"

# expect_same WHAT EXPECTED-FILE ACTUAL-FILE
expect_same() {
    if ! cmp -s "$2" "$3"; then
        fail "$1"
        diff "$2" "$3" >&2 | head -20
    fi
}

# A file written by the game loads, saves to the very same bytes, and loads
# to the same JSON again.
"$sim" --load "$saves/valid_two_players_killer.CSG" >"$work/first.json" || fail "valid file refused"
"$sim" --save "$work/again.CSG" <"$work/first.json" || fail "saving the loaded state"
expect_same "saved file differs from the one loaded" "$saves/valid_two_players_killer.CSG" "$work/again.CSG"
"$sim" --load "$work/again.CSG" >"$work/second.json" || fail "saved file refused"
expect_same "loading what was saved gives other JSON" "$work/first.json" "$work/second.json"

# Two players, the second a killer with a comma in his name: what is saved
# comes back exactly, every flag, real friction and colour included.
cat >"$work/state.json" <<'JSON'
{
  "number_of_players": 2,
  "current_turn": 2,
  "players": [
    {"name": "Ann", "dead": true, "in_game": false, "is_killer": false, "on_letters": false, "losing_turn": true, "moveable_next_turn": false, "heading_in_reverse": true, "friction": 98.25, "score": -40, "color": 65280, "height": 300, "left": 10320, "top": 120, "width": 300, "position": 17},
    {"name": "Bob, the Killer", "dead": false, "in_game": true, "is_killer": true, "on_letters": true, "losing_turn": false, "moveable_next_turn": true, "heading_in_reverse": true, "friction": 96.0, "score": 912, "color": 16777215, "height": 300, "left": 5197, "top": 5340, "width": 300, "position": 28}
  ]
}
JSON
"$sim" --save "$work/game.CSG" <"$work/state.json" || fail "saving the two-player game"
grep -q '^"Bob, the Killer"," = Player 2 name"'$'\r''$' "$work/game.CSG" || fail "the name is not written quoted"
"$sim" --load "$work/game.CSG" >"$work/loaded.json" || fail "two-player game refused"
expect_same "the two-player game does not come back as saved" "$work/state.json" "$work/loaded.json"

# The writer brings values into the file's ranges as the game's Save does:
# geometry to whole twips, halves to even.
sed -e 's/"left": 5197,/"left": 5196.5,/' "$work/state.json" >"$work/half.json"
"$sim" --save "$work/half.CSG" <"$work/half.json" && "$sim" --load "$work/half.CSG" >"$work/half-loaded.json" \
    || fail "saving a half-twip place"
grep -q '"left": 5196,' "$work/half-loaded.json" || fail "5196.5 twips is not written as 5196"

# Scores beyond 16 bits come back whole; the score lines hold them held.
sed -e 's/"score": -40,/"score": -40000,/' -e 's/"score": 912,/"score": 100000,/' "$work/state.json" >"$work/big.json"
"$sim" --save "$work/big.CSG" <"$work/big.json" && "$sim" --load "$work/big.CSG" >"$work/big-loaded.json" \
    || fail "saving scores beyond 16 bits"
expect_same "scores beyond 16 bits do not come back whole" "$work/big.json" "$work/big-loaded.json"
grep -q '^32767," = Bob, the Killer score"'$'\r''$' "$work/big.CSG" || fail "the score line is not held to 32767"

# A broken file: exit 2, nothing on standard output, the game's message.
status=0
"$sim" --load "$saves/broken_truncated.CSG" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "broken file: exit status $status, not 2"
[ -s "$work/out" ] && fail "broken file: something on standard output"
printf 'The game could not be loaded from\n%s\n\nLine 28: the file ends before player 2%ss friction.\n' \
    "$saves/broken_truncated.CSG" "'" >"$work/expected"
expect_same "broken file: not the game's message" "$work/expected" "$work/err"

# Input that is not the state: exit 2 with one line; the old file is kept.
cp "$work/game.CSG" "$work/kept.CSG"
status=0
sed -e 's/"color": 65280, //' "$work/state.json" | "$sim" --save "$work/kept.CSG" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "state without a colour: exit status $status, not 2"
grep -qx 'capzel-sim: players\[0\].color: is missing' "$work/err" || fail "missing colour: $(cat "$work/err")"
expect_same "a refused save touched the old file" "$work/game.CSG" "$work/kept.CSG"

# A file that cannot be written: exit 1 and the game's message.
status=0
"$sim" --save "$work/no/such/folder/x.CSG" <"$work/state.json" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "unwritable file: exit status $status, not 1"
grep -q '^The game could not be saved to$' "$work/err" || fail "unwritable file: $(cat "$work/err")"
ls "$work"/*.capzel-sim-tmp >/dev/null 2>&1 && fail "a temporary file was left behind"

finish sim_savefiles
