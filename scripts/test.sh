#!/usr/bin/env bash
# Installs what is missing, builds Kobako with its tests and runs every test: the core, the
# windows on the offscreen platform, and the whole program under Xvfb with xclip and xdotool.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}" "${KOBAKO_TEST_PACKAGES[@]}"
build="$here/build-test"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
