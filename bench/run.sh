#!/bin/sh
# Builds the benchmark and prints the game's figures beside a bare Qt window
# (one label, one 50 ms timer), each in a fresh process under Xvfb with a
# window manager. Usage: sh bench/run.sh   (takes about a minute and a half)
#                        sh bench/run.sh paint   (the start-up figure alone)
# RUNS sets how many starts of each are timed for the start-up figure (11).
set -eu
only=${1:-all}
runs=${RUNS:-11}
cd "$(dirname "$0")/.."
SUIRAN_SETUP=tests
. tools/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUIRAN_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target suiran_bench >/dev/null
bench=build-bench/bench/suiran_bench

# The display tests' own screen and window manager, and $work with them.
. tests/display/display.sh
export QT_QPA_PLATFORM=xcb

run() { "$bench" "$@" 2>/dev/null | grep -v '^qt\.' >>"$work/figures"; }
# Start-up to first paint: the same number of starts of each, alternating,
# each timed from just before it is launched; the medians count.
i=0
while [ "$i" -lt "$runs" ]; do
    for who in bare game; do run paint "$who" "$(date +%s%N)"; done
    i=$((i + 1))
done
[ "$only" = paint ] || for who in bare game; do
    run memory "$who"
    run idle "$who"
    run ticks "$who"
    run frame "$who"
done
[ "$only" = paint ] || run holds game

awk -v only="$only" '
function median(list, n,   i, j, t, a) {
    n = split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return a[int((n + 1) / 2)]
}
$1 == "paint" { paint[$2] = paint[$2] " " $3; next }
{ key = $1 "." $2; for (i = 3; i <= NF; i++) v[key, i - 2] = $i }
function row(what, game, bare, ratio, target, ok) {
    printf "| %s | %s | %s | %s | %s | %s |\n", what, game, bare, ratio, target, ok ? "met" : "NOT MET"
}
END {
    print "| Figure | Game | Bare window | Ratio / difference | Target | |"
    print "|---|---|---|---|---|---|"
    g = median(paint["game"]); b = median(paint["bare"]); n = split(paint["game"], runs, " ")
    row("Start to first paint (median of " n ")", sprintf("%.0f ms", g), sprintf("%.0f ms", b), sprintf("%.2fx", g / b), "<= 1.3x", g <= 1.3 * b)
    if (only == "paint") exit
    g = v["memory.game", 1] / 1024; b = v["memory.bare", 1] / 1024
    row("Peak memory, whole game", sprintf("%.1f MiB", g), sprintf("%.1f MiB", b), sprintf("%.2fx", g / b), "<= 1.5x", g <= 1.5 * b)
    d = (v["memory.game", 3] - v["memory.game", 2])
    row("Resident growth, Replays 10 to 1000", sprintf("%+d KiB", d), "", "", "flat", d < 1024)
    g = v["idle.game", 1]; b = v["idle.bare", 1]
    row("CPU, idle 10 s, Timer1 running", sprintf("%.3f %%", g), sprintf("%.3f %%", b), sprintf("%+.3f %%", g - b), "<= bare + 0.2 %", g <= b + 0.2)
    g = v["holds.game", 2]
    row("CPU during the splash hold", sprintf("%.3f %%", g), "", "", "<= 2 %", g <= 2)
    g = v["flash.game", 7]
    row("CPU during the win flash", sprintf("%.3f %%", g), "", "", "<= 2 %", g <= 2)
    g = v["pause.game", 2]
    row("CPU during the pause before the ending", sprintf("%.3f %%", g), "", "", "<= 2 %", g <= 2)
    g = v["ticks.game", 1]; b = v["ticks.bare", 1]
    row("Timer1 period, mean of 200 (spinning)", sprintf("%.2f ms", g), sprintf("%.2f ms", b), "", "50 +- 0.5 ms", g >= 49.5 && g <= 50.5)
    g = v["ticks.game", 2]; b = v["ticks.bare", 2]
    row("Timer1 period, p99 deviation", sprintf("%.2f ms", g), sprintf("%.2f ms", b), "", "<= 3 ms", g <= 3)
    g = v["frame.game", 1]; b = v["frame.bare", 1]
    row("One tick of reel frames, painted", sprintf("%.3f ms", g), sprintf("%.3f ms", b), sprintf("%.1fx", g / b), "<< 1 ms", g < 0.5)
    g = v["splash.game", 1]
    row("Splash hold", sprintf("%.1f ms", g), "", "", "2000 to 2050 ms", g > 2000 && g <= 2050)
    for (i = 1; i <= 6; i++) {
        g = v["flash.game", i]
        row("Flash step " i, sprintf("%.1f ms", g), "", "", "200 to 210 ms", g > 200 && g <= 210)
    }
    g = v["pause.game", 1]
    row("Pause before the winning ending", sprintf("%.1f ms", g), "", "", "2000 to 2050 ms", g > 2000 && g <= 2050)
}' "$work/figures"
