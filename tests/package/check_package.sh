#!/usr/bin/env bash
# Builds the Debian package from the install rules and checks its contents with dpkg-deb and
# lintian (no warning allowed). Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/kobako ./usr/share/applications/kobako.desktop \
            ./usr/share/icons/hicolor/scalable/apps/kobako.svg ./usr/share/doc/kobako/copyright \
            ./usr/share/doc/kobako/help.ja.html; do
    grep -qx "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
dpkg-deb --field "$deb" Package Version Depends
lintian --fail-on warning --tag-display-limit 0 "$deb"
echo "package: 1 passed, 0 failed"
