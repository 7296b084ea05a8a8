#!/bin/sh
# wine-session.sh BUILD_DIR COMMAND...: runs COMMAND with a virtual X display, the build
# folder's own Wine prefix (created on first use) and a running wineserver, then ends them.
set -eu
BUILD_DIR=$(cd "$1" && pwd)
export BUILD_DIR
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
: "${DISPLAY:=:97}"
export DISPLAY

xvfb_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

# Our own display unless a usable one is given; the number is free if its socket is.
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    n=97
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    DISPLAY=:$n
    export DISPLAY
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    i=0
    until xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; do
        i=$((i + 1))
        [ $i -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # Without a window manager every hide of a managed window costs about 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    # The first window, device list and console of a new prefix start Wine's background
    # work (desktop, device services installing what they find); it all ends here, before
    # the first test, instead of beside the first tests.
    warmup="$BUILD_DIR/tests/windows/prefix_warmup.exe"
    if [ -f "$warmup" ]; then
        wine "$warmup" || echo "The prefix's warm-up program failed" >&2
        wine cmd /c exit >/dev/null 2>&1 || true
        wineserver -w
    fi
fi

# Interface languages for the tests, without touching the system's locales.
for locale in de_DE en_US fr_FR ja_JP; do
    [ -d "$BUILD_DIR/locales/$locale.UTF-8" ] ||
        localedef -i "$locale" -f UTF-8 "$BUILD_DIR/locales/$locale.UTF-8" 2>/dev/null || true
done

wineserver -p
wine cmd /c exit >/dev/null 2>&1 || true
"$@"
