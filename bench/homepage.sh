#!/bin/sh
# Measures the game's home page on loopback with wrk, in one run beside the
# limits of this machine: a bare HTTP server (Boost Beast, as the home page
# uses) answering a constant text,
# and the same server making one bare durable insert per request into SQLite
# and into PostgreSQL. Prints the figures and the goals as tables.
# Usage: sh bench/homepage.sh   (about five minutes)
#   HOMEBENCH_SECONDS  seconds of load behind each figure, 4 by default
#   HOMEBENCH_SERVER   another build of the server to measure instead of
#                      the one built here
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

secs=${HOMEBENCH_SECONDS:-4}
half=$(((secs + 1) / 2))
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
# The same for the connections of one address: wrk's and the idle ones held
# beside one client's reads all come from 127.0.0.1.
perAddress=""
if "$homepage" --help | grep -q -- --connections-per-address; then
    perAddress="--connections-per-address 0"
fi
idle=2000
# Both ends of every idle connection are descriptors of this machine.
ulimit -n $((2 * idle + 1024)) 2>/dev/null || echo "only $(ulimit -n) open files: fewer idle connections held" >&2

# Starts a server in the background and waits for the address it prints:
# sets $pid and $url. Fails with the server's complaint when it ends first.
start() {
    name=$1
    shift
    # There before the server opens it, for the first look below.
    : >"$work/$name.out"
    "$@" >>"$work/$name.out" 2>"$work/$name.err" &
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

serve() { start "$1" "$homepage" --listen 127.0.0.1:0 --database "$2" $limit $perAddress || exit 1; }

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

# What others wrote is on disk before durable writes are timed, so that they
# do not wait behind it.
settle() {
    sync
    if [ "$1" = postgresql ]; then psql -q "$SUIRAN_PG_URL" -c CHECKPOINT >/dev/null; fi
}

# A hall of fame of N entries (0: none) in a new database, its tables made by
# the server itself, [HIDDEN] of them hidden: sets $db.
hall() {
    fresh "$1" "$2"
    serve tables "$db"
    stop "$pid"
    [ "$3" -eq 0 ] || "$data" seed "$db" "$3" "${4:-0}"
    settle "$1"
}

threads() { if [ "$1" -gt 1 ]; then echo 2; else echo 1; fi; }

# One wrk run of half the time: CONNECTIONS LABEL URL [SCRIPT ARGUMENT...];
# notes "LABEL CONNECTIONS REQUESTS SECONDS P50 P99 FAILED".
measure() {
    conns=$1 label=$2 target=$3
    shift 3
    script=bench/homepage/report.lua
    if [ $# -gt 0 ]; then
        script=$1
        shift
    fi
    wrk -t"$(threads "$conns")" -c"$conns" -d"${half}s" --timeout 5s -s "$script" "$target" -- "$@" \
        >"$work/wrk.out" 2>&1 || true
    sed -n "s/^figures /$label $conns /p" "$work/wrk.out" >>"$figures"
}

# Measures each "LABEL URL [SCRIPT ARGUMENT...]" at CONNECTIONS, then again in
# the reverse order (A B C C B A): whatever else the machine does meanwhile
# weighs alike on the figures held against each other.
mirrored() {
    conns=$1 words=$IFS
    shift
    backwards=""
    for run in "$@"; do
        # shellcheck disable=SC2086
        measure "$conns" $run
        backwards="$run|$backwards"
    done
    IFS='|'
    # shellcheck disable=SC2086
    set -- $backwards
    IFS=$words
    for run in "$@"; do
        # shellcheck disable=SC2086
        measure "$conns" $run
    done
}

# Holds $idle connections to URL that send nothing, in the background, until
# released: sets $holder, once they are all open (or as many as would open).
hold() {
    : >"$work/held"
    python3 -c '
import socket, sys, time
host, port = sys.argv[1].split("/")[2].split(":")
held = []
for _ in range(int(sys.argv[2])):
    try:
        held.append(socket.create_connection((host, int(port))))
    except OSError:
        break
open(sys.argv[3], "w").write("%d\n" % len(held))
time.sleep(600)
' "$1" "$idle" "$work/held" &
    holder=$!
    pids="$pids $holder"
    while [ ! -s "$work/held" ] && kill -0 "$holder" 2>/dev/null; do sleep 0.05; done
    echo "held $(cat "$work/held")" >>"$figures"
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
    serve killed "$db"
    wrk -t2 -c8 -d"${secs}s" --timeout 5s -s bench/homepage/register.lua "$url" -- "$work/codes" "$work/acked" \
        >/dev/null 2>&1 &
    load=$!
    pids="$pids $load"
    sleep "$half"
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

fresh postgresql probe
if start probe "$homepage" --listen 127.0.0.1:0 --database "$db"; then
    stop "$pid"
    kinds="sqlite postgresql"
else
    echo "so the home page is measured on SQLite alone" >&2
    kinds=sqlite
fi

# The constant text, the most any page can be answered at: measured beside
# the reads of each database.
start text "$bare" || exit 1
text=$url textPid=$pid
register="bench/homepage/register.lua $work/codes"
for kind in sqlite postgresql; do
    served=""
    case " $kinds " in *" $kind "*) served=yes ;; esac
    if [ -n "$served" ]; then
        hall "$kind" "${kind}_1k" 1000
        small=$db
        # Memory first, on a server that has served nothing yet.
        serve memory "$small"
        residentAfter 1000
        before=$resident
        residentAfter 99000
        echo "memory $kind $before $resident" >>"$figures"
        stop "$pid"

        smallDb=$small
        serve small "$small"
        small=$url smallPid=$pid
        for c in $connections; do
            mirrored "$c" "$kind.text $text" "$kind.home $small" "$kind.results ${small}results?page=1" \
                "$kind.api ${small}api/results"
        done

        # One client's reads of the home page alone and beside idle
        # connections, in the order alone, idle, idle, alone.
        start idle "$homepage" --listen 127.0.0.1:0 --database "$smallDb" $limit $perAddress || exit 1
        idlePid=$pid
        measure 1 "$kind.alone" "$url"
        hold "$url"
        measure 1 "$kind.idle" "$url"
        measure 1 "$kind.idle" "$url"
        stop "$holder"
        measure 1 "$kind.alone" "$url"
        stop "$idlePid"
    fi

    # The most durable writes the database takes from one server, against
    # the registrations, on a hall of fame of 1,000 entries of their own.
    registering=""
    if [ -n "$served" ] && [ -n "$limit" ]; then
        hall "$kind" "${kind}_registrations" 1000
        serve registrations "$db"
        registering="$kind.register $url $register" registeringPid=$pid
    fi
    fresh "$kind" bare
    settle "$kind"
    start insert "$bare" "$db" || exit 1
    insert=$url insertPid=$pid
    for c in $connections; do
        mirrored "$c" "$kind.insert $insert" ${registering:+"$registering"}
    done
    stop "$insertPid"
    [ -z "$registering" ] || stop "$registeringPid"
    [ -n "$served" ] || continue

    # The same reads with 100,000 entries, against the last page of 1,000
    # for page 2,000.
    hall "$kind" "${kind}_100k" 100000
    serve large "$db"
    large=$url
    # Each: what, its address at 1,000 entries, at 100,000 when not the same.
    for read in "home" "results results?page=1" "deep results?page=20 results?page=2000" \
        "api api/results" "apideep api/results?offset=950 api/results?offset=99950"; do
        # shellcheck disable=SC2086
        set -- $read ""
        mirrored 8 "$kind.1k.$1 $small$2" "$kind.100k.$1 $large${3:-$2}"
    done
    stop "$pid"

    # The last page again with a thousand of the 100,000 hidden: the ranks
    # close up behind them without a count of the table.
    hall "$kind" "${kind}_hidden" 100000 1000
    serve hidden "$db"
    mirrored 8 "$kind.1k.hidden ${small}results?page=20" "$kind.100k.hidden ${url}results?page=1980"
    stop "$pid"
    stop "$smallPid"

    killTest "$kind"
done
stop "$textPid"
echo "load $(cut -d' ' -f1-3 /proc/loadavg)" >>"$figures"

awk -v secs="$secs" -v limit="$limit" -f bench/homepage/tables.awk "$figures"
