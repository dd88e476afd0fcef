#!/usr/bin/env bash
# Runs a command with the real screen reader listening, as a blind user meets the program: a
# virtual display of its own under a window manager (openbox), a private session bus with the
# desktop's accessibility bus (AT-SPI), and Orca speaking through speech-dispatcher, whose only
# voice writes each utterance as one line to $ORCA_TRANSCRIPT. Orca's own record of what it
# says goes to $ORCA_DEBUG_LOG. Nothing of the user's (settings, sound, buses) is touched.
# Exits 77 (skipped) where a part is missing.
#   withorca.sh COMMAND [ARGS...]   (a COMMAND ending in .py runs with the system's Python)
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb xdpyinfo openbox dbus-run-session orca speech-dispatcher xdotool python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher="$candidate" && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher is not installed (at-spi2-core)"
generic=""
for candidate in /usr/lib/speech-dispatcher-modules/sd_generic \
    /usr/lib/x86_64-linux-gnu/speech-dispatcher-modules/sd_generic; do
    [ -x "$candidate" ] && generic="$candidate" && break
done
[ -n "$generic" ] || skip "speech-dispatcher's generic output module is missing"
# Orca runs on the system's Python with pyatspi; a command ending in .py runs with it too.
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip "pyatspi is not installed (python3-pyatspi)"
[[ "$1" == *.py ]] && set -- /usr/bin/python3 "$@"

# shellcheck source=tools/virtualdisplay.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/virtualdisplay.sh"

work="$(mktemp -d)"
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    stop_virtual_display
    if [ -n "${ORCA_KEEP:-}" ]; then
        echo "Kept: $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# A home of its own: Orca's settings, speech-dispatcher's configuration and a silent sound card.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
export ORCA_TRANSCRIPT="$work/transcript.txt" ORCA_DEBUG_LOG="$work/orca-debug.log"
: >"$ORCA_TRANSCRIPT"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/speechd-log"
AudioOutputMethod "alsa"
AddModule "transcript" "$generic" "transcript.conf"
DefaultModule transcript
LanguageDefaultModule "en" "transcript"
LanguageDefaultModule "nb" "transcript"
DefaultLanguage "en"
CONF
# One line per utterance; the module hands the text in $DATA, quoted for the shell.
cat >"$XDG_CONFIG_HOME/speech-dispatcher/modules/transcript.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >>$ORCA_TRANSCRIPT"
AddVoice "en" "MALE1" "transcript"
AddVoice "nb" "MALE1" "transcript"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "nb" "nb" "utf-8"
DefaultVoice "transcript"
CONF
mkdir -p "$work/speechd-log"

start_virtual_display 1280x1024x24 "$work/xvfb.log" || { echo "FAIL: no virtual display"; exit 1; }
export DISPLAY="$virtual_display"

openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do # up to 30 s on a loaded machine
    [ -e "$work/wm-ready" ] && break
    sleep 0.1
done
[ -e "$work/wm-ready" ] || { echo "FAIL: openbox did not start"; exit 1; }

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export GSETTINGS_BACKEND=memory LANGUAGE=en LC_ALL=C.UTF-8
export ORCA_WORK="$work"
# The session bus, the accessibility bus, the speech server and Orca live as long as the
# command, whose status is the script's. Orca says that it is on before anything else. The
# inner script's variables are its own, expanded when it runs.
# One session: the buses, the speech server, Orca and the command. A command that exits with 75
# saw Orca itself stop taking key presses (a screen reader stalled on a loaded machine, not a
# fault of the window): the whole session runs once more, from a fresh Orca.
run_session() {
    : >"$ORCA_TRANSCRIPT"
    : >"$ORCA_DEBUG_LOG"
    # shellcheck disable=SC2016
    dbus-run-session -- sh -c '
launcher=$1; shift
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
speech-dispatcher --run-single --timeout 0 >"$ORCA_WORK/speechd.out" 2>&1 &
speech=$!
orca --replace --debug-file="$ORCA_DEBUG_LOG" >"$ORCA_WORK/orca.log" 2>&1 &
orca=$!
status=0
"$@" || status=$?
# Orca may ignore the request to end (seen when a test failed in the middle of its speech): it
# gets 5 s, then it is killed, so that a failing test ends at once.
kill $orca $speech $bus 2>/dev/null
for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25; do
    kill -0 $orca 2>/dev/null || kill -0 $speech 2>/dev/null || kill -0 $bus 2>/dev/null || break
    sleep 0.2
done
kill -KILL $orca $speech $bus 2>/dev/null
wait $orca $speech $bus 2>/dev/null
exit $status' sh "$launcher" "$@" 2> >(grep -v 'fd limit' >&2)
}
status=0
run_session "$@" || status=$?
if [ "$status" -eq 75 ]; then
    echo "--- Orca stalled; the whole session once more"
    status=0
    run_session "$@" || status=$?
    [ "$status" -ne 75 ] || status=1
fi
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    echo "--- Orca's messages:"; tail -n 20 "$work/orca.log" || true
    echo "--- the speech server's messages:"; tail -n 20 "$work/speechd.out" || true
    echo "--- what Orca meant to say, last 40:"
    grep 'SPEECH OUTPUT' "$ORCA_DEBUG_LOG" | tail -n 40 || true
    show_virtual_display_log
fi
exit "$status"
