#!/bin/sh
# make demo: runs the demo under Wine. With a display it opens the window for you to use;
# without one it plays a whole update on a virtual display, in English and in German, and
# saves a screenshot of each stage under build/screens/.
set -eu
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec scripts/wine-session.sh build/windows wine build/dist/orca-75-lx-updater-demo.exe
fi
unset DISPLAY
exec scripts/wine-session.sh build/windows scripts/demo-session.sh
