#!/bin/sh
# make demo-linux: runs the Linux demo. With a display it opens the window for you to use;
# without one it plays a whole update on a virtual display with a window manager, in
# English and in German, and saves a screenshot of each stage as build/screens/linux-*.png,
# and the ready window at twice the scale as linux-2-ready-en@2x.png.
set -eu
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/dist/orca-75-lx-updater-demo
fi

n=97
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
DISPLAY=:$n
export DISPLAY QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT INT TERM
i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

screens=build/screens
mkdir -p "$screens"
rm -f "$screens"/linux-*.png

shot() { # NAME: the screen around the main window
    eval "$(xdotool getwindowgeometry --shell "$(window)")"
    import -window root -crop "$((WIDTH + 100))x$((HEIGHT + 110))+$((X - 50))+$((Y - 80))" \
        +repage "$screens/linux-$1.png"
    echo "$screens/linux-$1.png"
}

window() { # waits for the main window, prints its X id
    i=0
    while :; do
        id=$(xdotool search --onlyvisible --name "NORVAX ORCA 75 LX" 2>/dev/null | head -n 1 || true)
        [ -z "$id" ] || { echo "$id"; return; }
        i=$((i + 1))
        [ $i -lt 300 ] || { echo "the main window did not appear" >&2; exit 1; }
        sleep 0.1
    done
}

click_update() { # at the Update button: x 61-111, y 199-213 of a 300 x 228 unit client area
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $((WIDTH * 86 / 300)) $((HEIGHT * 206 / 228)) click 1
}

play() { # LOCALE SUFFIX
    export LC_ALL="$1.UTF-8" LANG="$1.UTF-8"
    build/dist/orca-75-lx-updater >/dev/null 2>&1 &
    program=$!
    window >/dev/null; sleep 1
    shot "1-no-unit-$2"
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true

    build/dist/orca-75-lx-updater-demo >/dev/null 2>&1 &
    program=$!
    id=$(window); sleep 1
    shot "2-ready-$2"
    click_update "$id"; sleep 1
    shot "3-confirm-$2"
    xdotool key Return; sleep 8
    shot "4-progress-$2"
    sleep 40
    shot "5-updated-$2"
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
}

play en_US en
play de_DE de

# The ready window at twice the scale: logo and icon drawn from their full artwork.
export LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8
QT_SCALE_FACTOR=2 build/dist/orca-75-lx-updater-demo >/dev/null 2>&1 &
program=$!
window >/dev/null; sleep 1
shot "2-ready-en@2x"
kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
