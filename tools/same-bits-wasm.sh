#!/usr/bin/env bash
# The window-free core built to WebAssembly by Debian's Emscripten (the
# `emscripten` package; node runs the result), checked against the GCC
# build: the corpora recorded again byte for byte, the committed game
# records replayed with every hash equal, the strength curve and real texts,
# and self-play (tests/scripts/same_bits.sh, with node in place of the
# other build's programs).
#   bash tools/same-bits-wasm.sh [<gcc-bin-dir>]     (default: build/bin)
# The WebAssembly build goes to build-wasm/. Its first run builds
# Emscripten's system libraries into its cache, which takes minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
gcc_bin="$(cd "${1:-build/bin}" && pwd)"
for tool in emcmake node; do
    command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install emscripten nodejs)" >&2; exit 1; }
done
[ -x "$gcc_bin/same_bits" ] || { echo "no GCC build in $gcc_bin (make build)" >&2; exit 1; }

out="$PWD/build-wasm"
mkdir -p "$out/json/nlohmann" "$out/run"
# Emscripten has a system root of its own: the JSON library's header alone,
# without the rest of /usr/include.
cp -r /usr/include/nlohmann/. "$out/json/nlohmann/"
# Debian's node modules (acorn, for Emscripten's optimiser) live apart.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Exceptions are caught as natively (the readers refuse bad input by
# throwing); the programs read and write the real file system.
emcmake cmake -S . -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCAPZEL_CORE_ONLY=ON \
    -DCAPZEL_JSON_INCLUDE_DIR="$out/json" "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="-fexceptions" \
    -DCMAKE_EXE_LINKER_FLAGS="-fexceptions -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1" \
    >"$out/configure.log"
cmake --build "$out/cmake"

# Each program as a command, run by node. Node 18 and later has fetch(),
# which Emscripten 3.1.6's loader would use on a file path.
for tool in capzel-sim capzel-scenarios same_bits; do
    printf '#!/bin/sh\nexec node --no-experimental-fetch --stack-size=8192 "%s/cmake/bin/%s.js" "$@"\n' "$out" "$tool" >"$out/run/$tool"
    chmod +x "$out/run/$tool"
done
bash tests/scripts/same_bits.sh "$gcc_bin" "$out/run"
