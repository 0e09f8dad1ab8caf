#!/usr/bin/env bash
# Installs into a fresh prefix and checks the tree, the desktop entry and the icon.
# Usage: check_install.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/kobako
share/applications/kobako.desktop
share/doc/kobako/changelog.gz
share/doc/kobako/copyright
share/doc/kobako/help.en.html
share/doc/kobako/help.ja.html
share/icons/hicolor/scalable/apps/kobako.svg"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "installed tree differs:"; diff <(echo "$expected") <(echo "$actual") || true; exit 1
fi
test -x "$prefix/bin/kobako"
# One executable: no module beside it to load.
! ldd "$prefix/bin/kobako" | grep -q "not found" || { echo "unresolved libraries"; exit 1; }
desktop-file-validate "$prefix/share/applications/kobako.desktop"

# The icon renders: a 64 x 64 picture with more than a couple of colours.
png=$(mktemp --suffix=.png)
convert -background none "$prefix/share/icons/hicolor/scalable/apps/kobako.svg" "$png"
read -r width height colours < <(identify -format '%w %h %k\n' "$png")
rm -f "$png"
[ "$width" = 64 ] && [ "$height" = 64 ] && [ "$colours" -gt 4 ] ||
    { echo "icon renders as ${width}x${height} with $colours colours"; exit 1; }
echo "install: 1 passed, 0 failed"
