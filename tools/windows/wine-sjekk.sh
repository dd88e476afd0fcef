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

# Files, not pipes: Wine's server, which may outlive the program, would hold a pipe open.
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
status=0
"$wine" "$exe" "$@" </dev/null >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit "$status"
