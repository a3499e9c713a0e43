#!/bin/sh
# A whole game by keyboard alone, as a screen reader hears it over AT-SPI: on
# a real X server with a window manager, a D-Bus session and the
# accessibility registry, xdotool presses keys and listen.py records every
# focus move, name and description change, window and announcement the game
# sends. A day lost, a line, a visitor, each ending and Replay; each step
# checks what was heard, and that nothing is sent while the reels turn.
# Usage: screenreader.sh <display driver>
set -u
driver=$1

for tool in dbus-daemon /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null 2>&1 \
        || { echo "SKIPPED: $tool is missing (tools/setup.sh installs dbus-daemon and at-spi2-core)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null \
    || { echo "SKIPPED: no pyatspi (tools/setup.sh installs python3-pyatspi)"; exit 77; }

. "$(dirname "$0")/display.sh"

# The game runs in the caller's language where that is English; the scripts
# and tools read UTF-8 whatever the caller's locale.
gameLocale="LANG=C.UTF-8 LC_ALL=C.UTF-8"
$english && gameLocale="LANG=${LANG:-} LC_ALL="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# A session bus of our own, and the accessibility bus and registry on it.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/buspid" \
    || fail "no D-Bus session"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
started "$(head -n1 "$work/buspid")"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
started $!
/usr/bin/python3 "$(dirname "$0")/listen.py" "$(basename "$driver")" >"$work/heard" 2>"$work/listen.err" &
started $!
n=0
until grep -qs '^listening' "$work/heard"; do
    n=$((n + 1)); [ "$n" -gt 100 ] && fail "the listener never started: $(cat "$work/listen.err")"
    sleep 0.1
done

mkfifo "$work/in"
# shellcheck disable=SC2086
env $gameLocale QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$driver" keyboard <"$work/in" >"$work/log" 2>"$work/err" &
game=$!
started $game
exec 4>"$work/in"

# What was heard from the mark on.
mark() { from=$(wc -l <"$work/heard"); }
since() { tail -n +"$((from + 1))" "$work/heard"; }
# Waits up to ten seconds for a line heard since the mark: the pauses of a
# line and of the winning ending come first.
hear() {
    n=0
    until since | grep -q -- "$1"; do
        n=$((n + 1)); [ "$n" -gt 100 ] && { echo "--- heard since the step began"; since; fail "never heard: $1"; }
        sleep 0.1
    done
}
# A line of the listener: event|role|name|description|detail.
focusOn() { hear "^focus:|$1|$2|"; }
# News: on Qt 6.4 a notification shown; from Qt 6.8 an announcement event.
announced() { hear "^object:state-changed:showing|notification|$1|.*|1$\|^object:announcement|.*|$1$"; }
tell() { echo "$1" >&4; await "did $1" 50 || fail "the driver did not take '$1'"; }
key() { xdotool key "$@"; }
# Waits for the reels to be held where the script aimed them.
held() {
    n=0
    until [ "$(grep -c 'reels held' "$work/log")" -gt "$1" ]; do
        n=$((n + 1)); [ "$n" -gt 50 ] && fail "the reels were never held"
        sleep 0.1
    done
}
spins=0

mark
await "^[0-9]* main " 100 || fail "the slot machine never came"
# The window opens on the middle reel, the first of its Tab order.
opening="$(say "中のリール 絵なし" "Middle reel no picture")"
focusOn label "$opening"
echo "opens on: $opening"

# --- A day by keyboard: to 始, Space, then Enter on each reel as the focus
# goes from one to the next; the reels stop on frame 2, no line.
tell "aim 2"
mark
key shift+Tab
start="$(say "始" "Start")"
focusOn "push button" "$start"
hear "^focus:|push button|$start|$(say "Space か Enter で一日を始めます" "Space or Enter starts a day")|"
mark
key space
announced "$(say "1日目、残り364日。回転中。所持金 995両" "Day 1, 364 days left. Spinning. Money 995 ryo")"
focusOn label "$(say "左のリール 回転中" "Left reel Spinning")"
# Once the start is told (and its notification put away again), nothing
# more until a key, however the reels turn.
since | grep -q '^object:announcement|' || hear "^object:state-changed:showing|notification|$(say "1日目" "Day 1,").*|0$"
mark
held $spins; spins=$((spins + 1))
[ -z "$(since)" ] || fail "sent while the reels turned: $(since | head -n 3)"
echo "a spin: told once, then nothing while the reels turned"
key Return
announced "$(say "左のリール 赤い棒" "Left reel red bar")"
focusOn label "$(say "中のリール 回転中" "Middle reel Spinning")"
key Return
announced "$(say "中のリール 提灯" "Middle reel lantern")"
focusOn label "$(say "右のリール 回転中" "Right reel Spinning")"
mark
key Return
focusOn "push button" "$start"
announced "$(say "右のリール 提灯" "Right reel lantern")"
announced "$(say "そろいませんでした。所持金 995両" "No line. Money 995 ryo")"
# Focus before news: the screen reader's focus speech would cut it short.
miss="$(say "そろいません" "No line")"
since | awk -F'|' -v miss="$miss" '/^focus:/ { f = NR } ($2 == "notification" && index($3, miss) == 1 && /\|1$/) || (/^object:announcement\|/ && index($0, miss)) { n = NR } END { exit !(f < n) }' \
    || fail "the news of the spin came before the focus went back to 始"
echo "a day: 4 keys; each reel's stop and the miss announced, the focus back on 始"

# --- A line, with the number keys from 始.
tell "aim 0"
mark
key space
announced "$(say "2日目、残り363日。回転中。所持金 990両" "Day 2, 363 days left. Spinning. Money 990 ryo")"
held $spins; spins=$((spins + 1))
key 1 2 KP_3
announced "$(say "右のリール 顔" "Right reel face")"
announced "$(say "顔が三つ そろいました。500両 獲得。所持金 1490両" "Three of face in a line. 500 ryo won. Money 1490 ryo")"
focusOn "push button" "$start"
echo "a line: stopped with 1, 2 and the keypad's 3; the payout announced"

# --- A visitor: the window reads itself, Escape closes it.
tell "visitor 1"
mark
key space
hear "^window:activate|dialog|$(say "？" "?")|$(say "タチバ「お手前の藩名は？ なに！浪人か！ 今回は50両出せば､ 見逃してやる！」 閉じるボタンか Escape で閉じます" "Tachiba: “Your domain, sir? What! A ronin! Hand over 50 ryo and this time I'll look away!” Close with the Close button or Escape")|"
announced "$(say "客が来ました。タチバ。「.*」50両を取られました。所持金 1440両" "A visitor: Tachiba. “.*” 50 ryo taken. Money 1440 ryo")"
mark
key Escape
focusOn "push button" "$start"
echo "a visitor: read as the window opened, announced, closed with Escape"

# --- Each ending, then Replay or End. The ending window reads itself and
# says which button holds the focus; so does the announcement.
ending() {
    mark
    key space
    held $spins; spins=$((spins + 1))
    key 1 2 3
    hear "^window:activate|dialog|$1|$2"
    focusOn "push button" "$quit"
    hear "^focus:|push button|$quit|$(say "ゲームを終了します。Enter で押します" "Quits the game. Press with Enter")|"
    announced "$2.*"
}
replay() {
    mark
    key Tab
    focusOn "push button" "$(say "もう一度" "Play again")"
    key space
    focusOn "push button" "$start"
}
quit="$(say "終了" "Quit")"
tell "aim 0"; tell "ryo 4600"
focusLine="$(say "「終了」ボタンにフォーカスがあります。Enter でゲームを終了します。" "The Quit button has the focus: Enter quits the game.")"
digits="[0-9] [0-9] [0-9] [0-9] [0-9] [0-9] [0-9] [0-9]"
ending "$(say "あがり" "Goal!")" "$(say "お前さんのおかげで 翠嵐塾は 作れそうだよ！ あたなのスコアーは4日です。 パスワード $digits。Ctrl+C でコピーできます。.*$focusLine" "Thanks to you, our school can be built! Your score: 4 days. Password $digits. Ctrl+C copies it..*$focusLine")"
mark
key ctrl+c
announced "$(say "パスワードをコピーしました" "Password copied")"
echo "the goal: its words, days and code read digit by digit; Ctrl+C copies the code"
replay
echo "Replay: back on 始"

tell "aim 2"; tell "ryo 5"
ending "$(say "ゲームオーバー" "Game Over")" "$(say "金がなければしかたねえ 残念だが翠嵐塾は あきらめようぜ $focusLine" "No money, no hope. Sorry, but the school must wait. $focusLine")"
replay
echo "the money gone, and Replay"

tell "aim 2"; tell "days 364"
ending "$(say "ゲームオーバー" "Game Over")" "$(say "ソラさん、申しわけねーが 時間がなくなっちまった 翠嵐塾は はあきれめてくれ $focusLine" "Sorry, Sora, but we ran out of time. As for the school, let it go. $focusLine")"
key Return
n=0
while kill -0 "$game" 2>/dev/null; do
    n=$((n + 1)); [ "$n" -gt 30 ] && fail "Enter on 終了 did not end the game"
    sleep 0.1
done
# Its own end, and a clean one (the sanitizers report at exit).
wait "$game"; status=$?
[ "$status" -eq 0 ] || { cat "$work/err"; fail "the game ended with status $status"; }
echo "the year over; Enter on 終了 ends the game"
exit 0
