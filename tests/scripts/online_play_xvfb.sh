#!/usr/bin/env bash
# An online game played in two real game windows (Xvfb, xdotool) against the
# real capzel-server: the server brings back a kept room one touch from the
# end of its game; Ann's and Bob's programs take their seats back with the
# tokens they kept; Bob's program is killed (kill -9) and started again and
# takes his seat back; the players shoot with the mouse and "Go" until the
# killer wins; both programs and the server end with the same state hash.
# Then the room again, and the server killed: both programs say so in a box
# and the game goes on at each of them.
#
# Screenshots are kept in <build>/e2e-artifacts/online.
#   bash tests/scripts/online_play_xvfb.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_setup "${1:-}" online
SERVER_DIR="$TMP/server"
mkdir -p "$SERVER_DIR/rooms"

# --- the server and the two players' programs ------------------------------------

start_server() {
    "$BIN/capzel-server" --port 0 --data-dir "$SERVER_DIR" >"$TMP/server.out" 2>>"$GAME_LOG" &
    SERVER_PID=$!
    wait_until "the server" 10 grep -q "listening on" "$TMP/server.out"
    PORT=$(sed -n 's/.*0\.0\.0\.0:\([0-9]*\) .*/\1/p' "$TMP/server.out")
}

# The room one touch from its end, with each seat's token kept in its
# player's settings as a game that was playing there keeps it.
make_room() { "$BIN/near_end_room" "$SERVER_DIR/rooms/NEAR23.room.json" >"$TMP/room.txt" || fail "no room"; }
keep_token() {  # player seat
    local home="$TMP/$1" token
    token=$(awk -v s="$2" '$1 == "token" && $2 == s {print $3}' "$TMP/room.txt")
    mkdir -p "$home/.config/Capzel" "$home/data"
    printf '[online]\nurl=ws://127.0.0.1:%s\ncode=NEAR23\nname=%s\ntoken=%s\n' "$PORT" "$1" "$token" \
        >"$home/.config/Capzel/Capzel.ini"
}

# Starts a player's program joining the room; its boxes go to its own journal.
start_player() {  # name
    local home="$TMP/$1"
    : >"$home/boxes.txt"
    (cd "$WORK" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/data" \
        CAPZEL_MESSAGE_LOG="$home/boxes.txt" exec "$PROG/capzel" --join "ws://127.0.0.1:$PORT" NEAR23 "$1") \
        >"$home/out.txt" 2>>"$GAME_LOG" &
    eval "PID_$1=$!"
    wait_until "$1's game window" 20 game_window_of "$1" >/dev/null
}
pid_of() { eval "echo \${PID_$1:-0}"; }
# A player's main window once the online game began in it, or one of its boxes.
window_of() {  # player main|box
    local w
    for w in $(xdotool search --all --onlyvisible --pid "$(pid_of "$1")" --name '^Capzel$' 2>/dev/null); do
        if [ "$(width_of "$w")" = "$MAIN_W" ]; then [ "$2" = main ]; else [ "$2" = box ]; fi && { echo "$w"; return 0; }
    done
    return 1
}
game_window_of() { grep -q '^playing NEAR23' "$TMP/$1/out.txt" 2>/dev/null && window_of "$1" main; }
place_windows() {
    xdotool windowmove "$(game_window_of Ann)" 0 0 >/dev/null
    xdotool windowmove "$(game_window_of Bob)" 740 0 >/dev/null
    sleep 0.3
}
origin_of() {  # player: "X Y" of the field on the screen
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(game_window_of "$1")")"
    echo "$X $((Y + MENU_BAR))"
}

# The game as a player's program kept it: "<turn> <x> <y> <x> <y>" with the
# piece centres of seats 1 and 2, in the field's pixels.
kept_game() {
    "$BIN/capzel-sim" --load "$TMP/$1/data/capzel/autosave.CSG" | python3 -c '
import json, sys
g = json.load(sys.stdin); p = g["players"]
c = lambda q: (int((q["left"] + q["width"] / 2) / 15), int((q["top"] + q["height"] / 2) / 15))
print(g["current_turn"], *c(p[0]), *c(p[1]))'
}

# A shot with the mouse: from the shooter's piece the aim is pulled back
# away from (tx, ty), the button let go, and "Go" pressed after a moment.
shoot() {  # player fromx fromy tx ty
    local ox oy; read -r ox oy < <(origin_of "$1")
    local bx=$(( $2 - ($4 - $2) / 3 )) by=$(( $3 - ($5 - $3) / 3 ))
    xdotool mousemove $((ox + $2)) $((oy + $3)) mousedown 1 sleep 0.2 mousemove $((ox + ($2 + bx) / 2)) \
        $((oy + ($3 + by) / 2)) sleep 0.2 mousemove $((ox + bx)) $((oy + by)) sleep 0.2 mouseup 1 sleep 1.6 \
        mousemove $((ox + 19)) $((oy + 166)) click 1
}

shots_of() { grep -c '^shot ' "$TMP/$1/out.txt" || true; }
last_shot_line() { grep '^shot ' "$TMP/$1/out.txt" | tail -n1; }
both_judged() { [ "$(shots_of Ann)" -ge "$1" ] && [ "$(shots_of Bob)" -ge "$1" ]; }
# Every box a player's program has open is answered with Return.
answer_boxes() {
    local w k
    for k in $(seq 1 20); do
        w=$(window_of "$1" box) || return 0
        xdotool windowfocus --sync "$w" 2>/dev/null || true
        xdotool key Return
        sleep 0.3
    done
}
stop_players() {
    local p
    for p in Ann Bob; do
        kill "$(pid_of "$p")" 2>/dev/null || true
        wait "$(pid_of "$p")" 2>/dev/null || true
    done
}
# At the end: the programs and the server stop, what they printed is kept
# beside the screenshots.
clean_up() {
    set +e
    stop_players
    kill "${SERVER_PID:-0}" 2>/dev/null
    for p in Ann Bob; do
        cp "$TMP/$p/out.txt" "$ARTIFACTS/$p-out.txt" 2>/dev/null
        cp "$TMP/$p/boxes.txt" "$ARTIFACTS/$p-boxes.txt" 2>/dev/null
    done
    cp "$GAME_LOG" "$ARTIFACTS/game.log" 2>/dev/null
    rm -rf "$TMP"
}
trap 'status=$?; clean_up; exit $status' EXIT

step "a kept room one touch from its end; both players take their seats back"
make_room
start_server
keep_token Ann 1
keep_token Bob 2
start_player Ann
start_player Bob
place_windows
shot "joined"

step "Bob's program killed and started again: his seat back"
kill -9 "$PID_Bob"
wait "$PID_Bob" 2>/dev/null || true
sleep 0.5
shot "bob-gone"
start_player Bob
place_windows
grep -q '^room NEAR23 seats 2$' "$TMP/Bob/out.txt" || fail "Bob did not come back to his seat"

step "the players shoot until the killer wins"
names=(x Ann Bob)
done_shots=0
for round in $(seq 1 12); do
    answer_boxes Ann
    answer_boxes Bob
    grep -q "WON" "$TMP/Ann/boxes.txt" "$TMP/Bob/boxes.txt" && break
    read -r turn ax ay bx by < <(kept_game Ann)
    shooter=${names[$turn]}
    if [ "$turn" = 1 ]; then shoot "$shooter" "$ax" "$ay" "$bx" "$by"; else shoot "$shooter" "$bx" "$by" "$ax" "$ay"; fi
    done_shots=$((done_shots + 1))
    wait_until "shot $done_shots judged by both" 60 both_judged "$done_shots"
    sleep 0.5
    shot "shot-$done_shots"
done
grep -q "WON" "$TMP/Ann/boxes.txt" "$TMP/Bob/boxes.txt" || fail "nobody won in $done_shots shots"
shot "won"

step "the same final state at both programs and the server"
ann=$(last_shot_line Ann) bob=$(last_shot_line Bob)
echo "   Ann: $ann   Bob: $bob"
[ "$ann" = "$bob" ] || fail "the programs end differently"
case "$ann" in *same) ;; *) fail "the game here differed from the server's: $ann" ;; esac
server_hash=$(python3 -c '
import json, sys
r = json.load(open(sys.argv[1])); e = r["record"]["entries"]
print(len(e), e[-1]["hash"])' "$SERVER_DIR/rooms/NEAR23.room.json")
[ "shot $server_hash same" = "$ann" ] || fail "the server's game ends at $server_hash, the programs' at $ann"
stop_players

step "the server killed mid-game: both programs say so and play on"
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
make_room
start_server
keep_token Ann 1
keep_token Bob 2
start_player Ann
start_player Bob
place_windows
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
for p in Ann Bob; do
    wait_until "$p's box" 20 grep -q "connection to the server was lost" "$TMP/$p/boxes.txt"
done
shot "server-gone"
answer_boxes Ann
answer_boxes Bob
read -r turn ax ay bx by < <(kept_game Ann)
# Every seat is Ann's now: the shot is played here, judged, and its rules'
# messages are Ann's boxes.
: >"$TMP/Ann/boxes.txt"
if [ "$turn" = 1 ]; then shoot Ann "$ax" "$ay" "$bx" "$by"; else shoot Ann "$bx" "$by" "$ax" "$ay"; fi
wait_until "the game to go on at Ann's" 30 grep -q "^message:" "$TMP/Ann/boxes.txt"
shot "hot-seat"
answer_boxes Ann
expect_clean_log
echo "online play under Xvfb: all checks passed"
