#!/usr/bin/env bash
# Builds the .deb, installs it, and checks that the installed program starts
# under Xvfb and finds the installed simulator as a contact meter on COM 1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-package"
"$top/scripts/install-deps.sh" dpkg-dev fakeroot
"$top/scripts/build.sh" "$build" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrix_*.deb)
echo "Built $(basename "$deb")"
dpkg -i "$deb" >/dev/null || { apt-get install -y -f >/dev/null; dpkg -i "$deb" >/dev/null; }
for file in /usr/bin/kestrix /usr/bin/kestrix-meter-sim /usr/share/applications/kestrix.desktop \
            /usr/share/icons/hicolor/scalable/apps/kestrix.svg; do
    [ -e "$file" ] || { echo "missing after install: $file" >&2; exit 1; }
done

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
