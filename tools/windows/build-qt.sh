#!/usr/bin/env bash
# Cross-builds the parts of Qt the printer check needs for 64-bit Windows (Core, Gui, Widgets,
# Network, the Windows platform and style plugins) as DLLs, from Debian's own source package
# of the Qt that the Linux build uses, and installs them into a cache folder named after Qt's
# version and these options, with Qt's licence texts in its LICENSES folder. A second run
# finds the folder and does nothing.
#   tools/windows/build-qt.sh          prints the folder (the Qt prefix) on its last line
# SOLVARN_CACHE overrides the cache's parent folder (default ~/.cache/solvarn-printersjekk).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
say() { printf '%s\n' "$*" >&2; }

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/+.*//')"
[ -n "$qt_version" ] || { say "qt6-base-dev is not installed: its version decides which Qt to build."; exit 1; }

# Only what the program links: no examples, tests, OpenGL, D-Bus, ICU, SQL, TLS, image formats.
# wintab is missing from Debian's source, and the DirectWrite font database only links with
# Direct2D, which is off too.
options=(
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
    -DFEATURE_testlib=OFF -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_freetype=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF
    -DFEATURE_directwrite3=OFF -DFEATURE_sql_sqlite=OFF -DFEATURE_networkinformation=OFF
)
key="$(printf '%s\n' "${options[@]}" "$(cat "$here/mingw-toolchain.cmake")" | sha256sum | cut -c1-10)"
cache="${SOLVARN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solvarn-printersjekk}"
prefix="$cache/qt-$qt_version-mingw64-shared-$key"

work="$cache/work-$qt_version-$key"

# Downloads the source package's files into the current folder.
fetch_source() {
    # The source comes from the same archive apt installs from, through a private sources
    # list so that the system's apt configuration stays untouched.
    mkdir -p apt/parts apt/lists/partial
    sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1 >apt/mirror || true
    mirror="$(cat apt/mirror)"
    cat >apt/parts/qt-source.sources <<SOURCES
Types: deb-src
URIs: ${mirror:-http://deb.debian.org/debian}
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt_private=(-o Dir::Etc::sourcelist=/dev/null -o "Dir::Etc::sourceparts=$work/apt/parts"
                 -o "Dir::State::Lists=$work/apt/lists")
    say "Fetching Qt's source (qt6-base $qt_version) from Debian's archive"
    apt-get "${apt_private[@]}" update -qq
    apt-get "${apt_private[@]}" source --download-only "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" >&2
}

# Copies the licence texts of an unpacked source tree into the prefix's LICENSES folder: Qt's
# own, and those of the third-party code that Qt builds into its libraries.
keep_licences() { # keep_licences <source tree>
    mkdir -p "$prefix/LICENSES/3rdparty"
    cp "$1"/LICENSES/* "$prefix/LICENSES/"
    local file part
    for file in "$1"/src/3rdparty/*/*; do
        case "${file##*/}" in
        *LICEN[CS]E* | *licen[cs]e* | COPYING*)
            part="$(basename "$(dirname "$file")")"
            mkdir -p "$prefix/LICENSES/3rdparty/$part"
            cp "$file" "$prefix/LICENSES/3rdparty/$part/"
            ;;
        esac
    done
}

if [ -f "$prefix/.complete" ]; then
    # A cache made before the licence texts were kept gets them from the source once more.
    if [ ! -d "$prefix/LICENSES" ]; then
        mkdir -p "$work/licences"
        cd "$work"
        ls qt6-base_*.orig.tar.xz >/dev/null 2>&1 || fetch_source
        tar -xf qt6-base_*.orig.tar.xz -C licences --strip-components=1 --wildcards \
            --no-wildcards-match-slash '*/LICENSES/*' '*/src/3rdparty/*/*'
        keep_licences licences
        cd / && rm -rf "$work"
    fi
    say "Qt $qt_version for Windows: cached in $prefix"
    echo "$prefix"
    exit 0
fi

mkdir -p "$work"
cd "$work"
if [ ! -d src ]; then
    fetch_source
    say "Unpacking"
    mkdir src.partial
    tar -xf qt6-base_*.orig.tar.xz -C src.partial --strip-components=1
    # 6.4's Windows platform plugin asks the dynamic OpenGL loader whether GL is software
    # rendered even when OpenGL is configured out; without OpenGL the answer is plainly no.
    sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        src.partial/src/plugins/platforms/windows/qwindowswindow.cpp
    mv src.partial src
fi

say "Configuring Qt $qt_version for Windows (about a minute)"
cmake -S src -B build -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >build-configure.log
say "Building Qt for Windows (about half an hour on two cores; progress below)"
cmake --build build >&2
cmake --install build >build-install.log
# The licence texts go with the DLLs into whatever ships them.
keep_licences src
touch "$prefix/.complete"
rm -rf "$work"
say "Qt $qt_version for Windows: built into $prefix"
echo "$prefix"
