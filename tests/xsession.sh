# Sourced by the tests that drive kvform on a real X server: a work folder and the processes
# started for the test, both cleaned up on exit; fail and waitfor; start_xvfb exports DISPLAY
# for a fresh Xvfb and the Qt settings every such test runs with.

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/events.log" ] && tail -n 20 "$work/events.log"; exit 1; }

# Polls `command` every 0.1 s for up to `seconds`.
waitfor() {
    local seconds="$1"; shift
    local tries=$((seconds * 10))
    while ((tries-- > 0)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    waitfor 10 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/display")"
    export QT_QPA_PLATFORM=xcb QT_FONT_DPI=96
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
}
