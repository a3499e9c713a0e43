#!/bin/sh
# Measures the game's home page on loopback with wrk, in one run beside the
# limits of this machine: a bare Qt HTTP server answering a constant text,
# and the same server making one bare durable insert per request into SQLite
# and into PostgreSQL. Prints the figures and the goals as tables.
# Usage: sh bench/homepage.sh   (about five minutes; HOMEBENCH_SECONDS sets
# the length of each wrk run, 5 by default; HOMEBENCH_SERVER names another
# build of the server to measure instead of the one built here)
set -eu
cd "$(dirname "$0")/.."

if [ -z "${HOMEBENCH_PG:-}" ]; then
    SUIRAN_SETUP=tests
    . tools/setup.sh
    cmake -S . -B build-homebench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUIRAN_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-homebench -j2 --target suiranjuku-homepage suiran_bare_server suiran_homebench_data >/dev/null
    # The rest runs beside a PostgreSQL of its own, removed afterwards.
    HOMEBENCH_PG=yes exec sh tools/scratch-postgres.sh sh bench/homepage.sh
fi

secs=${HOMEBENCH_SECONDS:-5}
homepage=${HOMEBENCH_SERVER:-build-homebench/homepage/suiranjuku-homepage}
bare=build-homebench/bench/suiran_bare_server
data=build-homebench/bench/suiran_homebench_data
connections="1 8 64"

work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill -9 "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

figures=$work/figures
echo "load $(cut -d' ' -f1-3 /proc/loadavg)" >>"$figures"
"$data" codes >"$work/codes"

# Registrations can only be measured with the limit a minute per client
# address off: every request of wrk comes from one address.
limit=""
if "$homepage" --help | grep -q -- --registration-limit; then
    limit="--registration-limit 0"
fi

# Starts a server in the background and waits for the address it prints:
# sets $pid and $url. Fails with the server's complaint when it ends first.
start() {
    name=$1
    shift
    "$@" >"$work/$name.out" 2>"$work/$name.err" &
    pid=$!
    pids="$pids $pid"
    tries=0
    while url=$(sed -n 's/^listening on //p' "$work/$name.out") && [ -z "$url" ]; do
        tries=$((tries + 1))
        if ! kill -0 "$pid" 2>/dev/null || [ "$tries" -gt 200 ]; then
            kill "$pid" 2>/dev/null || true
            echo "$name did not start: $(cat "$work/$name.err")" >&2
            return 1
        fi
        sleep 0.05
    done
}

stop() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

serve() { start "$1" "$homepage" --listen 127.0.0.1:0 --database "$2" $limit || exit 1; }

# A new, empty database of the kind: sets $db to its URL.
fresh() {
    case $1 in
    sqlite) db="sqlite:$work/$2.sqlite" ;;
    postgresql)
        psql -q "$SUIRAN_PG_URL" -c "CREATE DATABASE $2" >/dev/null
        db="${SUIRAN_PG_URL%/*}/$2"
        ;;
    esac
}

# A hall of fame of N entries (0: none) in a new database, its tables made by
# the server itself: sets $db.
hall() {
    fresh "$1" "$2"
    serve tables "$db"
    stop "$pid"
    [ "$3" -eq 0 ] || "$data" seed "$db" "$3"
}

threads() { if [ "$1" -gt 1 ]; then echo 2; else echo 1; fi; }

# One wrk run: LABEL CONNECTIONS URL [SCRIPT ARGUMENT...]; notes
# "LABEL CONNECTIONS REQUESTS SECONDS P50 P99 FAILED".
measure() {
    label=$1 conns=$2 target=$3
    shift 3
    script=bench/homepage/report.lua
    if [ $# -gt 0 ]; then
        script=$1
        shift
    fi
    wrk -t"$(threads "$conns")" -c"$conns" -d"${secs}s" --timeout 5s -s "$script" "$target" -- "$@" \
        >"$work/wrk.out" 2>&1 || true
    sed -n "s/^figures /$label $conns /p" "$work/wrk.out" >>"$figures"
}

# Resident memory of the server $pid after COUNT requests of the mix: sets
# $resident to its VmRSS in KiB, or 0 when the mix did not get that far.
residentAfter() {
    rm -f "$work/marker"
    wrk -t1 -c8 -d120s --timeout 5s -s bench/homepage/mix.lua "$url" -- "$1" "$work/marker" "$work/codes" \
        >/dev/null 2>&1 &
    load=$!
    pids="$pids $load"
    while [ ! -s "$work/marker" ] && kill -0 "$load" 2>/dev/null; do sleep 0.05; done
    kill -INT "$load" 2>/dev/null || true
    wait "$load" 2>/dev/null || true
    resident=0
    if [ -s "$work/marker" ]; then
        resident=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status")
    fi
}

# Registrations at 8 connections, the server killed with SIGKILL halfway
# and started again: notes how many were answered 201, how many of those are
# not in the hall of fame as answered, and how many names are there twice.
killTest() {
    kind=$1
    hall "$kind" "${kind}_kill" 0
    settle "$kind"
    serve killed "$db"
    wrk -t2 -c8 -d"${secs}s" --timeout 5s -s bench/homepage/register.lua "$url" -- "$work/codes" "k" \
        "$work/acked" >/dev/null 2>&1 &
    load=$!
    pids="$pids $load"
    sleep "$(awk "BEGIN { print $secs / 2 }")"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    wait "$load" 2>/dev/null || true
    serve restarted "$db"
    "$data" entries "$db" >"$work/entries"
    stop "$pid"
    cat "$work"/acked.* 2>/dev/null | awk -v kind="$kind" '
        FILENAME == ARGV[1] { seen[$2]++; kept[$0] = 1; next }
        { acked++; if (!($0 in kept)) lost++; if (seen[$2] > 1) twice++ }
        END { printf "kill %s %d %d %d\n", kind, acked, lost, twice }
    ' "$work/entries" - >>"$figures"
    rm -f "$work"/acked.*
}

# What others wrote is on disk before durable writes are timed, so that they
# do not wait behind it.
settle() {
    sync
    if [ "$1" = postgresql ]; then psql -q "$SUIRAN_PG_URL" -c CHECKPOINT >/dev/null; fi
}

# The most any page can be answered at.
start bare "$bare" || exit 1
for c in $connections; do measure bare.text "$c" "$url"; done
stop "$pid"

fresh postgresql probe
if start probe "$homepage" --listen 127.0.0.1:0 --database "$db"; then
    stop "$pid"
    kinds="sqlite postgresql"
else
    echo "so the home page is measured on SQLite alone" >&2
    kinds=sqlite
fi
for kind in sqlite postgresql; do
    served=""
    case " $kinds " in *" $kind "*) served=yes ;; esac
    if [ -n "$served" ]; then
        hall "$kind" "${kind}_1k" 1000
        # Memory first, on a server that has served nothing yet.
        serve memory "$db"
        residentAfter 1000
        before=$resident
        residentAfter 99000
        echo "memory $kind $before $resident" >>"$figures"
        stop "$pid"

        serve reads "$db"
        for c in $connections; do
            measure "$kind.home" "$c" "$url"
            measure "$kind.results" "$c" "${url}results?page=1"
            measure "$kind.api" "$c" "${url}api/results"
        done
        # The last page of 1,000 entries, against page 2,000 of 100,000.
        measure "$kind.deep" 8 "${url}results?page=20"
        measure "$kind.apideep" 8 "${url}api/results?offset=950"
        stop "$pid"
        thousand=$db
    fi

    # The most durable writes the database takes from one server, and right
    # after them the registrations, on the hall of fame of 1,000 entries.
    fresh "$kind" bare
    settle "$kind"
    start bare "$bare" "$db" || exit 1
    for c in $connections; do measure "bare.$kind" "$c" "$url"; done
    stop "$pid"
    [ -n "$served" ] || continue
    if [ -n "$limit" ]; then
        serve registrations "$thousand"
        for c in $connections; do
            measure "$kind.register" "$c" "$url" bench/homepage/register.lua "$work/codes" "r$c"
        done
        stop "$pid"
    fi

    hall "$kind" "${kind}_100k" 100000
    settle "$kind"
    serve reads "$db"
    measure "$kind.100k.home" 8 "$url"
    measure "$kind.100k.results" 8 "${url}results?page=1"
    measure "$kind.100k.api" 8 "${url}api/results"
    measure "$kind.100k.deep" 8 "${url}results?page=2000"
    measure "$kind.100k.apideep" 8 "${url}api/results?offset=99950"
    stop "$pid"

    killTest "$kind"
done
echo "load $(cut -d' ' -f1-3 /proc/loadavg)" >>"$figures"

awk -v secs="$secs" -v limit="$limit" -f bench/homepage/tables.awk "$figures"
