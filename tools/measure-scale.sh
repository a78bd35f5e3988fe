#!/usr/bin/env bash
# How many rooms one capzel-server holds: for each room count, a fresh server
# (rooms kept in a fresh folder) and capzel-loadgen playing that many rooms
# for SECONDS; one Markdown table row each, with the load average before.
#   bash tools/measure-scale.sh <bin-dir> [SECONDS] [ROOMS...]
#   (environment: THINK_MS, PLAYERS, COMPUTERS, RAMP)
set -u
bin="${1:?usage: $0 <bin-dir> [seconds] [rooms...]}"
seconds="${2:-30}"
shift $(($# >= 2 ? 2 : 1))
counts=("${@:-100 250 500 1000}")
[ $# -gt 0 ] || counts=(100 250 500 1000)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
echo "| rooms | connections | shots/s | server CPU % | server RSS MB | median ms | p99 ms | errors | desyncs | loadgen CPU % | load avg |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for rooms in "${counts[@]}"; do
    rm -rf "$work/data"
    "$bin/capzel-server" --port 0 --data-dir "$work/data" --max-rooms 100000 --max-waiting-rooms-per-address 100000 \
        --max-connections-per-address 100000 >"$work/server.out" 2>&1 &
    server=$!
    for _ in $(seq 300); do grep -q listening "$work/server.out" 2>/dev/null && break; sleep 0.1; done
    port=$(sed -n 's/.*listening on ws:\/\/0.0.0.0:\([0-9]*\).*/\1/p' "$work/server.out")
    [ -n "$port" ] || { echo "the server did not start: $(cat "$work/server.out")" >&2; kill $server; continue; }
    load=$(cut -d' ' -f1 /proc/loadavg)
    "$bin/capzel-loadgen" --server "ws://127.0.0.1:$port" --rooms "$rooms" --seconds "$seconds" \
        --think-ms "${THINK_MS:-2000}" --players-per-room "${PLAYERS:-2}" --computer-seats "${COMPUTERS:-0}" \
        --ramp "${RAMP:-100}" --server-pid $server >"$work/run.json"
    kill $server; wait $server 2>/dev/null
    v() { sed -n "s/^ *\"$1\": \([0-9.]*\),*$/\1/p" "$work/run.json"; }
    echo "| $rooms | $(v connections) | $(v shots_per_second) | $(v server_cpu_percent) | $(v server_peak_rss_mb) |" \
         "$(v median_latency_ms) | $(v p99_latency_ms) | $(v errors) | $(v desyncs) | $(v loadgen_cpu_percent) | $load |"
    grep -q error_kinds "$work/run.json" && sed -n '/error_kinds/,/}/p' "$work/run.json" >&2
done
