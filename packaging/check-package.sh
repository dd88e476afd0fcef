#!/usr/bin/env bash
# Builds the Debian package and checks it the way Debian users meet it: lintian, the desktop
# entry and AppStream validators, `apt-get install` from the file, the installed programs run
# (the command-line check against printer-sim on loopback, the window on a virtual display
# with a screenshot), then `apt-get purge` and a check that nothing of the package is left.
# It installs and removes packages on this machine: CI runs it (as root, on a machine thrown
# away afterwards); ./dev test never does.
#   packaging/check-package.sh [loopback address for printer-sim, default 127.0.10.1]
set -euo pipefail
cd "$(dirname "$0")/.."
here="$(pwd)"

name=solvarn-printersjekk
address="${1:-127.0.10.1}"
out="$here/build-package"
passed=0
failed=0
skipped=0

say() { printf 'package-check: %s\n' "$*" >&2; }
pass() { passed=$((passed + 1)); say "ok: $*"; }
fail() { failed=$((failed + 1)); say "FAILED: $*"; }
skip() { skipped=$((skipped + 1)); say "skipped: $*"; }

[ "$(id -u)" -eq 0 ] || { say "needs root: it installs and removes the package"; exit 2; }
export DEBIAN_FRONTEND=noninteractive
# The checkers, and what shows the installed window; man (man-db) reads the manual pages.
# shellcheck source=tools/apt.sh
. "$here/tools/apt.sh"
# shellcheck source=tools/virtualdisplay.sh
. "$here/tools/virtualdisplay.sh"
install_missing dpkg-dev file lintian man-db desktop-file-utils appstream xvfb x11-utils \
    imagemagick

./dev package
# shellcheck disable=SC2012  # the package's own names: no blanks or newlines in them
deb="$(ls -t "$out"/${name}_*.deb | head -n 1)"
work="$(mktemp -d)"
sim_pid=""
app_pid=""
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    for pid in "$app_pid" "$sim_pid"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

# --- The file itself -------------------------------------------------------------------------
say "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
depends="$(dpkg-deb -f "$deb" Depends)"
say "Depends: $depends"
if grep -q 'libqt6widgets6' <<<"$depends" && grep -q 'qt6-qpa-plugins' <<<"$depends" &&
    ! grep -Eq -- '-dev\b|cmake|ninja|g\+\+' <<<"$depends"; then
    pass "dependencies are the run-time libraries, nothing of the build"
else
    fail "dependencies: $depends"
fi

# What apt would bring onto a machine that has nothing installed yet: with Debian's default
# (recommends included), and with --no-install-recommends as the README's lean install does.
: >"$work/empty-status"
would_install() { # would_install <file> [apt-get options...]
    local file="$1"; shift
    apt-get -s -o Dir::State::status="$work/empty-status" "$@" install "$deb" 2>&1 |
        awk '/^Inst / {print $2}' >"$file"
}
would_install "$work/would-install"
would_install "$work/would-install-lean" --no-install-recommends
build_tools="$(cat "$work/would-install" "$work/would-install-lean" |
    grep -E -- '-dev$|^(cmake|ninja-build|g\+\+.*|gcc-[0-9]+|cpp-[0-9]+|dpkg-dev)$' || true)"
qt="$(grep -E '^(libqt6|qt6-)' "$work/would-install-lean" | tr '\n' ' ')"
if [ -s "$work/would-install-lean" ] && [ -z "$build_tools" ]; then
    pass "on an empty machine apt would install $(wc -l <"$work/would-install") packages," \
        "$(wc -l <"$work/would-install-lean") with --no-install-recommends, no build tools; Qt: $qt"
else
    fail "apt would install for the package: $build_tools"
fi

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^$' | sort >"$work/contents"
expected=(/usr/bin/solvarn-printersjekk /usr/bin/printer-sim
          /usr/share/applications/no.solvarn.printersjekk.desktop
          /usr/share/metainfo/no.solvarn.printersjekk.metainfo.xml
          /usr/share/icons/hicolor/scalable/apps/solvarn-printersjekk.svg
          /usr/share/icons/hicolor/16x16/apps/solvarn-printersjekk.png
          /usr/share/icons/hicolor/48x48/apps/solvarn-printersjekk.png
          /usr/share/man/man1/solvarn-printersjekk.1.gz /usr/share/man/man1/printer-sim.1.gz
          /usr/share/doc/solvarn-printersjekk/copyright
          /usr/share/doc/solvarn-printersjekk/changelog.gz)
expected+=(/usr/bin/solvarn-sjekk /usr/share/man/man1/solvarn-sjekk.1.gz)
missing=()
for path in "${expected[@]}"; do
    grep -qx "$path" "$work/contents" || missing+=("$path")
done
if [ ${#missing[@]} -eq 0 ]; then pass "package holds ${#expected[@]} expected files"; else fail "missing: ${missing[*]}"; fi

# Errors fail the check; warnings and the informational tags are shown, to be judged.
if lintian --fail-on error --display-info --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1; then
    pass "lintian: no errors"
else
    fail "lintian"
fi
grep -v 'running with root privileges' "$work/lintian" | sed 's/^/    /' >&2 || true
# The manual pages are written by hand: any remark of lintian's on them (groff's warnings
# included) fails the check.
man_tags="$(grep -E '(manpage|groff)' "$work/lintian" || true)"
if [ -z "$man_tags" ]; then
    pass "lintian: nothing to say about the manual pages"
else
    fail "lintian on the manual pages: $man_tags"
fi

dpkg-deb -x "$deb" "$work/root"
# The manual pages as man shows them, from the package's files (a minimal system may be set
# to leave /usr/share/man out when installing).
for page in solvarn-printersjekk solvarn-sjekk printer-sim; do
    if LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$work/root/usr/share/man/man1/$page.1.gz" >"$work/man-$page" 2>"$work/man-warnings" &&
        [ ! -s "$work/man-warnings" ] && grep -q 'SEE ALSO' "$work/man-$page"; then
        pass "man $page: $(wc -l <"$work/man-$page") lines, no warnings from groff"
    else
        fail "man --warnings $page: $(cat "$work/man-warnings")"
    fi
done
if desktop-file-validate "$work/root/usr/share/applications/no.solvarn.printersjekk.desktop"; then
    pass "desktop-file-validate"
else
    fail "desktop-file-validate"
fi
if appstreamcli validate --no-net --explain "$work/root/usr/share/metainfo/no.solvarn.printersjekk.metainfo.xml" >&2; then
    pass "appstreamcli validate --no-net"
else
    fail "appstreamcli validate --no-net"
fi

# --- Install with apt, as a user would -----------------------------------------------------
# Directories of the package that exist before it, which the removal must leave in place.
while read -r path; do
    [ -d "$path" ] && echo "$path"
done <"$work/contents" >"$work/dirs-before"
start_ms=$(($(date +%s%N) / 1000000))
# The lean install of the README: no recommends, Liberation Sans named for the window's font.
if apt_get install -y -qq --no-install-recommends "$deb" fonts-liberation2 >"$work/apt-install" 2>&1; then
    ms=$(($(date +%s%N) / 1000000 - start_ms))
    pass "apt-get install --no-install-recommends ./$(basename "$deb") in $((ms / 1000)).$((ms % 1000 / 100)) s"
else
    fail "apt-get install"
    cat "$work/apt-install" >&2
    exit 1
fi
dpkg -L "$name" | grep -v '^/\.$' | sort >"$work/installed"

# --- The installed command-line check against the installed simulator ----------------------
/usr/bin/printer-sim --address "$address" 2>"$work/sim-log" &
sim_pid=$!
for _ in $(seq 100); do
    grep -q 'printer-sim: ready: ' "$work/sim-log" && break
    sleep 0.1
done
if grep -q 'printer-sim: ready: ' "$work/sim-log"; then
    pass "installed printer-sim listens on $address"
else
    fail "installed printer-sim did not get ready on $address"
    cat "$work/sim-log" >&2
fi
status=0
output="$(timeout 20 /usr/bin/solvarn-sjekk network "$address" 2>&1)" || status=$?
say "solvarn-sjekk network $address: exit $status: $output"
if [ "$status" -eq 0 ] && grep -q 'Printer er online, og klar til utskrift' <<<"$output"; then
    pass "installed solvarn-sjekk reports the printer ready"
else
    fail "installed solvarn-sjekk network $address"
fi
kill "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

# --- The installed window, started as the menu starts it ----------------------------------
exec_line="$(sed -n 's/^Exec=//p' /usr/share/applications/no.solvarn.printersjekk.desktop)"
program="$(command -v "${exec_line%% *}" || true)"
start_virtual_display 800x700x24 "$work/xvfb.log"
display="$virtual_display"
window=""
if [ -n "$program" ]; then
    DISPLAY="$display" "$program" >"$work/app-log" 2>&1 &
    app_pid=$!
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break # ended early: its messages below
        window="$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null |
            awk '/"Solvarn printersjekk"/ {print $1; exit}')"
        [ -n "$window" ] && break
        sleep 0.2
    done
fi
if [ -n "$window" ]; then
    sleep 1 # let it paint
    DISPLAY="$display" import -window root "$out/installed-window.png"
    pass "installed window shown (Exec=$exec_line), screenshot: $out/installed-window.png"
    DISPLAY="$display" xprop -id "$window" _NET_WM_ICON >"$work/icon" 2>&1 || true
    if grep -q 'Icon (16 x 16)' "$work/icon" && grep -q 'Icon (48 x 48)' "$work/icon"; then
        pass "the window carries its icon at 16 and 48 px"
    else
        fail "the window's icon: $(head -n 1 "$work/icon")"
    fi
else
    fail "installed window not shown (Exec=$exec_line)"
    cat "$work/app-log" >&2 2>/dev/null || true
    show_virtual_display_log
fi
if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
fi
app_pid=""
stop_virtual_display

# --- Remove it and look for anything left -------------------------------------------------
apt_get purge -y -qq "$name" >/dev/null
left=()
while read -r path; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        [ -d "$path" ] && grep -qx "$path" "$work/dirs-before" && continue
        left+=("$path")
    fi
done <"$work/installed"
if dpkg-query -W "$name" >/dev/null 2>&1 && [ "$(dpkg-query -W -f='${Status}' "$name")" != "unknown ok not-installed" ]; then
    left+=("dpkg still knows $name")
fi
if [ ${#left[@]} -eq 0 ]; then
    pass "apt-get purge left nothing of the $(wc -l <"$work/installed") installed paths"
else
    fail "left after purge: ${left[*]}"
fi

printf 'package-check: %d passed, %d failed, %d skipped\n' "$passed" "$failed" "$skipped"
[ "$failed" -eq 0 ]
