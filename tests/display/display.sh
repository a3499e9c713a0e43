# Sourced by the real-display tests and bench/run.sh: a virtual X screen of
# its own with a window manager, a scratch folder, and what every such test
# needs.
# After sourcing: $work, $DISPLAY, and the functions below; the driver's log
# goes to "$work/log". Everything started is stopped on exit.

for tool in Xvfb xdotool openbox xprop xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (tools/setup.sh installs xvfb, x11-utils, xdotool and openbox)"
        exit 77
    fi
done

# xprop writes a window's texts in the caller's locale (in the C locale, or
# with none, Japanese comes out as octal escapes): read them in UTF-8 whatever
# locale the game itself is run under.
xprop() {
    LC_ALL=C.UTF-8 command xprop "$@"
}

# The game speaks English where the caller's desktop asks for it first (the
# _en variants of the tests set LANGUAGE=en LANG=en_US.UTF-8), Japanese
# otherwise: `say <Japanese> <English>` gives the text to expect.
case "${LANGUAGE:-}" in en*) english=true ;; *) english=false ;; esac
say() { if $english; then printf '%s' "$2"; else printf '%s' "$1"; fi; }

work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
# dash runs no EXIT trap when a signal ends it: turn them into exits.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 141' PIPE
fail() {
    echo "FAIL: $*"
    echo "--- game log (first and last lines)"; head -n 20 "$work/log"; echo ...; tail -n 20 "$work/log"
    exit 1
}
# Waits up to $2 tenths of a second for a log line matching $1.
await() {
    n=0
    while ! grep -q "$1" "$work/log" 2>/dev/null; do
        n=$((n + 1)); [ "$n" -gt "$2" ] && return 1
        sleep 0.1
    done
}
# Records the PID of something run in the background, to be stopped on exit.
started() {
    pids="$pids $1"
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
started $!
n=0
while [ ! -s "$work/display" ]; do n=$((n + 1)); [ "$n" -gt 100 ] && fail "Xvfb did not start"; sleep 0.1; done
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
openbox >/dev/null 2>&1 &
started $!
sleep 1
