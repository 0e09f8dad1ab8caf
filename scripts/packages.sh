# Debian packages Kobako needs, and a function that installs the missing ones.
# Sourced by run.sh and test.sh.

# libwayland-dev: the Wayland client library and wayland-scanner, for the compositors' data
# control (the program builds without it, and then reads the clipboard through X11 alone).
# libxcb-xtest0-dev: the XTEST extension, which types the paste keystroke after a pick.
KOBAKO_BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev libgl-dev libxcb1-dev
                       libxcb-xfixes0-dev libxcb-xtest0-dev libfontconfig-dev fonts-noto-cjk
                       qt6-translations-l10n qt6-l10n-tools libwayland-dev)
# libclang-rt-14-dev: clang's libFuzzer and sanitizer
# runtimes (both only recommended by the packages that use them). Window managers users run:
# openbox, xfwm4 (with xfconf and a session bus for its settings), fluxbox and icewm; weston; and a
# Wayland desktop: sway (headless) for its data control, with XWayland, and wl-clipboard
# as a Wayland client that copies; wmctrl asks the window manager to close a window; xterm (X11)
# and foot (Wayland) are the terminals a pick is pasted into. xdg-desktop-portal, with python3-dbus
# and python3-gi for the tests' desktop half of it, offers the call key to a Wayland session.
KOBAKO_TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev python3 xvfb xclip xdotool
                      x11-utils imagemagick clang libclang-rt-14-dev clang-format
                      openbox xfwm4 xfconf dbus dbus-x11 fluxbox icewm weston xwayland sway
                      wl-clipboard wmctrl xterm foot desktop-file-utils lintian appstream man-db
                      dpkg-dev file binutils xdg-desktop-portal python3-dbus python3-gi)

# The Windows build: the mingw-w64 cross compilers, the build tools Qt's own build uses, the
# icon's makers (librsvg2-bin draws it, icoutils packs it), NSIS for the installer, and wine with
# Xvfb to run the Windows program and its tests here.
KOBAKO_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build
                         qt6-base-dev-tools xz-utils zip librsvg2-bin icoutils nsis googletest
                         wine wine64 xvfb xclip xdotool python3)

install_missing_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
