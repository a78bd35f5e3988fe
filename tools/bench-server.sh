#!/usr/bin/env bash
# The online server measured on this machine, beside a bare Qt WebSockets
# relay (capzel-relay) run alternately in the same run, with the load
# average before each figure. Not a test: it reports, and marks each figure
# against its aim.
#
#   bash tools/bench-server.sh <bin-dir> [steps...]     (make bench-server)
#
# Steps (all by default):
#   scale   ROOMS rooms of two players (think THINK_MS) for RUN_SECONDS, the
#           relay and the server taking turns ROUNDS times: shots played of
#           those offered, median, and the processor time a shot of each;
#   long    LONG_ROOMS rooms shooting at once (games of hundreds of shots)
#           for LONG_SECONDS: the server's processor time a shot in the
#           first and last thirds (BASELINE=<another capzel-server> runs it
#           too, to compare);
#   flood   four honest rooms from ::1, alone and then beside 15 connections
#           from 127.0.0.1 sending 15 KiB aims as fast as they can;
#   squat   one address makes and leaves 1,000 rooms, then another makes one;
#   vanish  a player's program is stopped (SIGSTOP): how long until its seat
#           shows as dropped, with the server's usual times.
# Environment: ROOMS=2000 RUN_SECONDS=30 ROUNDS=2 THINK_MS=2000 RAMP=100
#              LONG_ROOMS=20 LONG_SECONDS=90 FLOOD_SECONDS=20
#              NICE=-10 runs every program measured (servers, relay, load
#              generator, attacker alike) at that priority, ahead of other
#              work on a shared machine (negative values need root).
set -u
bin="$(cd "${1:?usage: $0 <bin-dir> [steps...]}" && pwd)"
shift
if [ $# -gt 0 ]; then steps=("$@"); else steps=(scale long flood squat vanish); fi
ROOMS=${ROOMS:-2000} RUN_SECONDS=${RUN_SECONDS:-30} ROUNDS=${ROUNDS:-2} THINK_MS=${THINK_MS:-2000} RAMP=${RAMP:-100}
LONG_ROOMS=${LONG_ROOMS:-20} LONG_SECONDS=${LONG_SECONDS:-90} FLOOD_SECONDS=${FLOOD_SECONDS:-20}
work="$(mktemp -d)"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -CONT "$p" 2>/dev/null; kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

load() { cut -d' ' -f1 /proc/loadavg; }
run=(nice -n "${NICE:-0}")
# A value of the JSON object a tool printed.
value() { sed -n "s/^ *\"$2\": \"\{0,1\}\([^\",]*\)\"\{0,1\},*$/\1/p" "$1" | head -1; }
mark() { if awk "BEGIN { exit !($1) }"; then echo "yes"; else echo "NO"; fi; }

# start NAME PROGRAM ARGS...: runs a server and sets $pid and $port.
start() {
    local name="$1" program="$2"
    shift 2
    "${run[@]}" "$program" --port 0 "$@" >"$work/$name.out" 2>&1 &
    pid=$!
    pids+=("$pid")
    for _ in $(seq 300); do grep -q listening "$work/$name.out" 2>/dev/null && break; sleep 0.1; done
    port=$(sed -n 's/.*listening on wss\{0,1\}:\/\/[^:]*:\([0-9]*\).*/\1/p' "$work/$name.out" | head -1)
    [ -n "$port" ] || { echo "$name did not start: $(cat "$work/$name.out")" >&2; exit 1; }
}
stop() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
server() {
    rm -rf "$work/data"
    start "$1" "${SERVER:-$bin/capzel-server}" --data-dir "$work/data" "${@:2}"
}
# The load generator from one address: the server's limits for one address
# are lifted (the relay has none).
open=(--max-rooms 100000 --max-connections-per-address 100000 --max-waiting-rooms-per-address 100000)

for step in "${steps[@]}"; do
case "$step" in
scale)
    echo "## $ROOMS rooms, relay and server alternately ($ROUNDS rounds, $RUN_SECONDS s each, think $THINK_MS ms)"
    echo
    echo "| round | program | shots/s | of offered | median ms | p99 ms | errors | desyncs | CPU % | CPU ms a shot | RSS MB | loadgen CPU % | load avg |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    for round in $(seq "$ROUNDS"); do
        for program in relay server; do
            if [ $program = relay ]; then start relay "$bin/capzel-relay"; else server server "${open[@]}"; fi
            before=$(load)
            extra=(); [ $program = relay ] && extra=(--relay)
            "${run[@]}" "$bin/capzel-loadgen" --server "ws://127.0.0.1:$port" --rooms "$ROOMS" --seconds "$RUN_SECONDS" \
                --think-ms "$THINK_MS" --ramp "$RAMP" --server-pid "$pid" "${extra[@]}" >"$work/$program-$round.json"
            stop
            f="$work/$program-$round.json"
            echo "| $round | $program | $(value "$f" shots_per_second) | $(value "$f" played_share) | $(value "$f" median_latency_ms) |" \
                 "$(value "$f" p99_latency_ms) | $(value "$f" errors) | $(value "$f" desyncs) | $(value "$f" server_cpu_percent) |" \
                 "$(value "$f" server_cpu_ms_per_shot) | $(value "$f" server_peak_rss_mb) | $(value "$f" loadgen_cpu_percent) | $before |"
            grep -q error_kinds "$f" && sed -n '/error_kinds/,/}/p' "$f" >&2
        done
    done
    sum() { for r in $(seq "$ROUNDS"); do value "$work/$1-$r.json" "$2"; done | awk '{ s += $1 } END { print s }'; }
    ratio=$(awk "BEGIN { printf \"%.2f\", $(sum server server_cpu_ms_per_shot) / $(sum relay server_cpu_ms_per_shot) }")
    share=$(awk "BEGIN { printf \"%.3f\", $(sum server shots_per_second) / $(sum relay shots_per_second) }")
    echo
    echo "- server CPU a shot / relay's (all rounds): **$ratio** (at most 1.5: $(mark "$ratio <= 1.5"))"
    for r in $(seq "$ROUNDS"); do
        f="$work/server-$r.json"
        echo "- round $r: server played $(value "$f" played_share) of offered shots (at least 0.95:" \
             "$(mark "$(value "$f" played_share) >= 0.95")), median $(value "$f" median_latency_ms) ms (under 50:" \
             "$(mark "$(value "$f" median_latency_ms) < 50"))"
    done
    echo "- server shots/s / relay's: $share"
    echo
    ;;
long)
    echo "## Long games: $LONG_ROOMS rooms shooting at once for $LONG_SECONDS s"
    echo
    echo "| server | shots/s | longest game | CPU ms a shot, first third | last third | last / first | errors | desyncs | load avg |"
    echo "|---|---|---|---|---|---|---|---|---|"
    for which in ${BASELINE:+baseline} server; do
        if [ "$which" = baseline ]; then
            SERVER="$BASELINE" server long --max-rooms 100000 --max-connections-per-address 100000 --max-messages-per-second 10000
        else
            server long "${open[@]}" --max-messages-per-second 10000
        fi
        before=$(load)
        "${run[@]}" "$bin/capzel-loadgen" --server "ws://127.0.0.1:$port" --rooms "$LONG_ROOMS" --seconds "$LONG_SECONDS" \
            --think-ms 0 --server-pid "$pid" >"$work/long-$which.json"
        stop
        f="$work/long-$which.json"
        echo "| $which | $(value "$f" shots_per_second) | $(value "$f" longest_game_shots) |" \
             "$(value "$f" server_cpu_ms_per_shot_first_third) | $(value "$f" server_cpu_ms_per_shot_last_third) |" \
             "$(value "$f" last_to_first_third) | $(value "$f" errors) | $(value "$f" desyncs) | $before |"
    done
    f="$work/long-server.json"
    echo
    echo "- last third / first third: $(value "$f" last_to_first_third) (at most 1.3: $(mark "$(value "$f" last_to_first_third) <= 1.3"));" \
         "games past 500 shots: $(mark "$(value "$f" longest_game_shots) > 500")"
    echo
    ;;
flood)
    echo "## Aim flood: 4 honest rooms from ::1, 15 connections of 15 KiB aims from 127.0.0.1"
    echo
    echo "| honest rooms | shots | median ms | p99 ms | errors | desyncs | server CPU % | server peak RSS MB | load avg |"
    echo "|---|---|---|---|---|---|---|---|---|"
    server flood
    for attacked in alone attacked; do
        before=$(load)
        attacker=
        if [ $attacked = attacked ]; then
            "${run[@]}" "$bin/capzel-attack" aims --server "ws://127.0.0.1:$port" --connections 15 --seconds $((FLOOD_SECONDS + 3)) \
                >"$work/attack.json" &
            attacker=$!
        fi
        "${run[@]}" "$bin/capzel-loadgen" --server "ws://[::1]:$port" --rooms 4 --seconds "$FLOOD_SECONDS" --think-ms 2000 --ramp 4 \
            --server-pid "$pid" >"$work/flood-$attacked.json"
        [ -n "$attacker" ] && wait "$attacker"
        f="$work/flood-$attacked.json"
        echo "| $attacked | $(value "$f" measured_shots) | $(value "$f" median_latency_ms) | $(value "$f" p99_latency_ms) |" \
             "$(value "$f" errors) | $(value "$f" desyncs) | $(value "$f" server_cpu_percent) | $(value "$f" server_peak_rss_mb) | $before |"
    done
    stop
    echo
    echo "- the attack: $(cat "$work/attack.json")"
    echo "- honest median under attack under 20 ms: $(mark "$(value "$work/flood-attacked.json" median_latency_ms) < 20")"
    echo
    ;;
squat)
    echo "## Squat: 127.0.0.1 makes and leaves 1,000 rooms, then ::1 makes one"
    echo
    server squat
    before=$(load)
    squatted=$("${run[@]}" "$bin/capzel-attack" squat --server "ws://127.0.0.1:$port" --rooms 1000)
    made=$("${run[@]}" "$bin/capzel-attack" create --server "ws://[::1]:$port")
    accepted=$?
    stop
    echo "- squatter: $squatted"
    echo "- the other address: $made (accepted: $(mark "$accepted == 0")); load average $before"
    echo
    ;;
vanish)
    echo "## Vanished player: its program stopped, with the server's usual times"
    echo
    server vanish
    "${run[@]}" "$bin/capzel-attack" host --server "ws://[::1]:$port" >"$work/host.out" &
    hostPid=$!
    pids+=("$hostPid")
    for _ in $(seq 100); do grep -q '^room ' "$work/host.out" && break; sleep 0.1; done
    code=$(sed -n 's/^room //p' "$work/host.out")
    "${run[@]}" "$bin/capzel-attack" join --server "ws://127.0.0.1:$port" --code "$code" >"$work/join.out" &
    joinPid=$!
    pids+=("$joinPid")
    for _ in $(seq 100); do grep -q joined "$work/join.out" && break; sleep 0.1; done
    before=$(load)
    kill -STOP "$joinPid"
    stopped=$(date +%s.%N)
    for _ in $(seq 1200); do grep -q '^dropped at' "$work/host.out" && break; sleep 0.1; done
    dropped=$(sed -n 's/^dropped at //p' "$work/host.out")
    stop
    if [ -n "$dropped" ]; then
        after=$(awk "BEGIN { printf \"%.1f\", $dropped - $stopped }")
        echo "- the seat showed as dropped $after s after its player's program stopped (within 60: $(mark "$after <= 60")); load average $before"
    else
        echo "- the seat did not show as dropped within 120 s: NO"
    fi
    echo
    ;;
*) echo "unknown step $step" >&2; exit 2 ;;
esac
done
