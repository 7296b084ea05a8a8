#!/bin/sh
# console_screen.sh RUNNER BUILD_DIR PROGRAM: the station screen on a console, drawn by the
# console's own calls: a line of one unit in a terminal of 80 by 24 (tmux), under Wine,
# whose console turns the screen buffer's cells and attributes into escape sequences.
# Wine's console does not repaint the terminal when the program gives back the console's
# first screen buffer, so only what is written after that is checked on the final screen.
set -eu
runner=$1
build=$2
program=$3
work=$(mktemp -d)
server=orca-console-$$
t() { tmux -L "$server" -f /dev/null "$@"; }
cleanup() {
    t kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() {
    echo "FAIL: $*" >&2
    echo "--- final screen:" >&2
    t capture-pane -p >&2 || true
    exit 1
}

# In English and in colour, whatever the environment of the tests.
unset NO_COLOR
LC_ALL=C LANG=C
export LC_ALL LANG

# The program starts only once every byte it draws is caught.
t new-session -d -x 80 -y 24 "while [ ! -e '$work/go' ]; do sleep 0.1; done;
    '$runner' '$build' '$program' update --each --count 1 --yes; echo \$? > '$work/status';
    sleep 600"
t pipe-pane -o "cat > '$work/raw'"
touch "$work/go"

# A console the program did not share asks for Enter before it closes: Wine's, here.
i=0
until [ -e "$work/status" ]; do
    i=$((i + 1))
    [ $i -lt 1200 ] || fail "the program did not end within 240 s"
    t capture-pane -p -J | grep -q "Press Enter to close" && t send-keys Enter
    sleep 0.2
done
[ "$(cat "$work/status")" = 0 ] || fail "exit status $(cat "$work/status"), not 0"

esc=$(printf '\033')
raw=$work/raw
# Rows in the colours of their state, from the attributes set on the console.
grep -aq "${esc}\[93m1-1  writing [0-9]* %  [0-9]* s left" "$raw" || fail "no yellow row writing"
grep -aq "${esc}\[92m1-1  done: unplug" "$raw" || fail "no green row done"
grep -aq "Updated 1  failed 0  skipped 0  declined 0  yield 100.0 %" "$raw" ||
    fail "no shift line"
# The tally, once the screen is given back. Wine's console breaks its lines at the edge.
t capture-pane -p | tr -d '\n' | grep -q "Updated: 1, failed: 0, skipped: 0, declined: 0, changed: 0" ||
    fail "no tally after the screen"
echo "the station screen drew its rows in colour on Wine's console"
