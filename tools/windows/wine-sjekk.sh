#!/usr/bin/env bash
# Runs the Windows build's solvarn-sjekk.exe under Wine as if it were the Linux program, for
# tests that run the program by path (tests/cli's table through SOLVARN_SJEKK_COMMAND):
# the same arguments, exit status, standard output and standard error.
#   SOLVARN_SJEKK_EXE   the solvarn-sjekk.exe to run (required); WINEPREFIX: the Wine prefix
#   SOLVARN_COM_PORTS   Linux device paths (':'-separated), as the tests give them: each becomes
#                       a Wine COM port (com39, com38, ...: counting down, so that the names'
#                       own order is the reverse of the order given, which must hold) and the
#                       program gets those names (';'-separated, as on Windows)
set -euo pipefail
exe="${SOLVARN_SJEKK_EXE:?SOLVARN_SJEKK_EXE names the solvarn-sjekk.exe to run}"
prefix="${WINEPREFIX:?WINEPREFIX names the Wine prefix}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"

if [ -n "${SOLVARN_COM_PORTS:-}" ]; then
    IFS=: read -ra devices <<<"$SOLVARN_COM_PORTS"
    ports=()
    number=39
    for device in "${devices[@]}"; do
        # A link to a device that does not exist is a COM port that cannot be opened, as the
        # path is on Linux.
        ln -sfn "$device" "$prefix/dosdevices/com$number"
        ports+=("COM$number")
        number=$((number - 1))
    done
    SOLVARN_COM_PORTS="$(IFS=';' && echo "${ports[*]}")"
    export SOLVARN_COM_PORTS
fi

# The program writes files and pipes as Windows' own tools read them: its text in the console's
# code page (Wine gives every console program one, headless here) with CR LF, --csv in UTF-8
# with a byte order mark and CR LF, --raw and --icinga2 in UTF-8 as on Linux. The table reads
# what the Linux program writes: each is turned back here, by the same rules.
code_page_file="$prefix/solvarn-console-code-page"
if [ ! -s "$code_page_file" ]; then
    # "Active code page: 850", through a file (as below).
    "$wine" cmd /c chcp </dev/null >"$code_page_file.said" 2>/dev/null || true
    tr -dc '0-9' <"$code_page_file.said" >"$code_page_file"
fi
code_page="$(cat "$code_page_file")"
as_linux_text() { # the program's text: UTF-8, LF
    if [ -z "$code_page" ] || [ "$code_page" = 0 ] || [ "$code_page" = 65001 ]; then
        sed 's/\r$//'
    else
        iconv -f "CP$code_page" -t UTF-8 | sed 's/\r$//'
    fi
}
stdout_form=text
case " $* " in
*" --raw "* | *" --icinga2 "*) stdout_form=exact ;;
*" --csv "*) stdout_form=csv ;;
esac
as_linux_stdout() {
    case "$stdout_form" in
    exact) cat ;;
    # The mark stays where it was asked for, as on Linux.
    csv) if [[ " $* " == *" --bom "* ]]; then sed 's/\r$//'; else sed '1s/^\xef\xbb\xbf//; s/\r$//'; fi ;;
    *) as_linux_text ;;
    esac
}

# Files, not pipes: Wine's server, which may outlive the program, would hold a pipe open.
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
run_program() {
    status=0
    "$wine" "$exe" "$@" </dev/null >"$out" 2>"$err" || status=$?
}
run_program "$@"
# Wine's server kills a process with SIGKILL when its Unix side has not gone half a second after
# its last thread ended (process_sigkill): on a busy machine that hits a program that has written
# everything and is on its way out, and its own exit status is lost. That is Wine's, not the
# program's: it is run once more, and noted where test-wine.sh reports it. A second kill stands.
killed_by_sigkill=137
if [ "$status" -eq "$killed_by_sigkill" ]; then
    printf '%s\n' "$*" >>"$prefix/solvarn-killed-by-wineserver.log"
    run_program "$@"
fi
as_linux_stdout "$@" <"$out"
as_linux_text <"$err" >&2
exit "$status"
