# The browser tests' start, sourced by tests/scripts/web_*.sh. web_run <bin-dir> SCRIPT NAME
# [XVFB]: checks that what they need is installed (make deps: a machine without it fails here
# rather than skipping) and that the page is built in <build>/web (make web), then runs
# tests/web/SCRIPT with its screenshots in <build>/e2e-artifacts/NAME (under Xvfb when XVFB=xvfb).
web_run() {
    local bin build tool
    bin="$(cd "${1:?usage: $0 <bin-dir>}" && pwd)"
    build="$(cd "$bin/.." && pwd)"
    for tool in emcmake node chromium chromedriver xvfb-run xdotool openssl; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (make deps installs it)" >&2; exit 1; }
    done
    /usr/bin/python3 -c 'import selenium' 2>/dev/null ||
        { echo "FAIL: python3-selenium is not installed (make deps installs it)" >&2; exit 1; }
    [ -f "$build/web/capzel.wasm" ] && [ -f "$build/web/index.html" ] ||
        { echo "FAIL: no page in $build/web (make web builds it)" >&2; exit 1; }
    local run=(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../../web/$2" "$bin" "$build/web" "$build/e2e-artifacts/$3")
    if [ "${4:-}" = xvfb ]; then
        xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp -noreset" "${run[@]}"
    else
        "${run[@]}"
    fi
}
