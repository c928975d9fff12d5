# Shared by the scripts: paths, the build trees, and the virtual display with Wine.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
jobs=$(nproc 2>/dev/null || echo 2)

# Whether this machine's kernel runs 32-bit programs, and so 32-bit Wine.
can_run_win32() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

configure_and_build() {  # name, extra cmake arguments... (BUILD_TARGETS limits what is built)
    local name=$1; shift
    cmake -S "$root" -B "$build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$build/$name.configure.log" 2>&1 \
        || { cat "$build/$name.configure.log"; echo "configure of $name failed" >&2; return 1; }
    local targets=()
    for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
    cmake --build "$build/$name" -j "$jobs" "${targets[@]}" 2>&1 | grep -E 'error|warning:|Error' | head -50
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "build of $name failed" >&2; return 1; }
}

xvfb_pid=
start_display() {
    if [ -n "${ASCENDOR_DISPLAY_STARTED:-}" ]; then return 0; fi
    command -v Xvfb >/dev/null || { echo "Xvfb is missing; run scripts/setup" >&2; return 1; }
    local fd_file; fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$fd_file" ] && break
        sleep 0.1
    done
    local number; number=$(head -n1 "$fd_file"); rm -f "$fd_file"
    [ -n "$number" ] || { echo "the virtual display did not start" >&2; return 1; }
    export DISPLAY=":$number"
    export ASCENDOR_DISPLAY_STARTED=1
}

stop_wine_and_display() {
    local prefix
    for prefix in "$build"/*/wineprefix-32 "$build"/*/wineprefix-64; do
        [ -d "$prefix" ] || continue
        local server=/usr/lib/wine/wineserver64
        [ -x "$server" ] || server=wineserver
        WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1 || true
    done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
