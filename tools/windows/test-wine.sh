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
#   4. the installer run silently, the installed programs run, the uninstaller leaving nothing,
#      the system PATH exactly as before;
#   5. the installer and uninstaller against hard PATHs: long, with a folder that shares the
#      program folder's name as a prefix, with the folder in it already, too long to grow;
#   6. the check's output on a console (a pseudo-terminal through script): Norwegian letters
#      whole, and the same bytes in a file;
#   7. the version resources of both programs and the installer: the project's version;
#   8. the installer and the uninstaller while the window runs: status 3, every file as it was,
#      then, the window closed, the new files and an uninstall that leaves nothing;
#   9. one installation: a reinstall keeps the folder and the PATH choice; a move to another
#      folder leaves no copy, and the uninstaller gives back the PATH as it was;
#  10. a /D= folder on a drive that is not there: status 4, nothing installed.
#  11. the check's output redirected and piped in cmd under code page 850 (Norway's): a file
#      that `type` shows right, and `find` on a pipe, read back from the console's screen.
#  12. a second window: opened a title bar's height down and right of the first.
#   tools/windows/test-wine.sh [LINUX_BUILD] [WINDOWS_BUILD]    (defaults: build, build-windows)
#   SOLVARN_WINE_STEPS="4 5"   runs only the steps named (default: all)
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

steps="${SOLVARN_WINE_STEPS:-1 2 3 4 5 6 7 8 9 10 11 12}"
step() { [[ " $steps " == *" $1 "* ]]; }

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
if step 1; then
say "1. The command-line table against solvarn-sjekk.exe"
if SOLVARN_SJEKK_COMMAND="$here/wine-sjekk.sh" SOLVARN_SJEKK_EXE="$stage/solvarn-sjekk.exe" \
    SOLVARN_SJEKK_UNDER_WINE=1 QT_QPA_PLATFORM=offscreen "$table" >"$work/table.log" 2>&1; then
    pass "tests/cli's table: $(grep -E '^Totals:' "$work/table.log")"
    if [ -s "$WINEPREFIX/solvarn-killed-by-wineserver.log" ]; then
        say "   run again after Wine's server killed them as they ended (exit status lost):"
        sed 's/^/     solvarn-sjekk.exe /' "$WINEPREFIX/solvarn-killed-by-wineserver.log" >&2
    fi
else
    # Each failure with what the run gave (its status, output and errors), as CI keeps only this.
    grep -E -A16 '^FAIL!' "$work/table.log" >&2 || true
    grep -E '^Totals' "$work/table.log" >&2 || true
    fail "tests/cli's table (see $work/table.log)"
fi
fi

# 2. A serial check with the system's own numbering: COM5 is Wine's link to the pseudo-terminal.
if step 2; then
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
fi

# The window steps share one virtual display.
# shellcheck source=tools/virtualdisplay.sh
. "$root/tools/virtualdisplay.sh"
start_virtual_display 1024x768x24 "$work/xvfb.log"
background+=("$virtual_display_pid")
export DISPLAY="$virtual_display"

# Waits for the window to be shown, up to 90 s: the first window of a fresh Wine prefix may wait
# while Wine sets up its desktop and fonts on a busy machine. Prints its X id; gives up at once
# when the program that should show it has ended (its messages and the display's log follow).
find_window() { # find_window <pid of the program> <its standard error>
    local window=""
    for _ in $(seq 450); do
        if ! kill -0 "$1" 2>/dev/null; then
            say "the window's program ended early; it said:"
            cat "$2" >&2 2>/dev/null || true
            show_virtual_display_log
            break
        fi
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
if step 3; then
say "3. The window under Xvfb: a network test by keys"
# Wine's desktop process, which puts windows on the display, was started by the steps before
# without one and stays so with the server: a fresh server starts it on the virtual display.
end_windows_programs
start_sim "$work/window-sim.log" --address 127.0.14.2 --status A --labels 314
"$wine" "$stage/solvarn-printersjekk.exe" </dev/null >"$work/window.out" 2>"$work/window.err" &
window="$(find_window $! "$work/window.err")"
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
fi

installed="$WINEPREFIX/drive_c/Program Files/Solvarn printersjekk"
folder='C:\Program Files\Solvarn printersjekk'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Solvarn printersjekk"
shortcut="$menu/Solvarn printersjekk.lnk"
uninstall_shortcut="$menu/Avinstaller Solvarn printersjekk.lnk"
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\SolvarnPrintersjekk'

# Sets the system PATH to a value of a type, exactly, through a .reg file (a command line would
# end at 32767 characters).
set_system_path() { # set_system_path REG_SZ|REG_EXPAND_SZ <value>
    local data kind=2
    [ "$1" = REG_SZ ] && kind=1
    data="$(printf '%s' "$2" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' |
        sed 's/^,//')00,00"
    {
        printf 'Windows Registry Editor Version 5.00\n\n[%s]\n' \
            'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
        printf '"Path"=hex(%s):%s\n' "$kind" "$data"
    } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16 >"$work/set-path.reg"
    run_wine set-path reg import "$work/set-path.reg"
}

# Prints the system PATH as stored: its registry type on one line, then its value, decoded
# from the exported bytes (reg query would show it through the console's code page).
system_path() {
    # Wine's reg now and then fails right after another registry change: a few tries, and a
    # value no PATH can be when none of them worked, so that no comparison passes by accident.
    local try
    for try in 1 2 3 4 5; do
        rm -f "$work/get-path.reg"
        run_wine get-path reg export "$environment" "$work/get-path.reg" /y && break
        [ "$try" -eq 5 ] && { printf '(reg export failed: %s)' "$(head -c 200 "$work/get-path.err")"; return 0; }
        sleep 1
    done
    local line hex type
    line="$(iconv -f UTF-16 -t UTF-8 "$work/get-path.reg" | tr -d '\r' |
        sed -e ':a' -e '/\\$/N; s/\\\n *//; ta' | grep -i '^"Path"=' || true)"
    case "$line" in
    *'=hex(2):'*) type=REG_EXPAND_SZ hex="${line#*=hex(2):}" ;;
    *'=hex(1):'*) type=REG_SZ hex="${line#*=hex(1):}" ;;
    *'="'*)
        line="${line#*=\"}"
        printf 'REG_SZ\n%s' "${line%\"}" | sed 's/\\\(["\\]\)/\1/g'
        return 0
        ;;
    *)
        printf 'NONE\n%s' "$line"
        return 0
        ;;
    esac
    printf '%s\n' "$type"
    # printf writes the NULs of UTF-16 that a shell variable could not hold.
    printf '%b' "$(printf '%s' "$hex" | sed 's/\([0-9a-fA-F][0-9a-fA-F]\),\{0,1\}/\\x\1/g')" |
        iconv -f UTF-16LE -t UTF-8 | tr -d '\0'
}

# A PATH for the log: its type, length, start and end.
short_path() { # short_path <"TYPE\nvalue">
    local type="${1%%$'\n'*}" value=""
    [[ "$1" == *$'\n'* ]] && value="${1#*$'\n'}"
    if [ ${#value} -le 150 ]; then
        printf '%s "%s"' "$type" "$value"
    else
        printf '%s, %d characters: "%s ... %s"' "$type" ${#value} "${value:0:60}" \
            "${value: -70}"
    fi
}

# Compares the system PATH, type and value, with what it must be; tells both when they differ.
expect_path() { # expect_path <what> <"TYPE\nvalue">
    local now
    now="$(system_path)"
    if [ "$now" == "$2" ]; then
        pass "$1: $(short_path "$now")"
    else
        printf '%s' "$2" >"$work/path-expected.txt"
        printf '%s' "$now" >"$work/path-found.txt"
        fail "$1: PATH is $(short_path "$now"), not $(short_path "$2")"
    fi
}

# The uninstaller runs on from a copy of itself: waits for the folder to go.
uninstall() { # uninstall <name for the output files> [<Windows folder> <the same on Linux>]
    LC_ALL=C.UTF-8 run_wine "$1" "${2:-$folder}\\uninstall.exe" /S || true
    for _ in $(seq 60); do
        [ -e "${3:-$installed}" ] || break
        sleep 0.5
    done
}

# Runs the uninstaller where it stands (_?=), so that its exit status is told: started plainly,
# it hands the work to a copy of itself and ends with 0 at once.
uninstall_in_place() { # uninstall_in_place <name for the output files> <Windows folder>
    local words
    # NSIS reads _?= only unquoted: the folder goes as words, which Wine joins with blanks.
    read -ra words <<<"_?=$2"
    LC_ALL=C.UTF-8 run_wine "$1" "$2\\uninstall.exe" /S "${words[@]}"
}

# Runs the installer silently into a folder: /D= goes unquoted too.
install_into() { # install_into <name for the output files> <Windows folder> [options...]
    local name="$1" words
    read -ra words <<<"/D=$2"
    shift 2
    LC_ALL=C.UTF-8 run_wine "$name" "$installer" /S "$@" "${words[@]}"
}

# Each file of a folder with its checksum, for telling whether anything in it changed.
checksums() { # checksums <folder>
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# What an uninstall left of an installation in a folder: the folder, the Start menu, the
# uninstall entry, HKLM\Software\Solvarn; prints them, nothing when nothing is left.
left_behind() { # left_behind <Linux folder>
    [ -e "$1" ] && printf '%s ' "the folder $(basename "$1")"
    [ -e "$menu" ] && printf '%s ' "the Start-menu folder"
    run_wine left-uninstall-key reg query "$uninstall_key" && printf '%s ' "the uninstall entry"
    run_wine left-product-key reg query 'HKLM\Software\Solvarn' &&
        printf '%s ' "HKLM\\Software\\Solvarn"
    return 0
}

# 4. The installer, silently, with the PATH option; the installed programs; the uninstaller.
if step 4; then
say "4. Installer and uninstaller"
before="$(system_path)"
status=0
run_wine install "$installer" /S /ADDTOPATH || status=$?
if [ "$status" -eq 0 ] && [ -f "$installed/solvarn-printersjekk.exe" ] && [ -f "$shortcut" ] &&
    [ -f "$uninstall_shortcut" ] &&
    diff -r "$stage" "$installed" -x uninstall.exe >"$work/install-diff.log"; then
    pass "installed: $(find "$installed" -type f | wc -l) files, Start-menu entries"
else
    fail "the installer (exit $status, see $work/install-diff.log)"
fi
expect_path "the folder appended to Wine's own PATH" "$before;$folder"
status=0
# --version exits 3 (UNKNOWN), as a monitoring plugin's does.
run_wine installed-version "$folder\\solvarn-sjekk.exe" --version || status=$?
if [ "$status" -eq 3 ] && grep -q '^solvarn-sjekk ' "$work/installed-version.out"; then
    pass "the installed solvarn-sjekk.exe runs: $(cat "$work/installed-version.out")"
else
    fail "the installed solvarn-sjekk.exe (exit $status)"
fi
start_sim "$work/installed-sim.log" --address 127.0.14.3 --status B --labels 9
status=0
run_wine installed-check "$folder\\solvarn-sjekk.exe" network 127.0.14.3 --plugin || status=$?
if [ "$status" -eq 1 ] && grep -q '^WARNING - 127.0.14.3: ' "$work/installed-check.out"; then
    pass "the installed check: $(cut -c1-70 "$work/installed-check.out")"
else
    fail "the installed check (exit $status, see $work/installed-check.out)"
fi
kill "$sim_pid" 2>/dev/null || true
# The window from the installed folder starts.
"$wine" "$folder\\solvarn-printersjekk.exe" </dev/null \
    >"$work/installed-window.out" 2>"$work/installed-window.err" &
if [ -n "$(find_window $! "$work/installed-window.err")" ]; then
    pass "the installed window starts"
else
    fail "the installed window did not appear (see $work/installed-window.err)"
fi
end_windows_programs

uninstall uninstall
left=()
[ -e "$installed" ] && left+=("the program folder")
[ -e "$menu" ] && left+=("the Start-menu folder")
run_wine uninstall-key reg query "$uninstall_key" && left+=("the uninstall entry")
run_wine product-key reg query 'HKLM\Software\Solvarn' && left+=("HKLM\\Software\\Solvarn")
if [ ${#left[@]} -eq 0 ]; then
    pass "the uninstaller left nothing behind"
else
    fail "the uninstaller left: ${left[*]}"
fi
expect_path "after the uninstaller, Wine's own PATH as before" "$before"
fi

# 5. The PATH option against the PATHs of support PCs: each entry but the program's is kept to
# the byte, the registry type is kept, and the uninstaller gives back the PATH as it was.
if step 5; then
say "5. The system PATH through install and uninstall"
original="$(system_path)"
# 44 entries of an admin's PC and more: 2200 characters, with %SystemRoot% to stay unexpanded,
# an entry with blanks and Norwegian letters, and last an older program whose folder name
# starts with this one's.
long="%SystemRoot%\\system32;%SystemRoot%;%SystemRoot%\\System32\\Wbem;%SYSTEMROOT%\\System32\\WindowsPowerShell\\v1.0\\"
for number in $(seq -w 1 40); do
    long="$long;C:\\Program Files\\Leverandør $number\\Verktøy for støtte og drift\\bin"
done
long="$long;C:\\Program Files\\Solvarn printersjekk-gammel"
set_system_path REG_EXPAND_SZ "$long"
before="$(system_path)"
expect_path "long PATH set (over 2048 characters)" "REG_EXPAND_SZ"$'\n'"$long"
for round in 1 2; do
    status=0
    run_wine "path-install-$round" "$installer" /S /ADDTOPATH || status=$?
    [ "$status" -eq 0 ] || fail "install $round over the long PATH: exit $status"
    expect_path "long PATH, install $round: the folder once at the end" "$before;$folder"
done
uninstall path-uninstall
expect_path "long PATH, uninstalled: as before, the -gammel folder whole" "$before"

# The folder on the PATH already, in other letters and with a backslash, in a plain string.
already="C:\\Windows\\system32;c:\\program files\\SOLVARN PRINTERSJEKK\\;D:\\Verktøy"
set_system_path REG_SZ "$already"
before="$(system_path)"
status=0
run_wine path-already-install "$installer" /S /ADDTOPATH || status=$?
[ "$status" -eq 0 ] || fail "install with the folder on the PATH already: exit $status"
expect_path "folder there already, installed: the PATH unchanged, REG_SZ" "$before"
uninstall path-already-uninstall
expect_path "folder there already, uninstalled: the user's own entry stays" "$before"

# Too long to grow: left whole, the installer says so with its exit status, the program is
# installed all the same.
too_long="%SystemRoot%\\system32"
while [ ${#too_long} -lt 32740 ]; do
    too_long="$too_long;D:\\Prosjekter\\Verktøy med et langt navn"
done
set_system_path REG_EXPAND_SZ "$too_long"
before="$(system_path)"
status=0
run_wine path-too-long-install "$installer" /S /ADDTOPATH || status=$?
if [ "$status" -eq 2 ] && [ -f "$installed/solvarn-sjekk.exe" ]; then
    pass "PATH too long: the installer ends with status 2, the program installed"
else
    fail "PATH too long: installer exit $status (2 expected), program installed: $([ -f "$installed/solvarn-sjekk.exe" ] && echo yes || echo no)"
fi
expect_path "PATH too long, installed: left whole" "$before"
uninstall path-too-long-uninstall
expect_path "PATH too long, uninstalled: left whole" "$before"
set_system_path "${original%%$'\n'*}" "${original#*$'\n'}"
fi

# 6. What a console shows: the check run on a pseudo-terminal (script), which Wine's console
# drives; a console that got the letters' bytes one by one shows replacement characters.
if step 6; then
say "6. The check's log on a console"
start_sim "$work/console-sim.log" --address 127.0.14.4 --status A --labels 6
status=0
LANG=C.UTF-8 script -qec "$(printf '%q ' "$wine" "$stage/solvarn-sjekk.exe" network 127.0.14.4)" \
    /dev/null </dev/null >"$work/console.typescript" 2>&1 || status=$?
kill "$sim_pid" 2>/dev/null || true
# What the terminal shows, without Wine's escape sequences (cursor shown and hidden, erase, moves,
# with which it may also draw a blank) and line ends; blanks left out on both sides.
shown() { sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r '; }
shown <"$work/console.typescript" >"$work/console.shown"
missing=()
for text in "Forsøker å nå skriveren, dette kan ta flere sekunder:" \
    "*Printer er online, og klar til utskrift" \
    "OK - 127.0.14.4: Printer OK (status A, 6 etiketter igjen)"; do
    grep -qF -- "$(printf '%s' "$text" | shown)" "$work/console.shown" || missing+=("\"$text\"")
done
if [ "$status" -eq 0 ] && [ ${#missing[@]} -eq 0 ]; then
    pass "the console shows \"Forsøker å nå skriveren\" and the verdict whole"
else
    fail "the console (exit $status) lacks ${missing[*]} (see $work/console.typescript)"
fi
fi

# 7. The version resources, read back from the files: the project's version and its names.
if step 7; then
say "7. Version resources"
version="$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
IFS=. read -r major minor patch tweak <<<"$version"
file_version="FILEVERSION ${major:-0}, ${minor:-0}, ${patch:-0}, ${tweak:-0}"
for exe in "$stage/solvarn-printersjekk.exe" "$stage/solvarn-sjekk.exe" "$installer"; do
    name="$(basename "$exe")"
    resources="$work/$name.rc"
    x86_64-w64-mingw32-windres -i "$exe" -O rc >"$resources" 2>&1 || true
    lacks=()
    for line in "$file_version" "VALUE \"ProductVersion\", \"$version\"" \
        "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductName\", \"Solvarn printersjekk\"" \
        'VALUE "CompanyName", "Solvarn"' 'VALUE "LegalCopyright", L"Copyright \251 2026 Solvarn"' \
        'VALUE "FileDescription", '; do
        grep -qF -- "$line" "$resources" || lacks+=("$line")
    done
    # The installer shows NSIS's own icon resources; the programs their icon.
    [ "$exe" = "$installer" ] || grep -q 'RT_GROUP_ICON' "$resources" || lacks+=("an icon")
    if [ ${#lacks[@]} -eq 0 ]; then
        pass "$name: version $version, $(grep -o 'VALUE "FileDescription", .*' "$resources")"
    else
        fail "$name lacks: ${lacks[*]} (see $resources)"
    fi
done
fi

# 8. The installer and the uninstaller while the window runs: they change nothing and say so
# with status 3; with the window closed, the installer puts in the new files.
if step 8; then
say "8. Installer and uninstaller while the window runs"
end_windows_programs # the window's desktop on the virtual display (step 3)
before="$(system_path)"
status=0
run_wine running-first-install "$installer" /S /ADDTOPATH || status=$?
[ "$status" -eq 0 ] || fail "the first install before the window starts: exit $status"
# An earlier version's file, to tell the new one by.
printf 'gammel\r\n' >"$installed/LES-MEG.txt"
checksums "$installed" >"$work/running-before.sums"
"$wine" "$folder\\solvarn-printersjekk.exe" </dev/null \
    >"$work/running-window.out" 2>"$work/running-window.err" &
if [ -z "$(find_window $! "$work/running-window.err")" ]; then
    fail "the installed window did not appear (see $work/running-window.err)"
fi
status=0
run_wine running-install "$installer" /S /ADDTOPATH || status=$?
checksums "$installed" >"$work/running-install.sums"
if [ "$status" -eq 3 ] && cmp -s "$work/running-before.sums" "$work/running-install.sums"; then
    pass "install while the window runs: exit 3, all $(wc -l <"$work/running-before.sums") files as they were"
else
    fail "install while the window runs: exit $status (3 expected), files $(cmp -s "$work/running-before.sums" "$work/running-install.sums" && echo unchanged || echo changed)"
fi
status=0
uninstall_in_place running-uninstall "$folder" || status=$?
checksums "$installed" >"$work/running-uninstall.sums"
kept=()
cmp -s "$work/running-before.sums" "$work/running-uninstall.sums" || kept+=("files changed")
[ -f "$shortcut" ] || kept+=("Start-menu entry gone")
run_wine running-uninstall-key reg query "$uninstall_key" || kept+=("uninstall entry gone")
if [ "$status" -eq 3 ] && [ ${#kept[@]} -eq 0 ]; then
    pass "uninstall while the window runs: exit 3, files, Start menu and uninstall entry all there"
else
    fail "uninstall while the window runs: exit $status (3 expected) ${kept[*]}"
fi
expect_path "while the window runs: the PATH with the folder still" "$before;$folder"
end_windows_programs
status=0
run_wine running-closed-install "$installer" /S || status=$?
if [ "$status" -eq 0 ] && diff -r "$stage" "$installed" -x uninstall.exe >"$work/running-diff.log"; then
    pass "the window closed, install: exit 0, the new files in place"
else
    fail "the window closed, install: exit $status (see $work/running-diff.log)"
fi
status=0
uninstall_in_place running-closed-uninstall "$folder" || status=$?
# Run in place, the uninstaller leaves itself for the next restart, and nothing else.
rest="$(find "$installed" -mindepth 1 -printf '%P ' 2>/dev/null)"
if [ "$status" -eq 0 ] && [ "$rest" = "uninstall.exe " ] && [ -z "$(left_behind /nonexistent)" ]; then
    pass "the window closed, uninstall in place: exit 0, only uninstall.exe left till restart"
else
    fail "the window closed, uninstall in place: exit $status, left: ${rest:-nothing} $(left_behind /nonexistent)"
fi
expect_path "the window closed, uninstalled: the PATH as before" "$before"
rm -rf "$installed"
fi

# 9. One installation: a reinstall goes into the same folder and keeps the PATH choice; an
# install into another folder removes the first, so that one uninstall leaves nothing.
if step 9; then
say "9. One installation: reinstall, and a move to another folder"
before="$(system_path)"
first='C:\Programmer\Løsninger og verktøy\Solvarn'
second='C:\Verktøy\Solvarn'
first_unix="$WINEPREFIX/drive_c/Programmer/Løsninger og verktøy/Solvarn"
second_unix="$WINEPREFIX/drive_c/Verktøy/Solvarn"
# The folder above the first is the admin's own, there before and after.
mkdir -p "$(dirname "$first_unix")"
status=0
install_into move-first "$first" /ADDTOPATH || status=$?
if [ "$status" -ne 0 ] || [ ! -f "$first_unix/solvarn-sjekk.exe" ]; then
    fail "install into $first: exit $status"
fi
expect_path "installed into the first folder" "$before;$first"
status=0
run_wine move-again "$installer" /S || status=$?
if [ "$status" -eq 0 ] && [ ! -e "$installed" ] && [ -f "$first_unix/uninstall.exe" ]; then
    pass "reinstall without /D= or /ADDTOPATH: exit 0, into the same folder"
else
    fail "reinstall without /D=: exit $status, default folder made: $([ -e "$installed" ] && echo yes || echo no)"
fi
expect_path "reinstalled: the PATH choice kept" "$before;$first"
status=0
install_into move-second "$second" /ADDTOPATH || status=$?
if [ "$status" -eq 0 ] && [ -f "$second_unix/solvarn-sjekk.exe" ] && [ ! -e "$first_unix" ]; then
    pass "install into $second: exit 0, the first folder gone"
else
    fail "install into $second: exit $status, first folder there: $([ -e "$first_unix" ] && echo yes || echo no)"
fi
expect_path "moved: only the second folder on the PATH" "$before;$second"
run_wine move-entry reg query "$uninstall_key" /v InstallLocation || true
if tr -d '\r' <"$work/move-entry.out" | grep -qF 'Verkt'; then
    pass "the programs list names the second folder"
else
    fail "the programs list's entry (see $work/move-entry.out)"
fi
uninstall move-uninstall "$second" "$second_unix"
rest="$(left_behind "$first_unix")$(left_behind "$second_unix")"
if [ -z "$rest" ] && [ -d "$(dirname "$first_unix")" ]; then
    pass "uninstalled: neither folder left, the admin's folder above the first kept"
else
    fail "uninstalled, left: ${rest:-nothing}; the folder above the first: $([ -d "$(dirname "$first_unix")" ] && echo kept || echo gone)"
fi
expect_path "moved and uninstalled: the PATH byte for byte as before" "$before"
fi

# 10. A folder that cannot be made: NSIS would fall back on the default folder without a word.
if step 10; then
say "10. Install into a drive that is not there"
before="$(system_path)"
drive=""
for letter in q r s t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || { drive="${letter^^}"; break; }
done
status=0
install_into no-drive "$drive:\\Verktøy\\Solvarn" || status=$?
rest="$(left_behind "$installed")"
if [ "$status" -eq 4 ] && [ -z "$rest" ]; then
    pass "/D=$drive:\\Verktøy\\Solvarn: exit 4, nothing installed"
else
    fail "/D=$drive:\\Verktøy\\Solvarn: exit $status (4 expected), left: ${rest:-nothing}"
fi
expect_path "a drive that is not there: the PATH as before" "$before"
fi

# 11. Files and pipes in cmd under code page 850: the check's text must reach `type` and `find`
# in the console's code page, with CR LF. Batch files (in code page 850, as cmd reads them) run
# the check into a file and show it with type, and filter the check's own pipe with find; what
# the console shows is read back from a pseudo-terminal, as in step 6. With UTF-8 in the file
# the console would show "Fors├©ker ├Ñ n├Ñ".
pipe_step() {
    local windows_work exe status=0
    windows_work="Z:$(printf '%s' "$work" | tr '/' '\\')"
    exe="Z:$(printf '%s' "$stage/solvarn-sjekk.exe" | tr '/' '\\')"
    # pipe_batch <name> <command lines...>: runs them in cmd under chcp 850; the console's
    # screen, escapes, line ends and blanks left out, in $work/<name>.shown.
    pipe_batch() {
        local name="$1" line
        shift
        {
            printf '@echo off\r\nchcp 850 >nul\r\n'
            for line in "$@"; do printf '%s\r\n' "$line"; done
        } | iconv -f UTF-8 -t CP850 >"$work/$name.cmd"
        LANG=C.UTF-8 script -qec "$(printf '%q ' "$wine" cmd /c "$windows_work\\$name.cmd")" \
            /dev/null </dev/null >"$work/$name.typescript" 2>&1 || status=$?
        sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' <"$work/$name.typescript" | tr -d '\r ' >"$work/$name.shown"
    }
    # shows <name> <texts...>: the texts the screen lacks, quoted, on standard output.
    shows() {
        local name="$1" text
        shift
        for text in "$@"; do
            grep -qF -- "$(printf '%s' "$text" | tr -d ' ')" "$work/$name.shown" ||
                printf '"%s" ' "$text"
        done
    }
    start_sim "$work/pipe-sim.log" --address 127.0.14.5 --status b --labels 4
    rm -f "$work/ut.txt"
    pipe_batch pipe-type "\"$exe\" network 127.0.14.5 > \"$windows_work\\ut.txt\"" \
        "type \"$windows_work\\ut.txt\""
    pipe_batch pipe-find "\"$exe\" network 127.0.14.5 | find \"Skrivehodet\""
    kill "$sim_pid" 2>/dev/null || true
    local summary="CRITICAL - 127.0.14.5: Off line, Skriverfeil - Skrivehodet åpent (status b"
    local lacks
    lacks="$(shows pipe-type "Forsøker å nå skriveren, dette kan ta flere sekunder:" "$summary")"
    lacks="$lacks$(shows pipe-find "FEIL: Off line, Skriverfeil - Skrivehodet åpent" "$summary")"
    # The file itself: code page 850 ("ø" is 0x9B), no UTF-8, every line ending in CR LF.
    local file="$work/ut.txt" bytes=""
    LC_ALL=C grep -q $'Fors\x9bker' "$file" 2>/dev/null || bytes="no \"Forsøker\" in code page 850; "
    LC_ALL=C grep -q $'\xc3' "$file" 2>/dev/null && bytes="${bytes}UTF-8 in it; "
    [ -s "$file" ] && [ "$(LC_ALL=C grep -c $'\r$' "$file")" = "$(wc -l <"$file")" ] ||
        bytes="${bytes}lines without CR LF"
    if [ -z "$lacks" ] && [ -z "$bytes" ]; then
        pass "cmd under code page 850: type and find show \"Forsøker å nå\" and \"Skrivehodet åpent\"; ut.txt in 850 with CR LF"
    else
        fail "cmd under code page 850 (exit $status): the console lacks ${lacks:-nothing}; ut.txt: ${bytes:-right} (see $work/pipe-type.typescript, $work/pipe-find.typescript)"
    fi
}
if step 11; then
    say "11. The check's output through a file and a pipe in cmd, code page 850"
    pipe_step
fi

# 12. A second window opens beside the first, a title bar's height down and right of it, not on
# top of it.
window_place() { # window_place <X id>: "X Y" of the window on the display
    xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XY]=//p' | tr '\n' ' '
}
if step 12; then
say "12. A second window beside the first"
end_windows_programs
"$wine" "$stage/solvarn-printersjekk.exe" </dev/null >"$work/first.out" 2>"$work/first.err" &
first_pid=$!
first="$(find_window "$first_pid" "$work/first.err")"
sleep 2 # Wine maps the window before Qt has placed it
"$wine" "$stage/solvarn-printersjekk.exe" </dev/null >"$work/second.out" 2>"$work/second.err" &
second_pid=$!
second=""
for _ in $(seq 450); do
    kill -0 "$second_pid" 2>/dev/null || break
    second="$(xdotool search --name '^Solvarn printersjekk$' 2>/dev/null | grep -vx "$first" | head -n 1 || true)"
    [ -n "$second" ] && break
    sleep 0.2
done
sleep 2
if [ -z "$first" ] || [ -z "$second" ]; then
    fail "two windows did not appear within 90 s (see $work/first.err, $work/second.err)"
else
    read -r first_x first_y <<<"$(window_place "$first")"
    read -r second_x second_y <<<"$(window_place "$second")"
    import -window root "$work/two-windows.png"
    dx=$((second_x - first_x)) dy=$((second_y - first_y))
    if [ "$dx" -gt 0 ] && [ "$dx" -le 60 ] && [ "$dx" -eq "$dy" ]; then
        pass "the second window at $second_x,$second_y: $dx down and right of the first ($first_x,$first_y)"
    else
        fail "the second window at $second_x,$second_y, the first at $first_x,$first_y: not a title bar's step down and right (see $work/two-windows.png)"
    fi
fi
end_windows_programs
fi

if [ ${#failed[@]} -gt 0 ]; then
    say "Windows build under Wine: ${#failed[@]} step(s) failed: ${failed[*]}"
    exit 1
fi
say "Windows build under Wine: every step passed (output in $work)"
