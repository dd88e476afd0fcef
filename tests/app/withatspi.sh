#!/usr/bin/env bash
# Runs a command on a virtual display of its own with the desktop's accessibility bus (AT-SPI)
# in a private session bus, as screen readers meet the program: Qt's bridge to assistive
# technology is on. A command ending in .py runs with a Python that has pyatspi. Exits 77
# (skipped) where Xvfb, the session bus, at-spi2-core or pyatspi is missing.
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdpyinfo >/dev/null || skip "xdpyinfo is not installed (x11-utils)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (dbus)"
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher="$candidate" && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher is not installed (at-spi2-core)"
if [[ "$1" == *.py ]]; then
    python=""
    for candidate in /usr/bin/python3 python3; do
        if "$candidate" -c 'import pyatspi' 2>/dev/null; then python="$candidate"; break; fi
    done
    [ -n "$python" ] || skip "pyatspi is not installed (python3-pyatspi)"
    set -- "$python" "$@"
fi

# shellcheck source=tools/virtualdisplay.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/virtualdisplay.sh"

work="$(mktemp -d)"
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display 1280x1024x24 "$work/xvfb.log" || { echo "FAIL: no virtual display"; exit 1; }

export DISPLAY="$virtual_display" QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 XDG_RUNTIME_DIR="$work"
# The bus launcher ends with the session bus; the command's status is the script's. The inner
# script's variables are its own, expanded when it runs.
status=0
# shellcheck disable=SC2016
dbus-run-session -- sh -c 'launcher=$1; shift; "$launcher" --launch-immediately >/dev/null 2>&1 &
exec "$@"' sh "$launcher" "$@" 2> >(grep -v 'fd limit' >&2) || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || show_virtual_display_log
exit "$status"
