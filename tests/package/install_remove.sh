#!/usr/bin/env bash
# Installs the Debian package with apt, runs it, and removes it again: nothing may be left, not
# even the package's name in "rc" state. It changes the system, so it runs only in a throwaway
# root (CI's bare Debian 12 root sets KOBAKO_THROWAWAY_ROOT=1). Usage: install_remove.sh BUILD_DIR
set -euo pipefail
[ "${KOBAKO_THROWAWAY_ROOT:-}" = 1 ] || { echo "install_remove: only in a throwaway root"; exit 0; }
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(ls "$out"/*.deb)" >/dev/null
[ "$(/usr/bin/kobako --version)" = "Kobako 1.3.0" ] || { echo "installed kobako does not run"; exit 1; }
man -w kobako >/dev/null
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kobako >/dev/null
if dpkg-query -W -f='${db:Status-Abbrev}' kobako 2>/dev/null | grep -q .; then
    echo "kobako is still known to dpkg: $(dpkg-query -W -f='${db:Status-Abbrev}' kobako)"; exit 1
fi
for path in /usr/bin/kobako /usr/share/applications/kobako.desktop /usr/share/doc/kobako; do
    [ ! -e "$path" ] || { echo "left behind: $path"; exit 1; }
done
echo "install and remove: 1 passed, 0 failed"
