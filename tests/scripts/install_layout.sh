#!/usr/bin/env bash
# The build installed under a temporary prefix, and its Debian package (as `make package` builds it)
# unpacked: in both, the desktop integration in its usual places and accepted by its validators, and
# the program starting under Xvfb without writing into its folder; in the package, the server's unit.
set -euo pipefail
BIN="$(cd "${1:?usage: install_layout.sh <bin-dir>}" && pwd)"
BUILD="$(cd "$BIN/.." && pwd)"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# check_tree PREFIX WHAT: the tree under PREFIX (such as /usr), WHAT in failures.
check_tree() {
    local PREFIX="$1" what="$2"
    for f in bin/capzel bin/capzel-sim share/capzel/media/1.mid share/applications/capzel.desktop \
             share/metainfo/io.github.capzel.Capzel.metainfo.xml share/icons/hicolor/scalable/apps/capzel.svg \
             share/capzel/web/index.html share/capzel/web/capzel.wasm; do
        [ -s "$PREFIX/$f" ] || fail "$what: $f is missing"
    done
    for size in 16 32 48 64 128 256; do
        [ "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/${size}x${size}/apps/capzel.png" 2>/dev/null)" = "${size}x${size}" ] ||
            fail "$what: no ${size}x${size} icon of that size"
    done

    desktop-file-validate "$PREFIX/share/applications/capzel.desktop" || fail "$what: desktop entry refused"
    grep -qx 'Exec=capzel' "$PREFIX/share/applications/capzel.desktop" || fail "$what: the entry does not start capzel"
    grep -qx 'Icon=capzel' "$PREFIX/share/applications/capzel.desktop" || fail "$what: the entry has not our icon"
    appstreamcli validate --no-net "$PREFIX/share/metainfo/io.github.capzel.Capzel.metainfo.xml" >/dev/null ||
        fail "$what: metainfo refused"

    local before
    before="$(ls -A "$PREFIX/bin")"
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" bash -c '
        "$1/bin/capzel" & pid=$!
        timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name "^Capzel\$" >/dev/null || { kill $pid; exit 1; }
        kill $pid; wait $pid 2>/dev/null; exit 0' _ "$PREFIX" || fail "$what: the program did not show its window"
    [ "$(ls -A "$PREFIX/bin")" = "$before" ] || fail "$what: the program wrote into its folder"
}

export HOME="$TMP/home" XDG_DATA_HOME="$TMP/home/.local/share" XDG_RUNTIME_DIR="$TMP/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../e2e/lsan.supp:print_suppressions=0"

cmake --install "$BUILD" --prefix "$TMP/prefix" >/dev/null
check_tree "$TMP/prefix" "installed"

cpack -G DEB -B "$TMP/package" --config "$BUILD/CPackConfig.cmake" >"$TMP/cpack.log" 2>&1 ||
    { cat "$TMP/cpack.log" >&2; fail "the package was not built"; }
deb="$(ls "$TMP"/package/*.deb)"
[ "$(dpkg-deb -f "$deb" Package)" = capzel ] || fail "the package is not named capzel"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt Widgets"
dpkg-deb -x "$deb" "$TMP/unpacked"
check_tree "$TMP/unpacked/usr" "packaged"
unit="$TMP/unpacked/usr/lib/systemd/system/capzel-server.service"
[ -s "$unit" ] || fail "packaged: no systemd unit for capzel-server"
program="$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$unit")"
[ -x "$TMP/unpacked$program" ] || fail "packaged: the unit starts $program, which the package does not hold"
grep -q -- '--data-dir /var/lib/capzel-server' "$unit" || fail "packaged: the unit keeps rooms elsewhere"
grep -qx 'Restart=on-failure' "$unit" || fail "packaged: the unit does not restart a failed server"
echo "install layout and package: all checks passed"
