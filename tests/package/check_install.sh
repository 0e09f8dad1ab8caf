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
share/icons/hicolor/scalable/apps/kobako.svg
share/man/ja/man1/kobako.1.gz
share/man/man1/kobako.1.gz
share/metainfo/org.kobako.Kobako.metainfo.xml"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "installed tree differs:"; diff <(echo "$expected") <(echo "$actual") || true; exit 1
fi
test -x "$prefix/bin/kobako"
# One executable: no module beside it to load.
! ldd "$prefix/bin/kobako" | grep -q "not found" || { echo "unresolved libraries"; exit 1; }
desktop-file-validate "$prefix/share/applications/kobako.desktop"
# Started from the menu, it keeps its files in the user's data directory.
grep -qx "Exec=kobako --data-home" "$prefix/share/applications/kobako.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.kobako.Kobako.metainfo.xml"
# The manual pages render without a warning, in both languages.
for page in "$prefix/share/man/man1/kobako.1.gz" "$prefix/share/man/ja/man1/kobako.1.gz"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
    LC_ALL=C.UTF-8 man -l "$page" | grep -q -- "--data-home" || { echo "$page does not render"; exit 1; }
done

echo "install: 1 passed, 0 failed"
