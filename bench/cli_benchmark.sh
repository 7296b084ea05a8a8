#!/bin/sh
# The terminal edition's figures against the simulated unit in real time: how soon status
# is printed after start, and a whole update against the 45,840 ms of fixed waits.
# Prints figures, tests nothing. Run after `make linux`.
set -eu
demo=${1:-build/dist/orca-75-lx-updater-cli-demo}
now() { date +%s%N; }

best=
for i in 1 2 3 4 5 6 7 8 9 10; do
    start=$(now)
    "$demo" status >/dev/null
    took=$(( ($(now) - start) / 1000 ))
    [ -z "$best" ] || [ "$took" -lt "$best" ] && best=$took
done
echo "status, start to exit (best of 10): $best us"

start=$(now)
"$demo" update --yes --quiet >/dev/null
took=$(( ($(now) - start) / 1000000 ))
echo "whole update, start to exit: $took ms ($(( (took - 45840) * 10000 / 45840 )) per ten thousand over 45,840 ms)"
