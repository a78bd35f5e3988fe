# The set-up of the browser tests, sourced by tests/scripts/web_*.sh:
# web_setup <bin-dir> checks that what they need is installed (make deps
# installs it: a machine without it fails here rather than skipping) and
# that the page is built in <build>/web (make test builds it first: make
# web), and sets $build and $web.
web_setup() {
    build="$(cd "$1/.." && pwd)"
    web="$build/web"
    local tool
    for tool in emcmake node chromium chromedriver xvfb-run xdotool openssl; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (make deps installs it)" >&2; exit 1; }
    done
    /usr/bin/python3 -c 'import selenium' 2>/dev/null ||
        { echo "FAIL: python3-selenium is not installed (make deps installs it)" >&2; exit 1; }
    [ -f "$web/capzel.wasm" ] && [ -f "$web/index.html" ] ||
        { echo "FAIL: no page in $web (make web builds it)" >&2; exit 1; }
}
