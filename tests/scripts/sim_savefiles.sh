#!/usr/bin/env bash
# capzel-sim --load / --save: the game's own reader and writer from the
# command line, its exit statuses and messages. (The reader's and writer's
# rules, and hostile files, are tested in core_tests.)
# Usage: bash sim_savefiles.sh <bin-dir>
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"
saves="$(cd "$(dirname "$0")/../data/saves" && pwd)"

# expect_same WHAT EXPECTED-FILE ACTUAL-FILE
expect_same() { cmp -s "$2" "$3" || { fail "$1"; diff "$2" "$3" >&2 | head -20; }; }
# refused WHAT STATUS LAST-LINE ARGS... (standard input from $input): that
# exit status, nothing on standard output, LAST-LINE last on standard error.
refused() {
    local what="$1" want="$2" last="$3" status=0
    shift 3
    timeout 20 "$sim" "$@" <"$input" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = "$want" ] || fail "$what: exit status $status, not $want"
    [ -s "$work/out" ] && fail "$what: something on standard output"
    [ "$(tail -n 1 "$work/err")" = "$last" ] || fail "$what: $(cat "$work/err")"
}

# A file written by the game loads, saves to the very same bytes, and loads
# to the same JSON again.
"$sim" --load "$saves/valid_two_players_killer.CSG" >"$work/first.json" || fail "valid file refused"
"$sim" --save "$work/again.CSG" <"$work/first.json" || fail "saving the loaded state"
expect_same "saved file differs from the one loaded" "$saves/valid_two_players_killer.CSG" "$work/again.CSG"
"$sim" --load "$work/again.CSG" >"$work/second.json" || fail "saved file refused"
expect_same "loading what was saved gives other JSON" "$work/first.json" "$work/second.json"

# Every field of the state (tests/data/sim_state.json) comes back exactly,
# a comma in a name and a score beyond 16 bits included.
cp "$(dirname "$0")/../data/sim_state.json" "$work/state.json"
"$sim" --save "$work/game.CSG" <"$work/state.json" || fail "saving the two-player game"
grep -q '^"Bob, the Killer"," = Player 2 name"'$'\r''$' "$work/game.CSG" || fail "the name is not written quoted"
"$sim" --load "$work/game.CSG" >"$work/loaded.json" || fail "two-player game refused"
expect_same "the two-player game does not come back as saved" "$work/state.json" "$work/loaded.json"

input=/dev/null
printf 'The game could not be loaded from\n%s\n\nLine 28: the file ends before player 2%ss friction.\n' \
    "$saves/broken_truncated.CSG" "'" >"$work/expected"
refused "a broken file" 2 "Line 28: the file ends before player 2's friction." --load "$saves/broken_truncated.CSG"
expect_same "broken file: not the game's message" "$work/expected" "$work/err"
mkdir "$work/folder"
refused "a folder" 2 "The file cannot be read." --load "$work/folder"
input=/dev/zero
refused "endless standard input" 2 "capzel-sim: the input is larger than 1048576 bytes" --save "$work/z.CSG"

# Input that is not the state is refused and the old file kept; a file that
# cannot be written gives exit 1 and the game's message.
cp "$work/game.CSG" "$work/kept.CSG"
sed -e 's/"color": 65280, //' "$work/state.json" >"$work/no-colour.json"
input="$work/no-colour.json"
refused "a state without a colour" 2 "capzel-sim: players[0].color: is missing" --save "$work/kept.CSG"
expect_same "a refused save touched the old file" "$work/game.CSG" "$work/kept.CSG"
input="$work/state.json"
refused "an unwritable file" 1 "The file \"$work/no/x.CSG\" could not be created: No such file or directory." \
    --save "$work/no/x.CSG"
head -n 1 "$work/err" | grep -qx 'The game could not be saved to' || fail "unwritable file: $(cat "$work/err")"
ls "$work"/*.capzel-sim-tmp >/dev/null 2>&1 && fail "a temporary file was left behind"

finish sim_savefiles
