#!/usr/bin/env bash
# capzel-sim against files and input a hostile user hands it: devices, named
# pipes, folders, huge files and names beyond the limit are refused at once
# with exit status 2 and the game's message. Usage: bash sim_hostile_files.sh <bin-dir>
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"

# refused WHAT INPUT LAST-LINE ARGS...: exit 2 within the time limit, nothing
# on standard output, LAST-LINE as the last line on standard error.
refused() {
    local what="$1" input="$2" last="$3" status=0
    shift 3
    timeout 20 "$sim" "$@" <"$input" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 2 ] || fail "$what: exit status $status, not 2"
    [ -s "$work/out" ] && fail "$what: something on standard output"
    [ "$(tail -n 1 "$work/err")" = "$last" ] || fail "$what: $(cat "$work/err")"
}

player() {  # player NAME: one player's saved state
    printf '{"name": "%s", "dead": false, "in_game": true, "is_killer": false, "on_letters": false, "losing_turn": false, "moveable_next_turn": false, "heading_in_reverse": false, "friction": 98, "score": 200, "color": 255, "height": 300, "left": 100, "top": 100, "width": 300, "position": 1}' "$1"
}
state() {  # state NAME: a one-player game
    printf '{"number_of_players": 1, "current_turn": 1, "players": [%s]}' "$(player "$1")"
}

mkdir "$work/folder"
mkfifo "$work/pipe"
ln -s /dev/zero "$work/zero"
truncate -s 100M "$work/huge.CSG"
forty="$(printf 'N%.0s' $(seq 40))"
state "$forty" >"$work/forty.json"
state "${forty}x" >"$work/long.json"
"$sim" --save "$work/forty.CSG" <"$work/forty.json" || fail "a name at the limit is not saved"
"$sim" --load "$work/forty.CSG" | grep -q "\"name\": \"$forty\"" || fail "a name at the limit does not load"
# A hand-edited save whose first name runs on for 900,000 characters.
{ head -n 3 "$work/forty.CSG"; printf '"%s"," = Player 1 name"\r\n' "$(head -c 900000 /dev/zero | tr '\0' N)"
  tail -n +5 "$work/forty.CSG"; } >"$work/edited.CSG"

cannot="The file cannot be read."
refused "a folder" /dev/null "$cannot" --load "$work/folder"
refused "a named pipe" /dev/null "$cannot" --load "$work/pipe"
refused "a link to /dev/zero" /dev/null "$cannot" --load "$work/zero"
refused "a 100 MB file" /dev/null "The file is too large to be a saved game." --load "$work/huge.CSG"
refused "a 900,000-character name" /dev/null \
    "Line 4: player 1's name is 900000 characters long; a name has at most 40." --load "$work/edited.CSG"
refused "saving a 41-character name" "$work/long.json" \
    "capzel-sim: players[0].name: is longer than 40 characters" --save "$work/long.CSG"
[ -e "$work/long.CSG" ] && fail "a refused save wrote a file"
printf '{"current_turn": 1, "power": 50, "pointer": [0, 0, 1, 1], "players": [{"name": "%s", "left": 100, "top": 100}]}' \
    "${forty}x" >"$work/shot.json"
refused "a shot with a 41-character name" "$work/shot.json" \
    "capzel-sim: players[0].name: is longer than 40 characters"
refused "endless standard input" /dev/zero "capzel-sim: the input is larger than 1048576 bytes" --save "$work/z.CSG"
status=0
timeout 20 "$sim" --save "$work/pipe" <"$work/forty.json" 2>"$work/err" || status=$?
[ "$status" = 1 ] && grep -q 'could not be replaced: it is not a regular file\.$' "$work/err" \
    || fail "saving onto a named pipe: exit status $status, $(cat "$work/err")"
[ -p "$work/pipe" ] && [ -L "$work/zero" ] || fail "a special file was replaced"

finish sim_hostile_files
