#!/usr/bin/env bash
# The animation and idle figures of the game in a real X display (Xvfb):
# a full-strength straight shot on an empty field (also fast-forwarded), the
# running game kept on disk, power-bar fills (processor use of the game and
# of the game with the X server, paints of the field), the status window open
# with nothing moving (processor use and wake-ups), and the Game History
# window opened on 200,000 games (time, memory, a game's end).
# Figures are medians of RUNS runs.
#
#   bash tools/bench-ui.sh <bin-dir>        (make bench-ui)
#   RUNS=5 bash tools/bench-ui.sh build/bin
set -euo pipefail

bin_dir=${1:-build/bin}
runs=${RUNS:-3}
bench="$bin_dir/ui_bench"
[ -x "$bench" ] || { echo "bench-ui: $bench not built" >&2; exit 1; }

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

if command -v Xvfb >/dev/null; then
  # A server of our own, so that its processor time counts with the game's.
  display="Xvfb"
  dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
  xpid=$!
  for _ in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.05; done
  DISPLAY=":$(head -n1 "$dfile")" QT_QPA_PLATFORM=xcb CAPZEL_BENCH_SERVER_PID=$xpid \
    "$bench" "$runs" >"$out" 2>/dev/null || status=$?
  kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null || true
  rm -f "$dfile"
  [ "${status:-0}" = 0 ] || { echo "bench-ui: ui_bench failed ($status)" >&2; exit 1; }
else
  display="offscreen (no Xvfb)"
  QT_QPA_PLATFORM=offscreen "$bench" "$runs" >"$out" 2>/dev/null
fi

get() { awk -v k="$1" '$1 == k { print $2 }' "$out"; }
# check NAME VALUE LOW HIGH UNIT: prints the figure against its goal.
check() {
  local verdict
  verdict=$(awk -v v="$2" -v lo="$3" -v hi="$4" 'BEGIN { print (v >= lo && v <= hi) ? "ok" : "MISSED" }')
  printf '%-44s %10s %-4s  goal %s..%s %s  %s\n' "$1" "$2" "$5" "$3" "$4" "$5" "$verdict"
}
pct() { awk -v v="$1" 'BEGIN { printf "%.3f", v * 100 }'; }

echo "Capzel UI bench: $display, $(nproc) cores, $runs runs, $(date -u +%Y-%m-%d)"
steps=$(get shot.steps)
check "full-strength shot: wall time"            "$(get shot.wall_s | xargs printf '%.2f')" 3 6 s
check "full-strength shot: CPU (user+sys/wall)"  "$(pct "$(get shot.cpu_share)")" 0 10 %
check "full-strength shot: steps seen"           "$(get shot.steps_seen)" "$steps" "$steps" steps
check "full-strength shot: places painted twice" "$(get shot.places_painted_twice)" 0 0 ""
printf '%-44s %10s\n' "full-strength shot: frames painted" "$(get shot.frames)"
check "fast-forwarded shot: wall time"          "$(get shot_fast.wall_s | xargs printf '%.2f')" 0.3 0.8 s
check "fast-forwarded shot: same end, bit for bit" "$(get shot_fast.same_end)" 1 1 ""
printf '%-44s %10s\n' "fast-forwarded shot: frames painted" "$(get shot_fast.frames)"
check "game kept on disk: one write"             "$(get autosave.ms | xargs printf '%.1f')" 0 50 ms
check "power bar: one fill"                      "$(get bar.fill_s | xargs printf '%.3f')" 0.3 0.8 s
check "power bar: CPU while charging"            "$(pct "$(get bar.cpu_share)")" 0 5 %
with_server=$(get bar.cpu_share_with_server)
if [ "$(awk -v v="$with_server" 'BEGIN { print (v >= 0) }')" = 1 ]; then
  printf '%-44s %10s %%\n' "power bar: CPU with the X server" "$(pct "$with_server")"
fi
check "power bar: field paints a second"          "$(get bar.paints_per_s | xargs printf '%.0f')" 0 65 /s
printf '%-44s %10s %%\n' "power bar: share of the field a paint covers" "$(pct "$(get bar.painted_share)")"
check "status window open, idle: CPU"            "$(pct "$(get idle.status_cpu_share)")" 0 0.1 %
check "status window open, idle: wake-ups"       "$(get idle.main_wakeups_per_s | xargs printf '%.1f')" 0 5 /s
printf '%-44s %10s\n' "idle: wake-ups, all threads" "$(get idle.all_wakeups_per_s | xargs printf '%.1f') /s"
printf '%-44s %10s\n' "game history: games (file MB)" "$(get history.games) ($(get history.file_mb | xargs printf '%.1f'))"
check "game history: window open and painted"    "$(get history.open_s | xargs printf '%.3f')" 0 0.2 s
printf '%-44s %10s\n' "game history: wins counted and shown" "$(get history.wins_s | xargs printf '%.3f') s"
check "game history: memory the window added"    "$(get history.rss_growth_mb | xargs printf '%.1f')" 0 40 MB
check "game history: Charts... window painted"   "$(get history.charts_open_ms | xargs printf '%.1f')" 0 100 ms
printf '%-44s %10s\n' "game history: charts drawn" "$(get history.charts_s | xargs printf '%.3f') s"
printf '%-44s %10s\n' "game history: resident after opening" "$(get history.open_rss_mb | xargs printf '%.1f') MB"
check "game history: a game's end, window open"  "$(get history.end_open_ms | xargs printf '%.1f')" 0 50 ms
check "game history: a game's end, window closed" "$(get history.end_closed_ms | xargs printf '%.1f')" 0 50 ms
