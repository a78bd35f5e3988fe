#!/usr/bin/env bash
# Two capzel-servers behind HAProxy with packaging/haproxy-capzel.cfg (free ports, limits raised for one
# address): rooms made round robin and joined by ?room=CODE reach the server of their code's letter.
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"
command -v haproxy >/dev/null || { echo "haproxy is not installed: skipped"; exit 77; }

lifted=(--max-connections-per-address 100000 --max-waiting-rooms-per-address 100000 --max-wrong-codes-per-minute 100000)
serve A --data-dir "$work/A" --code-prefix A "${lifted[@]}"; a=$port
serve B --data-dir "$work/B" --code-prefix B "${lifted[@]}"; b=$port
lb=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
sed -e "s/:7788/127.0.0.1:$lb/; s/127.0.0.1:7801/127.0.0.1:$a/; s/127.0.0.1:7802/127.0.0.1:$b/" \
    -e "s/sc0_conn_cur gt 16/sc0_conn_cur gt 1000/" \
    "$(dirname "$0")/../../packaging/haproxy-capzel.cfg" >"$work/haproxy.cfg"
haproxy -f "$work/haproxy.cfg" -db >"$work/haproxy.out" 2>&1 &
pids+=($!)
for _ in $(seq 600); do (echo >/dev/tcp/127.0.0.1/$lb) 2>/dev/null && break; sleep 0.1; done

"$bin/capzel-loadgen" --server "ws://127.0.0.1:$lb" --rooms 8 --seconds 3 --think-ms 100 >"$work/run.json" ||
    fail "capzel-loadgen through HAProxy failed: $(cat "$work/run.json")"
grep -q '"desyncs": 0' "$work/run.json" || fail "desyncs through HAProxy"
for letter in A B; do
    mine=$(ls "$work/$letter/rooms" | grep -c "^$letter.*\.room\.json$")
    others=$(ls "$work/$letter/rooms" | grep -vc "^$letter")
    [ "$mine" -ge 3 ] || fail "server $letter holds $mine rooms of its letter"
    [ "$others" = 0 ] || fail "server $letter holds rooms of another letter"
done
finish online_balancer
