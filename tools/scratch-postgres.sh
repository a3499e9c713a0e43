#!/bin/sh
# Runs a command beside a PostgreSQL server of its own: a fresh cluster in a
# temporary folder, listening on a free port of 127.0.0.1 only, run as an
# unprivileged user (PostgreSQL refuses to run as root, and CI runs as root),
# and stopped and removed when the command ends, passed or failed.
#
# The command finds the server in its environment:
#   SUIRAN_PG_URL   postgresql://suiran@127.0.0.1:PORT/suiran
#   PGPASSWORD      that role's password (never on a command line)
#   SUIRAN_PG_CTL   a command that stops ("$SUIRAN_PG_CTL stop") and starts
#                   ("$SUIRAN_PG_CTL start") the same server again
#
# Usage: sh tools/scratch-postgres.sh command [argument ...]
# Exits 77 (a skipped test to CTest) when PostgreSQL is not installed.
set -u

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
if [ -z "$bin" ] || [ ! -x "$bin/postgres" ]; then
    echo "SKIPPED: PostgreSQL is not installed (tools/setup.sh installs it)"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/suiran-pg.XXXXXX")
if [ "$(id -u)" -eq 0 ]; then
    # The server's own files belong to nobody, and so does the server.
    chown nobody:nogroup "$work"
    asServer="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
else
    asServer=""
fi

stopServer() {
    $asServer "$bin/pg_ctl" -D "$work/data" -m immediate -w stop >/dev/null 2>&1
    # Whatever a failed start left running goes too.
    if [ -f "$work/data/postmaster.pid" ]; then
        kill -9 "$(head -n1 "$work/data/postmaster.pid")" 2>/dev/null
    fi
}
cleanup() {
    stopServer
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Killed outright (a test's time run out), this script runs no trap: a
# watchdog in a session of its own then stops the server and removes the
# folder. After a normal end it finds nothing left to do.
setsid sh -c "while kill -0 $$ 2>/dev/null; do sleep 1; done
    if [ -f '$work/data/postmaster.pid' ]; then kill -9 \$(head -n1 '$work/data/postmaster.pid') 2>/dev/null; fi
    rm -rf '$work'" </dev/null >/dev/null 2>&1 &

freePort() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

od -An -tx1 -N16 /dev/urandom | tr -d ' \n' >"$work/password"
chmod 644 "$work/password"
$asServer "$bin/initdb" -D "$work/data" -U suiran --auth=scram-sha-256 --pwfile="$work/password" \
    -E UTF8 --locale=C.UTF-8 >"$work/initdb.log" 2>&1 || { cat "$work/initdb.log"; exit 1; }

# The port is free when asked for; another program may take it before the
# server binds it, so a failed start tries another.
started=""
for attempt in 1 2 3 4 5; do
    port=$(freePort)
    cat >"$work/ctl" <<CTL
#!/bin/sh
# Stops or starts the scratch server: ctl stop | ctl start
$asServer "$bin/pg_ctl" -D "$work/data" -l "$work/server.log" -w -m fast \\
    -o "-c listen_addresses=127.0.0.1 -p $port -k $work" "\$1" >/dev/null
CTL
    chmod 755 "$work/ctl"
    if sh "$work/ctl" start; then
        started=yes
        break
    fi
done
[ -n "$started" ] || { echo "PostgreSQL did not start:"; cat "$work/server.log"; exit 1; }

PGPASSWORD=$(cat "$work/password")
export PGPASSWORD
"$bin/createdb" -h 127.0.0.1 -p "$port" -U suiran suiran || exit 1

SUIRAN_PG_URL="postgresql://suiran@127.0.0.1:$port/suiran"
SUIRAN_PG_CTL="sh $work/ctl"
export SUIRAN_PG_URL SUIRAN_PG_CTL
"$@"
