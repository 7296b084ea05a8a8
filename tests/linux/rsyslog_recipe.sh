#!/usr/bin/env bash
# The rsyslog recipe of packaging/rsyslog on the loopback address: two stations (the demo
# program on simulated units, each with its own rsyslog shipping its record) and one
# central rsyslog, which is stopped in the middle of the shift and started again. Every
# line of each station's record reaches the station's central file, as it was written;
# a line that arrives twice is told apart by its id. Every daemon is started and stopped
# here, and nothing is left running.
#   rsyslog_recipe.sh DEMO_PROGRAM RECIPE_FOLDER WORK_FOLDER
set -euo pipefail
demo=$1 recipe=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
pids=()
stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_all EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# A port nothing listens on.
port=
for try in $(seq 1 50); do
    candidate=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
done
[ -n "$port" ] || fail "no free port"

# rsyslogd on a configuration of its own: the recipe's file with this test's host, port and
# folders, under a work directory of its own.
daemon() { # NAME RECIPE_FILE
    local dir=$work/$1
    mkdir -p "$dir/work"
    sed -e "s|central.example.com|127.0.0.1|" -e "s|\"2514\"|\"$port\"|" \
        -e "s|/var/log/orca-station|$dir/records|" -e "s|/var/log/orca-central|$work/central|" \
        "$recipe/$2" > "$dir/recipe.conf"
    printf 'global(workDirectory="%s/work")\ninclude(file="%s/recipe.conf")\n' "$dir" "$dir" \
        > "$dir/rsyslog.conf"
    rsyslogd -N1 -f "$dir/rsyslog.conf" > "$dir/check.log" 2>&1 || { cat "$dir/check.log"; fail "$1's configuration"; }
    # Bounded in time too, should this script be killed before its trap runs.
    timeout 600 rsyslogd -n -f "$dir/rsyslog.conf" -i "$dir/rsyslogd.pid" >> "$dir/rsyslogd.log" 2>&1 &
    pids+=($!)
    eval "${1//-/_}_pid=$!"
}
lines() { [ -f "$1" ] && wc -l < "$1" || echo 0; }
wait_for() { # SECONDS WHAT COMMAND...
    local seconds=$1 what=$2; shift 2
    for _ in $(seq 1 $((seconds * 4))); do "$@" && return 0; sleep 0.25; done
    fail "$what within $seconds s"
}

daemon central orca-central.conf
mkdir -p "$work/station-A/records" "$work/station-B/records"
daemon station-A orca-station.conf
daemon station-B orca-station.conf

# A shift at each station: three sockets, a controller that fails and comes back.
for station in A B; do
    ORCA_DEMO_SHIFT=1 ORCA_DEMO_UNITS=3 timeout 600 "$demo" update --each --parallel --yes --count 4 \
        --station "$station" --log "$work/station-$station/records/record.jsonl" \
        > "$work/station-$station/program.log" 2>&1 &
    pids+=($!)
    eval "program_$station=$!"
done
has_lines() { [ "$(lines "$1")" -ge "$2" ]; }
wait_for 60 "a first line at the central place" has_lines "$work/central/A.jsonl" 1

# The central place goes away in the middle of the shift; the stations go on.
kill "$central_pid"
wait "$central_pid" 2>/dev/null || true
echo "central stopped with $(lines "$work/central/A.jsonl") + $(lines "$work/central/B.jsonl") lines"
wait_for 120 "station A's units while the central place is away" has_lines "$work/station-A/records/record.jsonl" 3
wait_for 120 "station B's units while the central place is away" has_lines "$work/station-B/records/record.jsonl" 3
daemon central orca-central.conf
echo "central started again"
# A line with a failed unit ends with status 1.
for station in A B; do
    pid_var=program_$station
    status=0
    wait "${!pid_var}" || status=$?
    [ "$status" -le 1 ] || fail "station $station's program ended with $status: $(cat "$work/station-$station/program.log")"
done

# Every line of each record at the central place, as written, nothing else.
arrived() {
    local station
    for station in A B; do
        local record=$work/station-$station/records/record.jsonl central=$work/central/$station.jsonl
        [ -f "$central" ] || return 1
        [ -z "$(comm -23 <(sort -u "$record") <(sort -u "$central"))" ] || return 1
    done
}
wait_for 60 "every line at the central place" arrived
for station in A B; do
    record=$work/station-$station/records/record.jsonl central=$work/central/$station.jsonl
    [ -z "$(comm -13 <(sort -u "$record") <(sort -u "$central"))" ] || fail "a line at the central place that station $station did not write"
    twice=$(sort "$central" | uniq -d | wc -l)
    echo "station $station: $(lines "$record") lines written, $(lines "$central") arrived ($twice twice, told apart by id)"
    grep -q '"result":"failed"' "$record" || fail "station $station had no failure"
done
[ ! -s "$work/central/unreadable.log" ] || fail "unreadable lines: $(cat "$work/central/unreadable.log")"
echo "ok"
