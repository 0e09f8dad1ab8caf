#!/usr/bin/env bash
# Installs what is missing, builds Kobako and starts it in the current directory; options
# (such as --data-home) go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}"
cmake -S "$here" -B "$here/build-release" -DCMAKE_BUILD_TYPE=Release -DKOBAKO_BUILD_TESTS=OFF >/dev/null
cmake --build "$here/build-release" --target kobako -j"$(nproc)"
exec "$here/build-release/app/kobako" "$@"
