#!/bin/sh
# Plays the demo on the virtual display that wine-session.sh set up.
set -eu
screens=build/screens
mkdir -p "$screens"
rm -f "$screens"/*.png

shot() { # NAME: the screen around the main window
    import -window root "$screens/$1.png"
    echo "$screens/$1.png"
}

window() { # waits for the main window, prints its X id
    i=0
    while :; do
        id=$(xdotool search --name "NORVAX ORCA 75 LX" 2>/dev/null | head -n 1 || true)
        [ -z "$id" ] || { echo "$id"; return; }
        i=$((i + 1))
        [ $i -lt 300 ] || { echo "the main window did not appear" >&2; exit 1; }
        sleep 0.1
    done
}

click_update() { # at the Update button: x 61-111, y 199-213 of a 300 x 228 unit dialog
    eval "$(xdotool getwindowgeometry --shell "$1")"
    caption=$(( HEIGHT - WIDTH * 228 / 300 ))
    xdotool mousemove $((X + WIDTH * 86 / 300)) $((Y + caption + (HEIGHT - caption) * 206 / 228)) click 1
}

play() { # LANGUAGE SUFFIX
    lang=$1
    export LOCPATH="$BUILD_DIR/locales" LC_ALL="$lang.UTF-8" LANG="$lang.UTF-8"

    wine build/dist/orca-75-lx-updater.exe &
    program=$!
    window >/dev/null; sleep 1.5
    shot "1-no-unit-$2"
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
    sleep 0.5

    wine build/dist/orca-75-lx-updater-demo.exe &
    program=$!
    id=$(window); sleep 1.5
    shot "2-ready-$2"
    click_update "$id"; sleep 1.5
    shot "3-confirm-$2"
    xdotool key Return; sleep 8
    shot "4-progress-$2"
    sleep 42
    shot "5-updated-$2"
    kill "$program" 2>/dev/null; wait "$program" 2>/dev/null || true
    sleep 0.5
}

play en_US en
play de_DE de
