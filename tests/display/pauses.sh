#!/bin/sh
# Guards against clicks and keys made during the splash hold or a winning
# flash being handled in the middle of the pause (a Stop or a second Start
# run mid-flash, as QGuiApplication::sync() did on X11), lost, or handled out
# of order: on a real X server with a window manager, xdotool clicks and
# types while the game holds still, and the game's log shows what it handled
# and when. Usage: pauses.sh <display driver>
set -u
driver=$1

. "$(dirname "$0")/display.sh"

QT_QPA_PLATFORM=xcb "$driver" >"$work/log" 2>"$work/err" &
started $!

# --- The splash hold at start-up: a click on the splash and a key.
await "hold-start [0-9]* shown frmSplash" 100 || fail "the splash hold never began"
splash=$(sed -n 's/.*hold-start [0-9]* shown .*frmSplash:\([0-9]*\).*/\1/p' "$work/log" | head -n1)
[ -n "$splash" ] || fail "no splash on screen during its hold"
sleep 0.3
xdotool mousemove --window "$splash" 40 40 click 1 key space
await "^[0-9]* main " 100 || fail "the slot machine never came"
hold=$(awk '/hold-begin/ { s = $1 } /hold-end/ && s != "" { print $1 - s; exit }' "$work/log")
[ "$hold" -ge 2000 ] || fail "splash held $hold ms"
awk '/hold-start/ { h = 1 } /hold-end/ { h = 0 } /input/ && h { bad = 1 } END { exit bad }' "$work/log" \
    || fail "input was handled during the splash hold"
echo "splash held $hold ms; nothing handled meanwhile"

set -- $(grep "^[0-9]* main " "$work/log" | head -n1)
main=$3; startX=$5; startY=$6; stop1X=$8; stop1Y=$9; shift 9
stop2X=$2; stop2Y=$3; stop3X=$5; stop3Y=$6
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
sleep 0.5
# The three Stops are clicked in one go, at places on the screen.
xdotool mousemove --window "$main" 0 0
eval "$(xdotool getmouselocation --shell)"

# --- A winning spin: the driver holds the reels where the three Stops make
# a line (the count of spins is bounded so a fault shows).
won=""
for attempt in $(seq 1 ${SPINS:-5}); do
    before=$(wc -l <"$work/log")
    click "$startX" "$startY"
    n=0
    until tail -n +"$((before + 1))" "$work/log" | grep -q "reels held"; do
        n=$((n + 1)); [ "$n" -gt 50 ] && fail "the reels were never held for a line"
        sleep 0.1
    done
    xdotool mousemove "$((X + stop1X))" "$((Y + stop1Y))" click 1 \
            mousemove "$((X + stop2X))" "$((Y + stop2Y))" click 1 \
            mousemove "$((X + stop3X))" "$((Y + stop3Y))" click 1
    sleep 0.35
    if tail -n +"$((before + 1))" "$work/log" | grep -Eq "hold-start (19[0-9]|20[0-9]) "; then
        # The flash is under way: Start, where the blank button stands now,
        # then the first Stop.
        click "$startX" "$startY"
        click "$stop1X" "$stop1Y"
        won=$before
        break
    fi
    sleep 0.2
    grep " state " "$work/log" | tail -n1 | grep -q "running 000" || fail "a click on a Stop was lost"
done
[ -n "$won" ] || fail "no line came up in ${SPINS:-5} spins"
sleep 2

tail -n +"$((won + 1))" "$work/log" >"$work/flash"
flashes=$(grep -c " flash " "$work/flash")
[ "$flashes" -eq 6 ] || fail "$flashes flashes for one line"
after=$(awk '/hold-end/ { n = NR } END { print n }' "$work/flash")
# From the first step of the flash to the end of the last, nothing is handled,
# between the steps either.
head -n "$after" "$work/flash" | awk '/hold-start/ { h = 1 } /input/ && h { bad = 1 } END { exit bad }' \
    || fail "a click was handled in the middle of the flash"
presses=$(tail -n +"$after" "$work/flash" | grep -c "input press frmMain")
[ "$presses" -eq 2 ] || fail "$presses of the 2 clicks made during the flash were handled after it"
# The state as the winning spin ran, before its flash.
set -- $(awk '/hold-start/ { exit } / state / { s = $0 } END { print s }' "$work/flash")
spinsBefore=$4; ryoBefore=$6
set -- $(grep " state " "$work/log" | tail -n1)
spins=$4; ryo=$6; tick=$8; running=${10}
# Start handled first (a new spin, its fee taken), then the Stop of reel 1.
[ "$running" = "011" ] || fail "after the flash the reels run as $running, not 011: clicks lost or out of order"
[ "$tick" -eq 1 ] || fail "no spin runs after the flash"
[ "$spins" -eq "$((spinsBefore + 1))" ] || fail "$spins days after the flash, expected $((spinsBefore + 1))"
# The line is paid once; the new spin took its fee.
line=$(grep -m1 " flash " "$work/flash" | awk '{ print substr($3, 1, 1) }')
case $line in a) pays=500 ;; b) pays=300 ;; *) pays=100 ;; esac
[ "$ryo" -eq "$((ryoBefore + pays - 5))" ] || fail "$ryo ryo after the flash, expected $((ryoBefore + pays - 5))"
echo "flash: 6 toggles, nothing handled meanwhile, both clicks handled afterwards in order (day $spins, $ryo ryo)"
exit 0
