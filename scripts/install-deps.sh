#!/bin/sh
# Installs what building and testing need, from Debian's packages, and with an argument
# what that extra needs too: demo-linux (a window manager for the screenshots, Qt's German
# button texts), package (the Debian packaging tools), fuzz (clang and libFuzzer) or arm64
# (the cross compilers, libudev for arm64 and qemu-user) or web (emscripten, chromium and
# Node.js for the browser edition and its tests). As root it installs; otherwise it
# uses sudo, or prints the one command to run.
set -eu
packages="cmake make g++ googletest clang-format
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
wine wine64 xvfb xauth x11-utils xdotool imagemagick locales
pkg-config libudev-dev umockdev libumockdev-dev qt6-base-dev rsyslog rsyslog-relp tmux"
case "${1:-}" in
demo-linux) packages="$packages openbox qt6-translations-l10n" ;;
package) packages="$packages dpkg-dev file lintian appstream desktop-file-utils" ;;
fuzz) packages="$packages clang libclang-rt-14-dev" ;;
arm64) packages="crossbuild-essential-arm64 libudev-dev:arm64 qemu-user" ;;
web)
    packages="emscripten chromium imagemagick"
    # A Node.js of the machine's own (npm's) is kept; Debian's comes only where none is.
    command -v node >/dev/null 2>&1 && command -v npm >/dev/null 2>&1 || packages="$packages nodejs npm"
    ;;
esac

missing=
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -n "$missing" ] || exit 0

command="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends$missing"
# arm64 packages come from the same archive once dpkg knows the architecture.
[ "${1:-}" != arm64 ] || dpkg --print-foreign-architectures | grep -qx arm64 ||
    command="dpkg --add-architecture arm64 && $command"
if [ "$(id -u)" = 0 ]; then
    sh -c "$command"
elif command -v sudo >/dev/null 2>&1; then
    sudo sh -c "$command"
else
    echo "Missing packages:$missing" >&2
    echo "Run as root: $command" >&2
    exit 1
fi
