# shellcheck shell=bash disable=SC2034  # virtual_display is read by the scripts that source this
# A virtual display (Xvfb) for the scripts that show the window where there is no real display
# (sourced by ./dev, tools/startup.sh, tools/windows/test-wine.sh, packaging/check-package.sh
# and the window's tests under a window manager, with AT-SPI and with Orca in tests/app/).
# Xvfb picks a free display number itself (-displayfd), so two scripts, or a script and a
# user's own Xvfb, never meet on one number.
#
# The number Xvfb reports is not yet proof: two servers starting side by side can leave one
# reporting a number that no client reaches. A display is handed out only once a client
# (xdpyinfo, from x11-utils) has connected to it and been answered; otherwise a fresh server
# is started, a few times, before it gives up with the server's log. The server does not reset
# when its last client leaves (-noreset): a window connecting in that moment would be refused.
#   start_virtual_display <WIDTHxHEIGHTxDEPTH> [Xvfb's log, default a file of its own]
#       sets virtual_display (":N", for DISPLAY) and virtual_display_pid. Returns 1, saying
#       why and showing the server's log, if no server took clients.
#   stop_virtual_display
#       ends it and waits for it; nothing to do when none runs.
#   show_virtual_display_log
#       prints the server's log on standard error (for a test that failed on the display).

virtual_display=""
virtual_display_pid=""
virtual_display_log=""
virtual_display_own_log=""

# How often a server is started before giving up, how long each may take to report its number
# (in tenths of a second) and how long a client may take to be answered (in seconds).
virtual_display_starts=5
virtual_display_number_wait=300
virtual_display_client_wait=10

start_virtual_display() {
    local screen="$1" start
    virtual_display_own_log=""
    virtual_display_log="${2:-}"
    if [ -z "$virtual_display_log" ] || [ "$virtual_display_log" = /dev/null ]; then
        virtual_display_log="$(mktemp)"
        virtual_display_own_log="$virtual_display_log"
    fi
    if ! command -v xdpyinfo >/dev/null; then
        printf 'xdpyinfo (x11-utils) is needed to prove that the virtual display takes clients\n' >&2
        return 1
    fi
    for start in $(seq "$virtual_display_starts"); do
        if virtual_display_start_once "$screen" "$start"; then
            return 0
        fi
        virtual_display_end_server
    done
    printf 'Xvfb gave no display that takes clients in %d starts; its log:\n' \
        "$virtual_display_starts" >&2
    show_virtual_display_log
    stop_virtual_display
    return 1
}

# One server: started, its number read and a client's answer checked. Servers started with
# -displayfd keep no lock files: each finds a free number by trying to listen on it, and two
# doing that at once can take one number's sockets from each other. The scripts of this
# project therefore start their servers one at a time (a lock in /tmp, where the displays'
# sockets are); a server of someone else's that starts in the same moment costs a retry.
virtual_display_start_once() { # <screen> <start number>
    local screen="$1" start="$2" number_file tries="$virtual_display_number_wait" number
    local lock="/tmp/.solvarn-virtual-display.lock" lock_fd proved=""
    # Read access is enough for the lock, so a file made by another user serves too.
    : >>"$lock" 2>/dev/null || true
    if [ -f "$lock" ] && [ -r "$lock" ] && exec {lock_fd}<"$lock"; then
        flock -w 120 "$lock_fd" || true
    else
        exec {lock_fd}</dev/null
    fi
    number_file="$(mktemp)"
    printf -- '--- Xvfb, start %d of %d\n' "$start" "$virtual_display_starts" >>"$virtual_display_log"
    # Xvfb writes the number to descriptor 3 once it listens there. It must not hold the lock.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$number_file" \
        {lock_fd}<&- >>"$virtual_display_log" 2>&1 &
    virtual_display_pid=$!
    until grep -q '^[0-9][0-9]*$' "$number_file"; do
        tries=$((tries - 1))
        if [ "$tries" -eq 0 ] || ! kill -0 "$virtual_display_pid" 2>/dev/null; then
            printf -- '--- no display number reported\n' >>"$virtual_display_log"
            break
        fi
        sleep 0.1
    done
    number="$(head -n 1 "$number_file")"
    rm -f "$number_file"
    if [ -n "$number" ] &&
        DISPLAY=":$number" timeout "$virtual_display_client_wait" xdpyinfo >/dev/null 2>&1 &&
        kill -0 "$virtual_display_pid" 2>/dev/null; then
        proved=yes
        virtual_display=":$number"
    elif [ -n "$number" ]; then
        printf -- '--- :%s reported, but no client was answered there\n' "$number" \
            >>"$virtual_display_log"
    fi
    exec {lock_fd}<&-
    [ -n "$proved" ]
}

show_virtual_display_log() {
    [ -n "$virtual_display_log" ] && [ -r "$virtual_display_log" ] || return 0
    printf -- '--- the virtual display'"'"'s log (%s):\n' "$virtual_display_log" >&2
    tail -n 40 "$virtual_display_log" >&2
}

virtual_display_end_server() {
    if [ -n "$virtual_display_pid" ]; then
        kill "$virtual_display_pid" 2>/dev/null || true
        wait "$virtual_display_pid" 2>/dev/null || true
    fi
    virtual_display=""
    virtual_display_pid=""
}

# Also removes the log this helper made itself; a log named by the caller stays the caller's.
stop_virtual_display() {
    virtual_display_end_server
    if [ -n "$virtual_display_own_log" ]; then
        rm -f "$virtual_display_own_log"
        virtual_display_own_log=""
    fi
}
