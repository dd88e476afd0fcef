#!/usr/bin/env bash
# Runs a command on a virtual display of its own under a real window manager (openbox), as on
# a user's desktop: a window gets its frame only after it is first shown. Exits 77 (skipped)
# where Xvfb or openbox is missing.
set -euo pipefail

for tool in Xvfb xdpyinfo openbox; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# shellcheck source=tools/virtualdisplay.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/virtualdisplay.sh"

work="$(mktemp -d)"
openbox=""
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    if [ -n "$openbox" ]; then
        kill "$openbox" 2>/dev/null || true
        wait "$openbox" 2>/dev/null || true
    fi
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display 1024x768x24 "$work/xvfb.log" || { echo "FAIL: no virtual display"; exit 1; }
export DISPLAY="$virtual_display"

HOME="$work" openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
openbox=$!
for _ in $(seq 300); do # up to 30 s on a loaded machine
    [ -e "$work/wm-ready" ] && break
    sleep 0.1
done
[ -e "$work/wm-ready" ] || { echo "FAIL: openbox did not start"; cat "$work/openbox.log"; exit 1; }

status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || show_virtual_display_log
exit "$status"
