#!/usr/bin/env bash
# An online game played whole, from its first shot to its winner, in two
# real game windows (Xvfb, xdotool) against the real capzel-server. The
# server keeps a new room of Ann and Bob; their programs take the seats with
# the tokens they kept. Each shot is made with the mouse: the aim dragged
# where a careful player would aim it (online_room plan), the bar charged
# and "Go" clicked after the time those ticks take, a time the test learns
# from the strengths the shots were really played with. Midway, Bob's
# program is killed (kill -9), started again, and takes his seat back. Both
# programs and the server end with the same state hash. Then a new room, and
# the server killed: both programs say so in a box and the game goes on at
# each of them.
#
# Screenshots are kept in <build>/e2e-artifacts/online.
#   bash tests/scripts/online_play_xvfb.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
XVFB_SCREEN=2000x1024 e2e_setup "${1:-}" online
SERVER_DIR="$TMP/server"
mkdir -p "$SERVER_DIR/rooms"

# --- the server and the two players' programs ------------------------------------

start_server() {
    rm -f "$TMP/server.out"  # not the port of a server before it
    "$BIN/capzel-server" --port 0 --data-dir "$SERVER_DIR" >"$TMP/server.out" 2>>"$GAME_LOG" &
    SERVER_PID=$!
    wait_until "the server" 10 grep -q "listening on" "$TMP/server.out"
    PORT=$(sed -n 's/.*0\.0\.0\.0:\([0-9]*\) .*/\1/p' "$TMP/server.out")
}

# A new room, with each seat's token kept in its player's settings as a
# game that was playing there keeps it.
# A room that has ended is moved among the finished ones.
make_room() { "$BIN/online_room" new "$SERVER_DIR/rooms/PLAY23.room.json" >"$TMP/room.txt" || fail "no room"; }
room_file() { ls "$SERVER_DIR"/rooms/PLAY23.room.json "$SERVER_DIR"/rooms/finished/PLAY23.room.json 2>/dev/null | head -n1; }
keep_token() {  # player seat
    local home="$TMP/$1" token
    token=$(awk -v s="$2" '$1 == "token" && $2 == s {print $3}' "$TMP/room.txt")
    mkdir -p "$home/.config/Capzel" "$home/data"
    printf '[online]\nurl=ws://127.0.0.1:%s\ncode=PLAY23\nname=%s\ntoken=%s\n' "$PORT" "$1" "$token" \
        >"$home/.config/Capzel/Capzel.ini"
}

# Starts a player's program joining the room; its boxes go to its own journal.
start_player() {  # name
    local home="$TMP/$1"
    : >"$home/boxes.txt"
    (cd "$WORK" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/data" \
        CAPZEL_MESSAGE_LOG="$home/boxes.txt" exec "$PROG/capzel" --join "ws://127.0.0.1:$PORT" PLAY23 "$1") \
        >"$home/out.txt" 2>>"$GAME_LOG" &
    eval "PID_$1=$!"
    wait_until "$1's game window" 20 game_window_of "$1" >/dev/null
}
# A new room on a server of its own, and both players in it.
open_room() {
    make_room
    start_server
    keep_token Ann 1
    keep_token Bob 2
    start_player Ann
    start_player Bob
    place_windows
}
pid_of() { eval "echo \${PID_$1:-0}"; }
# A player's main window once the online game began in it, or one of its boxes.
window_of() {  # player main|box
    local w
    for w in $(xdotool search --all --onlyvisible --pid "$(pid_of "$1")" --name '^Capzel$' 2>/dev/null); do
        if [ "$(width_of "$w")" -ge "$MAIN_W" ]; then [ "$2" = main ]; else [ "$2" = box ]; fi && { echo "$w"; return 0; }
    done
    return 1
}
# The game's window, once the game has begun in it: the program says so, or
# the game's first box has opened over it.
game_window_of() {
    { grep -q '^playing PLAY23' "$TMP/$1/out.txt" 2>/dev/null || [ -s "$TMP/$1/boxes.txt" ]; } && window_of "$1" main
}
# Ann's window to the left, Bob's beside it (an online game's window holds
# the chat beside its field); again until both stay there (a program may
# still be replacing its first window with the game's).
placed_at() {  # player x
    local w X Y WIDTH HEIGHT SCREEN WINDOW
    w=$(game_window_of "$1") && eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" && [ "${X:-}" = "$2" ]
}
place_windows() {
    local k w
    for k in $(seq 1 30); do
        w=$(game_window_of Ann) && xdotool windowmove "$w" 0 0 2>/dev/null
        BOB_X=$(($(width_of "$(game_window_of Ann || echo 0)") + 10))
        w=$(game_window_of Bob) && xdotool windowmove "$w" "$BOB_X" 0 2>/dev/null
        sleep 0.5
        placed_at Ann 0 && placed_at Bob "$BOB_X" && return 0
    done
    fail "the game windows could not be placed"
}
origin_of() {  # player: "X Y" of the field on the screen
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(game_window_of "$1")")"
    echo "$X $((Y + MENU_BAR))"
}

# The next shot as the server's room has it after `shots` shots:
# "turn <seat> shots <n> aim <x> <y> ticks <k> last <k>" (online_room).
PLAN=()
plan_after() {  # shots
    local line
    line=$("$BIN/online_room" plan "$(room_file)" 2>/dev/null) || return 1
    read -r -a PLAN <<<"$line"
    [ "${PLAN[0]}" = over ] || [ "${PLAN[3]}" = "$1" ]
}

# The power bar, once the button is let go: the speed measure, the first
# tick, a pause of 0.1 s, then a tick every TICK_S seconds. LEAD_S (the
# measure, the pause and the time the two clicks take to arrive) is learned
# from the ticks each shot was really played with.
TICK_S=0.000603
LEAD_S=0.16
go_after() {  # ticks
    awk -v k="$1" -v lead="$LEAD_S" -v tick="$TICK_S" \
        'BEGIN { w = lead + (k - 1) * tick; if (k >= 660) w += 0.04; printf "%.4f", w }'
}
learn_lead() {  # intended actual
    [ "$2" -gt 0 ] && [ "$1" -lt 660 ] && [ "$2" -lt 660 ] || return 0
    LEAD_S=$(awk -v lead="$LEAD_S" -v d="$(( $1 - $2 ))" -v tick="$TICK_S" \
        'BEGIN { printf "%.4f", lead + 0.7 * d * tick }')
}

# A shot with the mouse: the left button pressed near the aim point (x, y
# in field twips), dragged onto it and let go; "Go" clicked once the bar
# has risen `ticks` ticks.
shoot() {  # player x y ticks
    local ox oy px py
    read -r ox oy < <(origin_of "$1")
    px=$(awk -v v="$2" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    py=$(awk -v v="$3" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    xdotool mousemove $((ox + px + 8)) $((oy + py + 8)) mousedown 1 sleep 0.15 \
        mousemove $((ox + px + 4)) $((oy + py + 4)) sleep 0.15 mousemove $((ox + px)) $((oy + py)) sleep 0.15 \
        mouseup 1 mousemove $((ox + 19)) $((oy + 166)) sleep "$(go_after "$4")" click 1
}

# The last shot a player's program has judged and compared with the
# server's: "shot <n> <hash> same|differs".
last_shot_line() { grep '^shot ' "$TMP/$1/out.txt" | tail -n1; }
judged() {  # player n: its program has judged shot n or a later one
    local n
    n=$(last_shot_line "$1" | cut -d' ' -f2)
    [ "${n:-0}" -ge "$2" ]
}
both_judged() { judged Ann "$1" && judged Bob "$1"; }
# A player's open box answered with Return.
answer_box() {  # player
    local w
    w=$(window_of "$1" box) || return 1
    xdotool windowfocus --sync "$w" 2>/dev/null || true
    xdotool key Return
}
# Every box a player's program opens is answered, until none has come for
# a moment (one box often opens as the one before it closes).
answer_boxes() {  # player
    local k quiet=0
    for k in $(seq 1 40); do
        if answer_box "$1"; then quiet=0; else quiet=$((quiet + 1)); fi
        [ "$quiet" -lt 2 ] || return 0
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

step "a new room; both players take their seats"
open_room
shot "joined"

# A player's program is killed and started again, and takes the seat back.
comes_back() {  # player seat shots
    kill -9 "$(pid_of "$1")"
    wait "$(pid_of "$1")" 2>/dev/null || true
    sleep 0.5
    shot "$1-gone"
    start_player "$1"
    place_windows
    grep -q "^room PLAY23 seats $2\$" "$TMP/$1/out.txt" || fail "$1 did not come back to the seat"
    grep -q "^playing PLAY23 from shot $3\$" "$TMP/$1/out.txt" || fail "$1's game did not go on from shot $3"
}

step "the players shoot with the mouse until the killer wins; a program is killed midway"
names=(x Ann Bob)
done_shots=0 intended=0
while :; do
    answer_boxes Ann
    answer_boxes Bob
    wait_until "the room after shot $done_shots" 20 plan_after "$done_shots"
    [ "${PLAN[0]}" = over ] && break
    learn_lead "$intended" "${PLAN[10]}"
    [ "$done_shots" -lt 150 ] || fail "no winner after $done_shots shots"
    shooter=${names[${PLAN[1]}]} intended=${PLAN[8]}
    if [ "$done_shots" = 3 ]; then
        # The program of the player not on turn is killed and comes back;
        # its window then shows the other player's aim as it is dragged.
        seat=$((3 - PLAN[1]))
        comes_back "${names[$seat]}" "$seat" "$done_shots"
        shoot "$shooter" "${PLAN[5]}" "${PLAN[6]}" "$intended" &
        sleep 0.4
        shot "$shooter-aims-at-${names[$seat]}-s"
        wait $!
    else
        shoot "$shooter" "${PLAN[5]}" "${PLAN[6]}" "$intended"
    fi
    done_shots=$((done_shots + 1))
    wait_until "shot $done_shots judged by both" 60 both_judged "$done_shots"
    echo "   shot $done_shots: $shooter aimed ${PLAN[5]} ${PLAN[6]}, $intended ticks (lead $LEAD_S s)"
    [ $((done_shots % 10)) != 0 ] || shot "shot-$done_shots"
done
grep -q "WON" "$TMP/Ann/boxes.txt" "$TMP/Bob/boxes.txt" || fail "the game ended with no winner's message"
shot "won"

step "the same final state at both programs and the server"
ann=$(last_shot_line Ann) bob=$(last_shot_line Bob)
echo "   Ann: $ann   Bob: $bob"
[ "$ann" = "$bob" ] || fail "the programs end differently"
case "$ann" in *same) ;; *) fail "the game here differed from the server's: $ann" ;; esac
server_hash=$(python3 -c '
import json, sys
r = json.load(open(sys.argv[1])); e = r["record"]["entries"]
print(len(e), e[-1]["hash"])' "$(room_file)")
[ "shot $server_hash same" = "$ann" ] || fail "the server's game ends at $server_hash, the programs' at $ann"
stop_players

step "the server killed mid-game: both programs say so and play on"
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
open_room
# The server dies while both programs wait for the answer to the game's
# first box; once what is open is answered, each program tells that the
# server is gone.
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
sleep 1
told_lost() {  # player: the box has come; until then, what is open is answered
    grep -q "connection to the server was lost" "$TMP/$1/boxes.txt" || { answer_box "$1"; false; }
}
for p in Ann Bob; do
    wait_until "$p's box" 20 told_lost "$p"
done
sleep 0.5
shot "server-gone"
answer_boxes Ann
answer_boxes Bob
# Every seat is Ann's now: the first shot is played here and her program
# keeps the game it leaves.
plan_after 0 || fail "no shot planned in the new room"
kept=$(md5sum <"$TMP/Ann/data/capzel/autosave.CSG")
shoot Ann "${PLAN[5]}" "${PLAN[6]}" "${PLAN[8]}"
kept_again() { [ "$(md5sum <"$TMP/Ann/data/capzel/autosave.CSG")" != "$kept" ]; }
wait_until "the game to go on at Ann's" 30 kept_again
shot "hot-seat"
answer_boxes Ann
for p in Ann Bob; do kill -0 "$(pid_of "$p")" 2>/dev/null || fail "$p's program is gone"; done
expect_clean_log
echo "online play under Xvfb: all checks passed"
