#!/usr/bin/env bash
# Builds the Windows program from the same sources: build-windows/kobako/kobako.exe with every DLL
# it needs beside it, build-windows/kobako-windows.zip of that folder, and its installer,
# build-windows/kobako-setup.exe. Installs what is missing from Debian (the mingw-w64 compilers,
# cmake, ninja, Qt's host tools, NSIS), and cross-builds Qt once from Debian's own qt6-base
# source into a cache keyed by everything that shapes it.
# With --tests it also builds the unit tests for Windows (in build-windows/build).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}" "${KOBAKO_WINDOWS_PACKAGES[@]}"
jobs=$(nproc)
target=x86_64-w64-mingw32
toolchain=$here/cmake/mingw-w64.cmake

# What the program uses of Qt, and no more: no OpenGL (nothing is drawn with it), no tablet (the
# wintab headers are not in Debian's source), no Direct2D (else qwindows.dll fails to link).
qt_options=(
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF -DFEATURE_pkg_config=OFF -DINPUT_opengl=no -DFEATURE_tabletevent=OFF
    -DFEATURE_directwrite3=OFF -DFEATURE_direct2d=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF
    -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF -DFEATURE_freetype=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_network=OFF
)

# Debian's qt6-base source, fetched with an apt configuration of our own, so that the system's
# sources stay as they are.
fetch_qt_source() {
    local into=$1 apt=$1/apt
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
    # The mirror the system's own apt uses.
    local mirror
    mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null ||
             true)
    [ -n "$mirror" ] || mirror=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null ||
                                 true)
    echo "deb-src ${mirror:-http://deb.debian.org/debian} bookworm main" >"$apt/sources.list"
    local options=(-q -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
                   -o APT::Sandbox::User=root)
    apt-get "${options[@]}" update >/dev/null
    (cd "$into" && apt-get "${options[@]}" source --download-only "qt6-base=$qt_source_version" >/dev/null)
}

cache=${XDG_CACHE_HOME:-$HOME/.cache}/kobako
# The same version as the host tools it is built with.
qt_source_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
key=$( (echo "$qt_source_version"; echo "${qt_options[*]}"; "$target-g++-posix" --version | head -n 1;
        cat "$toolchain") | sha256sum | cut -c1-16)
qt=$cache/qt-windows-$key
if [ ! -f "$qt/.complete" ]; then
    echo "== Qt for Windows, once (kept in $qt)"
    work=$(mktemp -d "${TMPDIR:-/tmp}/kobako-qt.XXXXXX")
    fetch_qt_source "$work"
    tar -xf "$work"/qt6-base_*.orig.tar.xz -C "$work"
    source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qtbase*' | head -n 1)
    rm -rf "$qt" && mkdir -p "$cache"
    # No host library may leak in through pkg-config.
    PKG_CONFIG_LIBDIR=/nonexistent cmake -S "$source_dir" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$qt" "${qt_options[@]}" \
        >"$work/configure.log" || { tail -n 40 "$work/configure.log"; exit 1; }
    cmake --build "$work/build" -j"$jobs" >"$work/build.log" || { tail -n 40 "$work/build.log"; exit 1; }
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
    rm -rf "$work"
fi

echo "== Kobako for Windows"
out=$here/build-windows
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON
cmake -S "$here" -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DKOBAKO_WINDOWS_QT="$qt" -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Release \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DKOBAKO_BUILD_TESTS=$tests -DKOBAKO_WINDOWS_FOLDER="$out/kobako" \
    -DKOBAKO_TEST_OWNER="${KOBAKO_TEST_OWNER:-}" >/dev/null
cmake --build "$out/build" -j"$jobs"

# The folder a Windows user unpacks: the program, and every DLL it loads that Windows does not
# have, found by following the imports of each from the program and Qt's plugins.
folder=$out/kobako
rm -rf "$folder" && mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations" \
    "$folder/help"
cp "$out/build/app/kobako.exe" "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
# Qt's own texts in Japanese (the buttons of its dialogs), from Debian's translations.
cp /usr/share/qt6/translations/qtbase_ja.qm "$folder/translations/"
cp "$here"/docs/help/help.ja.html "$here"/docs/help/help.en.html "$folder/help/"
printf '[Paths]\nPrefix = .\nPlugins = .\n' >"$folder/qt.conf"
# What Windows itself provides: imports outside the folder must all be among these.
system_dlls='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|version|dwmapi|uxtheme|netapi32|userenv|mpr|setupapi|shlwapi|wtsapi32|authz|iphlpapi|dnsapi|crypt32|secur32|bcrypt|d3d9|d3d11|dxgi|msvcrt|ntdll|comctl32|rpcrt4|shcore|winhttp|api-ms-win-.*)\.dll$'
pending=("$folder/kobako.exe" "$folder/platforms/qwindows.dll" "$folder/styles/qwindowsvistastyle.dll")
while [ ${#pending[@]} -gt 0 ]; do
    binary=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $("$target-objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
        [ -f "$folder/$dll" ] && continue
        if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls"; then continue; fi
        # Qt's, or the compiler's (its runtime, the threads library, zlib).
        found=$qt/bin/$dll
        [ -f "$found" ] || found=$("$target-gcc-posix" -print-file-name="$dll")
        [ -f "$found" ] || { echo "build-windows: $binary needs $dll, found nowhere" >&2; exit 1; }
        cp "$found" "$folder/"
        pending+=("$folder/$dll")
    done
done
"$target-strip" --strip-unneeded "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll
(cd "$out" && rm -f kobako-windows.zip && zip -qr kobako-windows.zip kobako)
# The installer of the same folder.
version=$(sed -n 's/^project(kobako VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
makensis -V2 -DVERSION="$version" -DFOLDER="$folder" -DICON="$out/build/app/kobako.ico" \
    -DOUTFILE="$out/kobako-setup.exe" "$here/app/windows/installer.nsi"
echo "$folder/kobako.exe"
