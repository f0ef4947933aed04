#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the two .deb packages (kestrix and kestrix-meter-sim), lists them,
# runs lintian on them (an error fails, warnings are printed), installs them,
# validates the installed AppStream metainfo, and checks that the installed
# command line reads the installed simulator as a contact meter on COM 1 and
# that the installed program starts under Xvfb and finds it there too.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-package"
"$top/scripts/install-deps.sh" dpkg-dev fakeroot lintian appstream
"$top/scripts/build.sh" "$build" -DBUILD_TESTING=OFF -DKESTRIX_BUILD_BENCHMARK=OFF -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrix_*.deb)
sim_deb=$(ls "$build"/kestrix-meter-sim_*.deb)
echo "Built $(basename "$deb") and $(basename "$sim_deb")"

# package file...: lists the package and fails unless it holds each file.
holds() {
    local package=$1 contents
    shift
    contents=$(dpkg-deb -c "$package")
    echo "$contents"
    for file in "$@"; do
        grep -qE " \\.$file\$" <<<"$contents" || { echo "missing from $(basename "$package"): $file" >&2; exit 1; }
    done
}
holds "$deb" /usr/bin/kestrix /usr/share/doc/kestrix/copyright /usr/share/doc/kestrix/changelog.gz \
    /usr/share/metainfo/io.kestrix.Kestrix.metainfo.xml /usr/share/applications/io.kestrix.Kestrix.desktop \
    /usr/share/icons/hicolor/scalable/apps/io.kestrix.Kestrix.svg /usr/share/man/man1/kestrix.1.gz \
    /usr/bin/kestrix-download /usr/share/man/man1/kestrix-download.1.gz
holds "$sim_deb" /usr/bin/kestrix-meter-sim /usr/share/man/man1/kestrix-meter-sim.1.gz \
    /usr/share/doc/kestrix-meter-sim/copyright /usr/share/doc/kestrix-meter-sim/changelog.gz

# lintian exits non-zero on errors only; warnings and notes are listed.
lintian --tag-display-limit 0 "$deb" "$sim_deb"

dpkg -i "$deb" "$sim_deb" >/dev/null || { apt-get install -y -f >/dev/null; dpkg -i "$deb" "$sim_deb" >/dev/null; }
for file in /usr/bin/kestrix /usr/bin/kestrix-download /usr/bin/kestrix-meter-sim /usr/share/applications/io.kestrix.Kestrix.desktop \
            /usr/share/icons/hicolor/scalable/apps/io.kestrix.Kestrix.svg; do
    [ -e "$file" ] || { echo "missing after install: $file" >&2; exit 1; }
done
appstreamcli validate --no-net --explain /usr/share/metainfo/io.kestrix.Kestrix.metainfo.xml
version=$(sed -n 's/^project(Kestrix VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ "$(kestrix --version)" = "kestrix $version" ]
[ "$(kestrix-download --version)" = "kestrix-download $version" ]

work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
kestrix-meter-sim --model "[KX-C1]" --files 3 --com 1 >"$work/sim.out" &
sim=$!
trap 'kill $kestrix $sim $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
kestrix=
sleep 1
# The installed command line reads the same meter: a heading and three files.
kestrix-download --port 1 --quiet --output "$work/files.csv"
[ "$(grep -c $'\r$' "$work/files.csv")" = 4 ] || { echo "kestrix-download did not list 3 files" >&2; exit 1; }
echo "Installed kestrix-download read the simulated meter's 3 files"
DISPLAY=$display kestrix >"$work/kestrix.out" 2>&1 &
kestrix=$!
title="[KX-C1] Meter Communication Software"
for _ in $(seq 1 40); do
    if DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
        echo "Installed kestrix found the simulated meter: \"$title\""
        exit 0
    fi
    sleep 0.5
done
echo "The installed program did not show \"$title\"" >&2
cat "$work/kestrix.out" >&2
exit 1
