#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Windows cross check: every source of the program (src/**/*.cpp) and of the
# simulator's portable meter emulation goes through the MinGW-w64 compiler
# for Windows (Debian's g++-mingw-w64-x86-64) with -fsyntax-only, against
# Debian's Qt headers.
#
# What it proves: the sources parse and type-check as C++20 for a Windows
# target, where the compiler itself defines _WIN32 (so Qt's headers set
# Q_OS_WIN and the code's Q_OS_WIN branches are the ones checked), and that no
# header or function that MinGW-w64 lacks is used outside those branches
# (termios.h, poll.h, sys/resource.h, pseudo-terminals, faccessat, symlink...).
#
# What it does not prove: Debian has no Windows Qt, so nothing is linked, no
# moc output is compiled and Qt's headers are the Linux build's (its feature
# configuration, not Windows'). MinGW-w64 provides some POSIX names itself
# (unistd.h's read/write/close, clock_gettime), which pass here but would not
# under MSVC. MSVC's own warnings and /permissive- are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."
CXX_WIN=x86_64-w64-mingw32-g++
command -v "$CXX_WIN" >/dev/null || bash scripts/install-deps.sh g++-mingw-w64-x86-64
bash scripts/install-deps.sh

qt=$(dirname "$(find /usr/include -maxdepth 3 -type d -path '*/qt6/QtCore' | head -n 1)")
[ -d "$qt/QtCore" ] || { echo "Qt 6 headers not found" >&2; exit 1; }

# The configured header the build generates, filled as CMake would.
generated=$(mktemp -d)
trap 'rm -rf "$generated"' EXIT
mkdir -p "$generated/app"
version=$(sed -n 's/^project(Kestrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
app_id=$(sed -n 's/^set(KESTRIX_APP_ID \(.*\))$/\1/p' CMakeLists.txt)
sed -e "s/@PROJECT_VERSION@/$version/" -e "s/@KESTRIX_APP_ID@/$app_id/" src/app/BuildInfo.h.in \
    > "$generated/app/BuildInfo.h"

# Qt's headers are system headers here: their warnings about dllimport on a
# Linux-configured Qt are not the program's.
# kestrix-download takes the version as a definition, as src/cli/CMakeLists.txt gives it.
flags=(-fsyntax-only -std=c++20 -Wall -Wextra -Wpedantic -Werror -Isrc -Isim -I"$generated"
       -DKESTRIX_VERSION="\"$version\"")
for module in "" QtCore QtGui QtWidgets QtSerialPort; do
    flags+=(-isystem "$qt${module:+/$module}")
done
# libxlsxwriter's headers alone, without the rest of the Linux /usr/include.
mkdir -p "$generated/xlsxwriter-only"
ln -s /usr/include/xlsxwriter.h /usr/include/xlsxwriter "$generated/xlsxwriter-only/"
flags+=(-isystem "$generated/xlsxwriter-only")

transport='sim/(MonotonicClock|PortLink|PtyServer|StopSignals|main)\.cpp$'
mapfile -t sources < <({ find src -name '*.cpp'; find sim -maxdepth 1 -name '*.cpp' | grep -Ev "$transport"; } | sort)
[ "${#sources[@]}" -gt 0 ] || { echo "no sources found" >&2; exit 1; }

printf '%s\0' "${sources[@]}" | xargs -0 -P "$(nproc)" -n 4 "$CXX_WIN" "${flags[@]}"
echo "Windows cross check: ${#sources[@]} sources parse and type-check for x86_64-w64-mingw32."
