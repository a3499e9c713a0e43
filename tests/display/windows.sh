#!/bin/sh
# Every window of the game on a real X server with a window manager, looked
# at from outside as the desktop sees it: each window's frame centred on the
# screen to a pixel; the title and version windows with a border, no title
# bar and no title in _NET_WM_NAME or WM_NAME; the rules window with its title
# and close box; no window resizable; and the keyboard focus going round each
# window's controls in their Tab order. Where openbox draws what it likes (a
# minimise box whatever the hints say), the request is checked, not openbox.
# Runs in about ten seconds: the title's hold is the game's own two seconds,
# begun once the title has been looked at.
# Usage: windows.sh <display driver>
set -u
driver=$1

. "$(dirname "$0")/display.sh"

mkfifo "$work/in"
QT_QPA_PLATFORM=xcb "$driver" windows <"$work/in" >"$work/log" 2>"$work/err" &
started $!
exec 4>"$work/in"

set -- $(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
screenW=$1; screenH=$2
failures=0
problem() { echo "  $*"; failures=$((failures + 1)); }

# The window's frame as the window manager draws it: left top width height.
frameOf() {
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    [ -n "$extents" ] || return 1
    xwininfo -id "$1" | awk -v e="$extents" '
        /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { split(e, m, " "); print x - m[1], y - m[3], w + m[1] + m[2], h + m[3] + m[4], m[1], m[2], m[3], m[4] }'
}

# Waits until the window manager has framed the window.
framed() {
    n=0
    until xwininfo -id "$1" 2>/dev/null | grep -q IsViewable && frameOf "$1" >/dev/null; do
        n=$((n + 1)); [ "$n" -gt 50 ] && return 1
        sleep 0.1
    done
    sleep 0.2
}

# One property's value as xprop prints it after "= ".
property() {
    xprop -id "$1" "$2" | sed -n 's/^[^=]*= //p'
}

# Each check: the window's name, its id, and what else it is checked against.
checkCentred() {
    local name=$1 win=$2
    set -- $(frameOf "$win")
    [ $# -eq 8 ] || { problem "$name: no frame extents"; return; }
    dx=$(( 2 * $1 + $3 - screenW )); dy=$(( 2 * $2 + $4 - screenH ))
    # Twice the offset of the frame's centre from the screen's: within a pixel.
    if [ "${dx#-}" -gt 2 ] || [ "${dy#-}" -gt 2 ]; then
        problem "$name: frame at $1,$2 ${3}x$4 is off centre by $((dx / 2)),$((dy / 2))"
    fi
    echo "  $name: frame $1,$2 ${3}x$4, extents $5 $6 $7 $8, centred"
}

checkFixedSize() {
    local name=$1 win=$2
    xprop -id "$win" WM_NORMAL_HINTS | awk '
        /minimum size/ { min = $NF " " $(NF - 2) } /maximum size/ { max = $NF " " $(NF - 2) }
        END { exit !(min != "" && min == max) }' || problem "$name can be resized"
}

# Motif hints: flags, functions, decorations. xprop writes them in hex,
# which the shell reads (the awk of Debian 13 reads no hex).
motif() {
    set -- $(property "$1" _MOTIF_WM_HINTS | tr -d ,)
    [ $# -ge 3 ] && printf '%d %d %d' "$1" "$2" "$3"
}

checkBorderWithoutTitle() {
    local name=$1 win=$2
    set -- $(motif "$win")
    # Decorations: the border (2) alone; functions: moving (4) alone.
    [ "${3:-}" = 2 ] || problem "$name asks for decorations ${3:-none}, not a border alone"
    [ "${2:-}" = 4 ] || problem "$name allows functions ${2:-all}, not moving alone"
    set -- $(frameOf "$win")
    [ $# -eq 8 ] || { problem "$name: no frame extents"; return; }
    [ "$5" -gt 0 ] && [ "$7" = "$5" ] || problem "$name: frame extents $5 $6 $7 $8, not an even border"
    [ -z "$(property "$win" _NET_WM_NAME | tr -d '"')" ] || problem "$name has _NET_WM_NAME $(property "$win" _NET_WM_NAME)"
    [ -z "$(property "$win" WM_NAME | tr -d '"')" ] || problem "$name has WM_NAME $(property "$win" WM_NAME)"
}

checkTitleAndCloseBox() {
    local name=$1 win=$2 wanted=$3
    set -- $(motif "$win")
    # Decorations: title (8); functions: close (32).
    [ $(( ${3:-0} & 8 )) -ne 0 ] || problem "$name asks for no title bar"
    [ $(( ${2:-0} & 32 )) -ne 0 ] || problem "$name has no close box"
    [ $(( ${2:-0} & 8 )) -eq 0 ] && [ $(( ${2:-0} & 16 )) -eq 0 ] || problem "$name offers to minimise or maximise"
    title=$(property "$win" _NET_WM_NAME | tr -d '"')
    [ "$title" = "$wanted" ] || problem "$name's title is '$title', not '$wanted'"
}

# Presses Tab so many times in the window and says where the focus went.
focusRound() {
    from=$(wc -l <"$work/log")
    xdotool windowactivate --sync "$1" >/dev/null 2>&1
    sleep 0.2
    first=$(grep "^[0-9]* focus " "$work/log" | tail -n1 | awk '{ print $3 }')
    i=0
    while [ "$i" -lt "$2" ]; do xdotool key Tab; sleep 0.1; i=$((i + 1)); done
    sleep 0.2
    echo "$first $(tail -n +"$((from + 1))" "$work/log" | awk '/ focus / { print $3 }' | tr '\n' ' ')" \
        | awk '{ for (i = 1; i <= NF; i++) if (i == 1 || $i != $(i - 1)) printf "%s%s", (i > 1 ? " " : ""), $i; print "" }'
}

checkFocus() {
    local name=$1 win=$2 expected=$3
    got=$(focusRound "$win" "$(echo "$expected" | awk '{ print NF - 1 }')")
    [ "$got" = "$expected" ] || problem "$name: Tab goes $got, not $expected"
}

# --- The title window, during its hold at start-up.
await "hold-start [0-9]* shown frmSplash" 100 || fail "the title's hold never began"
win=$(sed -n 's/.*hold-start [0-9]* shown .*frmSplash:\([0-9]*\).*/\1/p' "$work/log" | head -n1)
name=frmSplash
[ -n "$win" ] || fail "no title window during its hold"
framed "$win" || fail "the title window was never framed"
checkCentred "$name" "$win"
checkFixedSize "$name" "$win"
checkBorderWithoutTitle "$name" "$win"
# The title's hold waits for this before it begins.
echo next >&4

# --- Then every other window, one after another.
for expected in frmMain frmIvn01 frmReadme frmVer frmGover1 frmGover2 frmGover3; do
    await "window $expected " 100 || fail "$expected never opened"
    win=$(sed -n "s/.* window $expected \([0-9]*\)$/\1/p" "$work/log" | tail -n1)
    name=$expected
    framed "$win" || fail "$name was never framed"
    checkCentred "$name" "$win"
    checkFixedSize "$name" "$win"
    case $name in
        frmMain) checkTitleAndCloseBox "$name" "$win" "$(say スロットマシン "Slot Machine")"
                 checkFocus "$name" "$win" "picSlot2 picSlot1 picSlot3 cmdStop1 cmdStop2 cmdStop3 cmdStart picSlot2" ;;
        frmIvn01) checkTitleAndCloseBox "$name" "$win" "$(say ？ "?")"
                  checkFocus "$name" "$win" "txtMsg cmdNext txtMsg" ;;
        frmReadme) checkTitleAndCloseBox "$name" "$win" "$(say ゲームの説明 Rules)" ;;
        frmVer) checkBorderWithoutTitle "$name" "$win" ;;
        frmGover1) checkTitleAndCloseBox "$name" "$win" "$(say あがり "Goal!")"
                   checkFocus "$name" "$win" "cmdEnd cmdReplay cmdEnd" ;;
        frmGover*) checkTitleAndCloseBox "$name" "$win" "$(say ゲームオーバー "Game Over")"
                   checkFocus "$name" "$win" "cmdEnd cmdReplay cmdEnd" ;;
    esac
    echo next >&4
done
await "windows done" 50 || fail "the driver did not finish"
[ "$failures" -eq 0 ] || fail "$failures checks failed"
echo "every window centred and framed as asked, the focus in Tab order"
exit 0
