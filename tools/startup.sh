#!/usr/bin/env bash
# Measures the window's start-up: the time from starting the program until its window is
# mapped and viewable on a virtual display (Xvfb), and its memory then (peak and current
# resident size). Runs the program several times and prints each run and the median.
#   tools/startup.sh <build-dir> [runs]          e.g. tools/startup.sh build 10
# Needs Xvfb and xwininfo (x11-utils); builds nothing (./dev bench builds first and calls it).
set -euo pipefail

build="${1:?usage: tools/startup.sh <build-dir> [runs]}"
runs="${2:-10}"
app="$build/app/solvarn-printersjekk"
title="Solvarn printersjekk"
[ -x "$app" ] || { echo "startup: $app is missing: build first" >&2; exit 2; }

# shellcheck source=tools/virtualdisplay.sh
. "$(dirname "${BASH_SOURCE[0]}")/virtualdisplay.sh"
start_virtual_display 1024x768x24
trap stop_virtual_display EXIT
display="$virtual_display"

now_ms() { date +%s%3N; }
kib() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$2/status"; }

errors="$(mktemp)"
trap 'stop_virtual_display; rm -f "$errors"' EXIT
times=() peaks=()
for run in $(seq "$runs"); do
    start=$(now_ms)
    DISPLAY="$display" "$app" 2>"$errors" &
    pid=$!
    shown=""
    for _ in $(seq 500); do
        kill -0 "$pid" 2>/dev/null || break
        if DISPLAY="$display" xwininfo -name "$title" 2>/dev/null | grep -q IsViewable; then
            shown=$(now_ms)
            break
        fi
        sleep 0.02
    done
    if [ -z "$shown" ]; then
        kill "$pid" 2>/dev/null || true
        echo "startup: run $run: the window never showed; the program said:" >&2
        cat "$errors" >&2
        exit 1
    fi
    # Let it settle after its first paint before reading its memory.
    sleep 1
    peak=$(kib VmHWM "$pid")
    resident=$(kib VmRSS "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    times+=($((shown - start)))
    peaks+=("$peak")
    printf 'run %2d: window shown after %4d ms, peak resident %6d KiB, resident %6d KiB\n' \
        "$run" "$((shown - start))" "$peak" "$resident"
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median of $runs runs: window shown after $(median "${times[@]}") ms," \
    "peak resident $(median "${peaks[@]}") KiB"
echo "load average when done: $(cut -d' ' -f1-3 /proc/loadavg)"
