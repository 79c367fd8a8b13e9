#!/usr/bin/env bash
# The demo form read by a real accessibility client: kvform under Xvfb on a private session bus
# with the desktop accessibility bus, read and driven by atspi.py. The press of "Salvar" must
# reach the form as cmdSalvar.Click. Exit 77 (skipped) when the tools are missing.
set -uo pipefail
kvform="$1"
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" != "--inside" ]; then
    for tool in Xvfb dbus-run-session; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
    /usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "skipped: python3-pyatspi is missing"; exit 77; }
    [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "skipped: at-spi2-core is missing"; exit 77; }
    exec timeout 90 dbus-run-session -- "$0" --inside "$kvform"
fi
kvform="$2"

. "$here/../xsession.sh"
start_xvfb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

# The accessibility bus, started now rather than on the first request, so that kvform finds it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

"$kvform" --events >"$work/events.log" 2>&1 &
pids+=($!)

# Debian's own Python: the client library is a Debian package.
/usr/bin/python3 "$here/atspi.py"
status=$?
# The press arrives through the form's event loop.
for _ in $(seq 30); do grep -q '^cmdSalvar.Click' "$work/events.log" && break; sleep 0.1; done
if ! grep -q '^cmdSalvar.Click' "$work/events.log"; then
    echo "FAIL: the accessibility press did not click Salvar"
    tail -n 20 "$work/events.log"
    status=1
fi
exit $status
