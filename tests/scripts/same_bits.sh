#!/usr/bin/env bash
# The same bits from another compiler and C++ library. `make test` builds
# the window-free core, capzel-sim, capzel-scenarios and same_bits a second
# time with clang and libc++ (<build>/clang-core, no Qt); that build must
# record both corpora again byte for byte, replay every committed game
# record (tests/data/records) with every hash equal, give the same strength
# curve and real texts, and self-play a request to the same bytes as this
# build. tools/same-bits-wasm.sh runs it on an Emscripten build.
#   bash same_bits.sh <bin-dir> [<other build's bin-dir>]
# Without the other build (ctest run alone): skipped, exit status 77.
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$1"
other="${2:-$bin/../clang-core/bin}"
data="$(cd "$(dirname "$0")/../data" && pwd)"
if [ ! -x "$other/capzel-sim" ]; then
    echo "same_bits: no other build in $other (make test builds it): skipped"
    exit 77
fi
for tool in capzel-sim capzel-scenarios same_bits; do
    [ -x "$bin/$tool" ] && [ -x "$other/$tool" ] || { fail "$tool is missing from a build"; finish same_bits; }
done

"$bin/same_bits" >"$work/ours.txt" || fail "same_bits failed here"
"$other/same_bits" >"$work/theirs.txt" || fail "same_bits failed in the other build"
cmp -s "$work/ours.txt" "$work/theirs.txt" ||
    fail "the strength curve or real texts differ: $(paste -d' ' "$work/ours.txt" "$work/theirs.txt" | tr '\n' ';')"

"$other/capzel-scenarios" <"$data/scenarios.jsonl" >"$work/scenarios.jsonl" || fail "the scenario corpus did not play"
cmp "$work/scenarios.jsonl" "$data/scenarios.jsonl" >&2 || fail "the scenario corpus recorded again differs"
"$other/capzel-scenarios" --commands <"$data/commands.jsonl" >"$work/commands.jsonl" || fail "the command corpus did not play"
cmp "$work/commands.jsonl" "$data/commands.jsonl" >&2 || fail "the command corpus recorded again differs"

# Each record replays in both builds, entry by entry, to the same final game.
count=0 shots=0
for record in "$data"/records/*.json; do
    name=$(basename "$record" .json)
    count=$((count + 1))
    "$bin/capzel-sim" --replay <"$record" >"$work/$name.ours" 2>&1 || fail "$name does not replay here: $(grep -v ' ok$' "$work/$name.ours" | head -2)"
    "$other/capzel-sim" --replay <"$record" >"$work/$name.theirs" 2>&1 ||
        fail "$name does not replay in the other build: $(grep -v ' ok$' "$work/$name.theirs" | head -2)"
    cmp -s "$work/$name.ours" "$work/$name.theirs" || fail "$name replays to other games in the two builds"
    shots=$((shots + $(grep -c '^shot .* ok$' "$work/$name.theirs")))
done
[ "$count" = 5 ] || fail "$count committed records, not 5"

# Self-play: the planner's searches and misses, the same to the byte.
request='{"players": ["strong", "novice", "club"], "games": 2, "seed": 19, "threads": 1, "max_shots": 120'
for side in ours theirs; do
    dir="$bin"
    [ "$side" = theirs ] && dir="$other"
    mkdir -p "$work/selfplay-$side"
    echo "$request, \"records\": \"$work/selfplay-$side\"}" | "$dir/capzel-sim" --selfplay >"$work/selfplay-$side.json" ||
        fail "self-play failed ($side)"
    grep -v decision_seconds "$work/selfplay-$side.json" >"$work/selfplay-$side.fixed"
done
cmp "$work/selfplay-ours.fixed" "$work/selfplay-theirs.fixed" >&2 || fail "self-play gave other results"
diff -r "$work/selfplay-ours" "$work/selfplay-theirs" >/dev/null || fail "self-play wrote other game records"
planned=$(cat "$work"/selfplay-ours/*.json | grep -c '"type":"shot"')

echo "same_bits: $count records ($shots shots), $(wc -l <"$data/scenarios.jsonl") + $(wc -l <"$data/commands.jsonl") corpus cases, $planned self-played shots"
finish same_bits
