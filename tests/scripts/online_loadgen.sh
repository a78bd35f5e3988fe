#!/usr/bin/env bash
# capzel-loadgen against capzel-server: five rooms with a computer seat each play five seconds, every
# shot accepted and followed to the bit. No timing is checked (speed: doc/performance.md).
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$@"

serve server --data-dir "$work/data"
[ -n "$port" ] || { fail "the server did not start: $(cat "$work/server.out")"; finish online_loadgen; }

"$bin/capzel-loadgen" --server "ws://127.0.0.1:$port" --rooms 5 --seconds 5 --think-ms 100 \
    --computer-seats 1 --server-pid "${pids[0]}" >"$work/run.json" || fail "capzel-loadgen failed: $(cat "$work/run.json")"
value() { sed -n "s/^ *\"$1\": \([0-9.]*\),*$/\1/p" "$work/run.json"; }
[ "$(value errors)" = 0 ] || fail "errors: $(value errors)"
[ "$(value desyncs)" = 0 ] || fail "desyncs: $(value desyncs)"
# Each room waits for its computer seat, planned one room at a time.
[ "$(value shots)" -ge 5 ] 2>/dev/null || fail "only $(value shots) shots were played"
[ -n "$(value server_rss_mb)" ] || fail "the server's memory is not reported"

# A server refuses the rooms it cannot hold, and the run fails on it.
serve small --data-dir "$work/small" --max-rooms 2
"$bin/capzel-loadgen" --server "ws://127.0.0.1:$port" --rooms 3 --seconds 1 --think-ms 100 >"$work/run.json" &&
    fail "a run with refused rooms exited 0"
grep -q '"refused: The server holds as many rooms as it can (2).": 1' "$work/run.json" ||
    fail "the third room was not refused clearly: $(cat "$work/run.json")"
finish online_loadgen
