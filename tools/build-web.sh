#!/usr/bin/env bash
# The page and its WebAssembly core, built by Debian's Emscripten (the
# `emscripten` package) from the same sources as the desktop, into
# <build>/web: index.html, app.js, draw.js, style.css, capzel.js and
# capzel.wasm. The Emscripten build tree is <build>/web-cmake.
#   bash tools/build-web.sh [<build-dir>]      (default: build)
# Exit status 77 when Emscripten is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
command -v emcmake >/dev/null || { echo "build-web: Emscripten is not installed (apt-get install emscripten)" >&2; exit 77; }
mkdir -p "$build"
build="$(cd "$build" && pwd)"
tree="$build/web-cmake"
mkdir -p "$tree/json/nlohmann"
# Emscripten has a system root of its own: the JSON library's header alone,
# without the rest of /usr/include.
cp -ru /usr/include/nlohmann/. "$tree/json/nlohmann/"
# Debian's node modules (acorn, for Emscripten's optimiser) live apart.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$tree/build.ninja" ]; then
    # The smallest code (-Oz), linked as a whole (-flto): the page's budget
    # is 1 MB for everything.
    emcmake cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DCAPZEL_WEB=ON \
        -DCAPZEL_JSON_INCLUDE_DIR="$tree/json" -DCAPZEL_WEB_OUT="$build/web" "${launcher[@]}" \
        -DCMAKE_CXX_FLAGS_MINSIZEREL="-Oz -DNDEBUG -flto" -DCMAKE_EXE_LINKER_FLAGS="-Oz -flto" \
        >"$tree/configure.log"
fi
cmake --build "$tree"
