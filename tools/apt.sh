# shellcheck shell=bash
# Installs Debian packages with apt-get for ./dev and packaging/check-package.sh (sourced by
# both). apt's own progress stays on the screen, with a line before each stage; while another
# program holds apt's lock (unattended upgrades on a freshly booted desktop, a software centre)
# apt-get waits for it, up to a limit, instead of giving up at once.
#   install_missing <package...>   installs those of the packages not installed yet
#   apt_get <arguments...>         apt-get with the lock wait (as root, or through sudo)
# SOLVARN_APT_WAIT: how long to wait for apt's lock, in seconds (default 300).

apt_lock_wait="${SOLVARN_APT_WAIT:-300}"

apt_say() { printf '%s\n' "$*" >&2; }

apt_get() {
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { apt_say "Run as root or with sudo: apt-get $*"; exit 1; }
        sudo=(sudo)
    fi
    local errors status=0
    errors="$(mktemp)"
    # apt's messages go to the screen as they come, and to a file to tell a busy apt apart.
    (
        set -o pipefail
        { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get -o DPkg::Lock::Timeout="$apt_lock_wait" "$@" 2>&1 1>&3 3>&- |
            tee "$errors" >&2 3>&-; } 3>&1
    ) || status=$?
    if [ "$status" -ne 0 ] && grep -Eq 'Could not get lock|Unable to acquire|Unable to lock' "$errors"; then
        apt_say "apt is still busy after ${apt_lock_wait} s: another program holds its lock" \
            "(above: which one). This is often the system's automatic updates after a start." \
            "Run this again when it is done, or set SOLVARN_APT_WAIT to a number of seconds to" \
            "wait longer."
    fi
    rm -f "$errors"
    return "$status"
}

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    apt_say "Installing ${#missing[*]} packages (and what they need): ${missing[*]}"
    apt_say "[1/2] Updating the package lists (apt-get update)"
    apt_get update
    apt_say "[2/2] Downloading and installing (apt-get install)"
    apt_get install -y --no-install-recommends "${missing[@]}"
    apt_say "Installed: ${missing[*]}"
}
