#!/usr/bin/env bash
# Builds the printer check for 64-bit Windows on Debian: Qt cross-built once into a cache
# (build-qt.sh), the window and solvarn-sjekk cross-compiled with MinGW-w64, both gathered with
# the DLLs and plugins they need and the licence texts into one folder, and that folder shipped
# as an NSIS installer and a portable zip named with the version.
#   tools/windows/build-windows.sh [BUILD_DIR]      (default: build-windows)
# Prints the installer's and the zip's paths on its last two lines.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(realpath -m "${1:-$root/build-windows}")"
say() { printf '%s\n' "$*" >&2; }

# build-qt.sh shows its progress on standard error and names the Qt prefix on its last line.
qt="$("$here/build-qt.sh" | tail -n 1)"

say "Building the programs for Windows in $build/cmake"
cmake -S "$root" -B "$build/cmake" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DSOLVARN_BENCHMARKS=OFF >/dev/null
cmake --build "$build/cmake" --target solvarn-printersjekk solvarn-sjekk pathedit >&2
# The project's one version number and its names, as the programs' version resources have them.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/cmake/CMakeCache.txt"; }
version="$(cached CMAKE_PROJECT_VERSION)"
company="$(cached SOLVARN_COMPANY)"
copyright="$(cached SOLVARN_COPYRIGHT)"
running_marker="$(cached SOLVARN_RUNNING_MARKER)"
for value in version company copyright running_marker; do
    [ -n "${!value}" ] || { say "The $value is not in $build/cmake/CMakeCache.txt"; exit 1; }
done
# Windows wants four numbers: 1.0 is 1.0.0.0.
IFS=. read -r major minor patch tweak <<<"$version"
version_quad="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}"

name="solvarn-printersjekk-$version-windows-x64"
stage="$build/$name"
say "Gathering the programs, Qt's DLLs and plugins and the licence texts in $stage"
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/LICENSES"
cp "$build/cmake/app/solvarn-printersjekk.exe" "$build/cmake/cli/solvarn-sjekk.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# Every DLL that the programs and plugins import and that is not Windows' own: Qt's and the
# compiler's runtime, found by following the imports until nothing new turns up.
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
pending=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file="${pending[0]}"
    pending=("${pending[@]:1}")
    for dll in $(imports "$file"); do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                pending+=("$stage/$dll")
                break
            fi
        done
    done
done

# Without their debug information the DLLs are a fraction of the size (libstdc++ 23 MB).
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

# Licences: Qt's own texts (its DLLs are under the LGPL 3), and those of the compiler's runtime.
if [ -d "$qt/LICENSES" ]; then
    cp -r "$qt/LICENSES" "$stage/LICENSES/Qt"
else
    say "Qt's licence texts are missing in $qt/LICENSES (an older cache): run build-qt.sh anew"
    exit 1
fi
mkdir -p "$stage/LICENSES/MinGW-w64"
cp /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright \
    "$stage/LICENSES/MinGW-w64/gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/LICENSES/MinGW-w64/mingw-w64-copyright.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/LICENSES/MinGW-w64/GPL-3.txt"
qt_source="$(dpkg-query -W -f='${source:Package} ${source:Version}' qt6-base-dev)"
# Text for Notepad: CR LF, and the Norwegian texts with UTF-8's byte order mark, without which
# older Notepads would read them in the ANSI code page.
windows_text() { # windows_text <template> [bom]
    [ "${2:-}" = bom ] && printf '\357\273\277'
    sed -e "s/@QT_SOURCE@/$qt_source/" -e "s/@VERSION@/$version/" \
        -e "s/@COPYRIGHT@/$copyright/" "$1" | sed 's/$/\r/'
}
windows_text "$here/licences.txt" >"$stage/LICENSES/README.txt"
# The program's licence with the notice about Qt, also shown on the installer's licence page.
windows_text "$here/lisens.txt" bom >"$stage/LICENSES/LISENS.txt"
windows_text "$here/les-meg.txt" bom >"$stage/LES-MEG.txt"

# What was staged, for the installer and the uninstaller: each file (the uninstaller deletes
# exactly these, and both look whether a running program holds one) and each folder, deepest
# first.
file_list="$build/installed-files.nsh"
staged() { # staged <find's type> <macro> [sort option]
    printf '!macro %s ACTION\n' "$2"
    # shellcheck disable=SC2016  # ${ACTION} is NSIS's own, written as it stands
    find . -mindepth 1 -type "$1" | sort "${@:3}" |
        sed 's|^\./||; s|/|\\|g; s|.*|    !insertmacro ${ACTION} "&"|'
    printf '!macroend\n'
}
(
    cd "$stage"
    staged f INSTALLED_FILES
    staged d INSTALLED_FOLDERS -r
) >"$file_list"

installer="$build/$name-setup.exe"
zip="$build/$name.zip"
say "Making the installer"
# pathedit goes into the installer and the uninstaller only: the zip has no use for it.
x86_64-w64-mingw32-strip --strip-unneeded -o "$build/pathedit.exe" "$build/cmake/setup/pathedit.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$version_quad" \
    -DCOMPANY="$company" -DCOPYRIGHT="$copyright" -DSTAGE="$stage" -DOUTFILE="$installer" \
    -DICON="$root/desktop/icons/solvarn-printersjekk.ico" -DLICENCE="$stage/LICENSES/LISENS.txt" \
    -DPATHEDIT="$build/pathedit.exe" -DFILE_LIST="$file_list" \
    -DRUNNING_MARKER="$running_marker" \
    "$here/installer.nsi" >&2
say "Making the portable zip"
rm -f "$zip"
(cd "$build" && zip -qr9 "$zip" "$name")
echo "$installer"
echo "$zip"
