#!/usr/bin/env bash
# Tests the Windows build (./dev windows) under Wine, in a fresh Wine prefix, against the Linux
# build's printer-sim and test programs (./dev test):
#   1. solvarn-sjekk.exe meets tests/cli's table (network on 127.0.9.x, serial through Wine COM
#      ports linked to printer-sim's pseudo-terminals), but for the rows whose rig needs the
#      Linux program (ELF imports, Linux's name resolution, a device's permissions), which the
#      table skips, and the printer's reset, which Wine reads as a clean close;
#   2. a serial check with Windows' own numbering: COM5 linked to a printer-sim pseudo-terminal;
#   3. the window on a virtual display, driven by keys: a network test against printer-sim on
#      127.0.14.2 whose log, copied with "Kopier tekst", ends with the printer's verdict; a
#      screenshot is kept;
#   4. the installer run silently, the installed programs run, the uninstaller leaving nothing.
#   tools/windows/test-wine.sh [LINUX_BUILD] [WINDOWS_BUILD]    (defaults: build, build-windows)
# Exits 0 when every step passed. Everything the steps wrote is kept in WINDOWS_BUILD/wine-test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
linux="$(realpath "${1:-$root/build}")"
windows="$(realpath "${2:-$root/build-windows}")"
say() { printf '%s\n' "$*" >&2; }

stage="$(find "$windows" -maxdepth 1 -type d -name 'solvarn-printersjekk-*-windows-x64' | head -n 1)"
installer="$(find "$windows" -maxdepth 1 -name 'solvarn-printersjekk-*-windows-x64-setup.exe' |
    head -n 1)"
sim="$linux/sim/printer-sim"
table="$linux/tests/cli/tst_solvarnsjekk"
for needed in "$stage/solvarn-sjekk.exe" "$installer" "$sim" "$table"; do
    [ -e "$needed" ] || { say "Missing: $needed (run ./dev windows and ./dev test first)"; exit 1; }
done

work="$windows/wine-test"
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# A new prefix would otherwise offer to install Mono and Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"

failed=()
pass() { say "PASS: $1"; }
fail() { say "FAIL: $1"; failed+=("$1"); }

background=()
cleanup() {
    for pid in "${background[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
}
trap cleanup EXIT

# Runs a Windows program; its output goes to files (Wine's server would hold a pipe open).
run_wine() { # run_wine <name for the output files> <program> [arguments...]
    local name="$1"
    shift
    local status=0
    "$wine" "$@" </dev/null >"$work/$name.out" 2>"$work/$name.err" || status=$?
    return "$status"
}

# Waits until a file contains a text (up to the seconds given).
wait_for_text() { # wait_for_text <file> <text> <seconds>
    local tries=$(($3 * 10))
    while [ "$tries" -gt 0 ]; do
        grep -qF -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

start_sim() { # start_sim <log file> <printer-sim options...>; sets sim_pid
    local log="$1"
    shift
    "$sim" "$@" >"$log" 2>&1 &
    sim_pid=$!
    background+=("$sim_pid")
}

say "Making a fresh Wine prefix in $WINEPREFIX"
"$wine" wineboot --init </dev/null >"$work/wineboot.log" 2>&1
# One server for all the steps, so that each program starts without waiting for one (once the
# server that made the prefix has gone).
"$wineserver" -w
"$wineserver" -p >/dev/null 2>&1

# 1. tests/cli's table against solvarn-sjekk.exe.
say "1. The command-line table against solvarn-sjekk.exe"
if SOLVARN_SJEKK_COMMAND="$here/wine-sjekk.sh" SOLVARN_SJEKK_EXE="$stage/solvarn-sjekk.exe" \
    SOLVARN_SJEKK_UNDER_WINE=1 QT_QPA_PLATFORM=offscreen "$table" >"$work/table.log" 2>&1; then
    pass "tests/cli's table: $(grep -E '^Totals:' "$work/table.log")"
else
    grep -E '^(FAIL|   Loc|Totals)' "$work/table.log" >&2 || true
    fail "tests/cli's table (see $work/table.log)"
fi

# 2. A serial check with the system's own numbering: COM5 is Wine's link to the pseudo-terminal.
say "2. Serial check on COM5 through Wine's COM port mapping"
start_sim "$work/serial-sim.log" --serial --link "$work/printer-tty" --status A --labels 77
for _ in $(seq 100); do
    [ -e "$work/printer-tty" ] && break
    sleep 0.1
done
ln -sfn "$work/printer-tty" "$WINEPREFIX/dosdevices/com5"
status=0
run_wine serial "$stage/solvarn-sjekk.exe" serial --from 5 --to 5 --pause 300 || status=$?
if [ "$status" -eq 0 ] && grep -q '^OK - com5: ' "$work/serial.out" &&
    grep -qF -- '-->^B  A000077^C<--' "$work/serial.out"; then
    pass "COM5: $(tail -n 1 "$work/serial.out")"
else
    fail "COM5 serial check (exit $status, see $work/serial.out)"
fi
kill "$sim_pid" 2>/dev/null || true

# The window steps share one virtual display.
# shellcheck source=tools/virtualdisplay.sh
. "$root/tools/virtualdisplay.sh"
start_virtual_display 1024x768x24 "$work/xvfb.log"
background+=("$virtual_display_pid")
export DISPLAY="$virtual_display"

# Waits for the window to be shown, up to 90 s: the first window of a fresh Wine prefix may wait
# while Wine sets up its desktop and fonts on a busy machine. Prints its X id.
find_window() {
    local window=""
    for _ in $(seq 450); do
        window="$(xdotool search --name '^Solvarn printersjekk$' 2>/dev/null | head -n 1 || true)"
        [ -n "$window" ] && break
        sleep 0.2
    done
    echo "$window"
}

# Ends every Windows program and starts a fresh server for the next step.
end_windows_programs() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    "$wineserver" -p >/dev/null 2>&1
}

# 3. The window, driven by keys.
say "3. The window under Xvfb: a network test by keys"
# Wine's desktop process, which puts windows on the display, was started by the steps before
# without one and stays so with the server: a fresh server starts it on the virtual display.
end_windows_programs
start_sim "$work/window-sim.log" --address 127.0.14.2 --status A --labels 314
"$wine" "$stage/solvarn-printersjekk.exe" </dev/null >"$work/window.out" 2>"$work/window.err" &
window="$(find_window)"
if [ -z "$window" ]; then
    fail "the window did not appear within 90 s (see $work/window.err)"
else
    sleep 2 # Wine maps the window before Qt has drawn it
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    keys() { xdotool key --delay 150 "$@"; }
    # The focus starts on "Avslutt"; one step back in the tab order is "Nettverk", whose
    # switch hands the focus to the address field.
    keys shift+Tab space ctrl+a
    xdotool type --delay 60 127.0.14.2
    # Forward to "Test skriver": Serieport, Lukk sockets, Åpne sockets, Avslutt, Test skriver
    # ("Nettverk" and "test" are disabled now).
    keys Tab Tab Tab Tab Tab space
    sleep 5 # the test follows the connection for a few quarter-second passes
    import -window root "$work/window.png"
    # The button loses the focus while the test runs: the next in the tab order is the log,
    # then "Blank loggen", then "Kopier tekst".
    keys Tab Tab space
    sleep 1
    xclip -selection clipboard -o >"$work/window-log.txt" 2>"$work/xclip.err" || true
    if grep -q 'Printer er online, og klar til utskrift' "$work/window-log.txt"; then
        pass "the window's log says the printer is online; screenshot $work/window.png"
    else
        fail "the window's log has no \"Printer er online, og klar til utskrift\" (see $work/window-log.txt, $work/window.png)"
    fi
fi
kill "$sim_pid" 2>/dev/null || true
end_windows_programs

# 4. The installer, silently, with the PATH option; the installed programs; the uninstaller.
say "4. Installer and uninstaller"
installed="$WINEPREFIX/drive_c/Program Files/Solvarn printersjekk"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Solvarn printersjekk.lnk"
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\SolvarnPrintersjekk'
status=0
run_wine install "$installer" /S /ADDTOPATH || status=$?
if [ "$status" -eq 0 ] && [ -f "$installed/solvarn-printersjekk.exe" ] && [ -f "$shortcut" ] &&
    diff -r "$stage" "$installed" -x uninstall.exe >"$work/install-diff.log"; then
    pass "installed: $(find "$installed" -type f | wc -l) files, Start-menu entry"
else
    fail "the installer (exit $status, see $work/install-diff.log)"
fi
run_wine path-after-install reg query "$environment" /v PATH || true
if grep -qF 'C:\Program Files\Solvarn printersjekk' "$work/path-after-install.out"; then
    pass "the folder is on the system PATH"
else
    fail "the folder is not on the system PATH (see $work/path-after-install.out)"
fi
status=0
run_wine installed-version "C:\\Program Files\\Solvarn printersjekk\\solvarn-sjekk.exe" --version ||
    status=$?
if [ "$status" -eq 0 ] && grep -q '^solvarn-sjekk ' "$work/installed-version.out"; then
    pass "the installed solvarn-sjekk.exe runs: $(cat "$work/installed-version.out")"
else
    fail "the installed solvarn-sjekk.exe (exit $status)"
fi
start_sim "$work/installed-sim.log" --address 127.0.14.3 --status B --labels 9
status=0
run_wine installed-check "C:\\Program Files\\Solvarn printersjekk\\solvarn-sjekk.exe" network \
    127.0.14.3 --plugin || status=$?
if [ "$status" -eq 1 ] && grep -q '^WARNING - 127.0.14.3: ' "$work/installed-check.out"; then
    pass "the installed check: $(cut -c1-70 "$work/installed-check.out")"
else
    fail "the installed check (exit $status, see $work/installed-check.out)"
fi
kill "$sim_pid" 2>/dev/null || true
# The window from the installed folder starts.
"$wine" "C:\\Program Files\\Solvarn printersjekk\\solvarn-printersjekk.exe" </dev/null \
    >"$work/installed-window.out" 2>"$work/installed-window.err" &
if [ -n "$(find_window)" ]; then
    pass "the installed window starts"
else
    fail "the installed window did not appear (see $work/installed-window.err)"
fi
end_windows_programs

run_wine uninstall "C:\\Program Files\\Solvarn printersjekk\\uninstall.exe" /S || true
# The uninstaller runs on from a copy of itself: wait for the folder to go.
for _ in $(seq 60); do
    [ -e "$installed" ] || break
    sleep 0.5
done
run_wine path-after-uninstall reg query "$environment" /v PATH || true
left=()
[ -e "$installed" ] && left+=("the program folder")
[ -e "$shortcut" ] && left+=("the Start-menu entry")
grep -qF 'Solvarn printersjekk' "$work/path-after-uninstall.out" && left+=("the PATH entry")
run_wine uninstall-key reg query "$uninstall_key" && left+=("the uninstall entry")
run_wine product-key reg query 'HKLM\Software\Solvarn' && left+=("HKLM\\Software\\Solvarn")
if [ ${#left[@]} -eq 0 ]; then
    pass "the uninstaller left nothing behind"
else
    fail "the uninstaller left: ${left[*]}"
fi

if [ ${#failed[@]} -gt 0 ]; then
    say "Windows build under Wine: ${#failed[@]} step(s) failed: ${failed[*]}"
    exit 1
fi
say "Windows build under Wine: every step passed (output in $work)"
