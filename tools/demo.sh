#!/usr/bin/env bash
# Starts the printer simulator on 127.0.0.1 together with the window, says in one line which
# address to try, and stops the simulator when the window closes. Builds nothing: ./dev demo
# builds first and calls it, on a virtual display where there is no real one.
#   tools/demo.sh <build-dir> [printer-sim options...]      e.g. tools/demo.sh build --status b
set -euo pipefail

say() { printf 'demo: %s\n' "$*" >&2; }

if [ $# -lt 1 ]; then
    say "usage: tools/demo.sh <build-dir> [printer-sim options...]"
    exit 2
fi
build="$1"
shift
sim="$build/sim/printer-sim"
app="$build/app/solvarn-printersjekk"
for program in "$sim" "$app"; do
    if [ ! -x "$program" ]; then
        say "$program is missing: build first (./dev demo does)"
        exit 2
    fi
done

# The window reads no configuration and cannot be pointed at a pseudo-terminal.
address=127.0.0.1
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    case "${args[i]}" in
    --serial)
        say "the window cannot reach the simulator's pseudo-terminal; run printer-sim --serial on its own"
        exit 2
        ;;
    -a | --address) address="${args[i + 1]:-}" ;;
    --address=*) address="${args[i]#--address=}" ;;
    esac
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    say "no display here (DISPLAY and WAYLAND_DISPLAY are empty); ./dev demo runs the demo on a virtual display"
    exit 3
fi

log="$(mktemp "${TMPDIR:-/tmp}/printer-sim-demo.XXXXXX")"
sim_pid=""
app_pid=""
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    if [ -n "$sim_pid" ]; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -f "$log"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Its log goes to the terminal as it comes, and to a file to see when it is ready.
"$sim" "$@" 2> >(tee "$log" >&2) &
sim_pid=$!

ready=""
for _ in $(seq 100); do
    if grep -q 'printer-sim: ready: ' "$log"; then
        ready=yes
        break
    fi
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        status=0
        wait "$sim_pid" || status=$?
        sim_pid=""
        say "printer-sim stopped at once (exit status $status), see above"
        exit "$status"
    fi
    sleep 0.1
done
if [ -z "$ready" ]; then
    say "printer-sim did not get ready within 10 seconds"
    exit 1
fi

echo "Printer simulator on $address: in the window click \"Nettverk\", type $address as IP-adresse and click \"Test skriver\"."

# wait, unlike a foreground child, lets the INT and TERM traps run at once.
"$app" &
app_pid=$!
status=0
wait "$app_pid" || status=$?
app_pid=""
exit "$status"
