#!/usr/bin/env bash
# Runs a command on a virtual display of its own under a real window manager (openbox), as on
# a user's desktop: a window gets its frame only after it is first shown. Exits 77 (skipped)
# where Xvfb or openbox is missing.
set -euo pipefail

for tool in Xvfb openbox; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

wait_for_file() { # wait_for_file <file> <what>
    for _ in $(seq 100); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    echo "FAIL: $2 did not start"
    exit 1
}

# Xvfb picks a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_file "$work/display" "Xvfb"
export DISPLAY=":$(head -n1 "$work/display")"

HOME="$work" openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -e "$work/wm-ready" ] && break
    sleep 0.1
done
[ -e "$work/wm-ready" ] || { echo "FAIL: openbox did not start"; cat "$work/openbox.log"; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
