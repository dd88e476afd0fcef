# shellcheck shell=bash disable=SC2034  # virtual_display is read by the scripts that source this
# A virtual display (Xvfb) for the scripts that show the window where there is no real display
# (sourced by ./dev, tools/startup.sh, tools/windows/test-wine.sh, packaging/check-package.sh
# and the window's tests under a window manager, with AT-SPI and with Orca in tests/app/). Xvfb picks a free display number itself (-displayfd), so two
# scripts, or a script and a user's own Xvfb, never meet on one number.
#   start_virtual_display <WIDTHxHEIGHTxDEPTH> [Xvfb's log, default none]
#       starts Xvfb and waits until it takes clients (up to 30 s); sets virtual_display
#       (":N", for DISPLAY) and virtual_display_pid. Returns 1, saying why, if it did not start.
#   stop_virtual_display
#       ends it and waits for it; nothing to do when none runs.

virtual_display=""
virtual_display_pid=""

start_virtual_display() {
    local screen="$1" log="${2:-/dev/null}" number_file tries=300
    number_file="$(mktemp)"
    # Xvfb writes the number to descriptor 3 once it takes clients.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >"$log" 2>&1 &
    virtual_display_pid=$!
    until grep -q '^[0-9][0-9]*$' "$number_file"; do
        tries=$((tries - 1))
        if [ "$tries" -eq 0 ] || ! kill -0 "$virtual_display_pid" 2>/dev/null; then
            printf 'Xvfb did not start (log: %s)\n' "$log" >&2
            rm -f "$number_file"
            stop_virtual_display
            return 1
        fi
        sleep 0.1
    done
    virtual_display=":$(head -n 1 "$number_file")"
    rm -f "$number_file"
}

stop_virtual_display() {
    [ -n "$virtual_display_pid" ] || return 0
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display=""
    virtual_display_pid=""
}
