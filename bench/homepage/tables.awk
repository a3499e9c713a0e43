# The tables of bench/homepage.sh, from the lines it notes:
#   load L1 L5 L15                                      at the start and the end
#   LABEL CONNECTIONS REQUESTS SECONDS P50 P99 FAILED   one wrk run
#   memory KIND KIB_AFTER_1000 KIB_AFTER_100000
#   kill KIND ANSWERED_201 LOST TWICE
#   held N                                              idle connections held open
# A figure is taken over all the runs of its label: requests over seconds,
# the p50 weighed by requests, the highest p99. The constant text measured
# beside each database's reads also counts as the bare server's overall.
# Variables: secs (seconds of load behind each figure), limit (empty when
# registrations could not be measured).

function take(key) {
    ran[key] = 1
    requests[key] += $3
    seconds[key] += $4
    p50sum[key] += $5 * $3
    if ($6 > p99[key]) p99[key] = $6
    failed[key] += $7
}

$1 == "load" { load[++loads] = $2 ", " $3 ", " $4; next }
$1 == "memory" { before[$2] = $3; after[$2] = $4; next }
$1 == "kill" { acked[$2] = $3; lost[$2] = $4; twice[$2] = $5; next }
$1 == "held" { if (!held || $2 < held) held = $2; next }
{
    take($1 " " $2)
    if ($1 ~ /\.text$/) take("bare.text " $2)
}

function per(a, b) { return b > 0 ? a / b : 0 }
function rate(key) { return per(requests[key], seconds[key]) }
function thousands(n,   s) {
    s = sprintf("%d", n + 0.5)
    while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
    return s
}
function cell(key) {
    if (!(key in ran)) return "not measured"
    return sprintf("%s/s, %.2f / %.2f ms%s", thousands(rate(key)), per(p50sum[key], requests[key]),
                   p99[key], failed[key] ? sprintf(" (%d failed)", failed[key]) : "")
}
function clean(key) { return (key in ran) && failed[key] == 0 && requests[key] > 0 }
function mib(kib, kind) { return kind in kib ? sprintf("%.1f MiB", kib[kind] / 1024) : "not measured" }
function count(n, kind) { return kind in n ? n[kind] : "not measured" }
# One goal; `ratio` is a number, or "" when the goal is no ratio.
function goal(what, measured, figure, against, ratio, target, ok) {
    if (!measured)
        printf "| %s | not measured | | | %s | NOT MEASURED |\n", what, target
    else
        printf "| %s | %s | %s | %s | %s | %s |\n", what, figure, against,
            ratio == "" ? "" : sprintf("%.2fx", ratio), target, ok ? "met" : "NOT MET"
}

END {
    split("sqlite postgresql", kinds, " ")
    name["sqlite"] = "SQLite"; name["postgresql"] = "PostgreSQL"
    split("home results api register", reads, " ")
    request["home"] = "GET /"; request["results"] = "GET /results?page=1"
    request["api"] = "GET /api/results"; request["register"] = "POST /api/results"

    printf "Load average (1, 5, 15 min): %s at the start, %s at the end; %s s of load behind each figure.\n\n",
        load[1], load[2], secs
    print "Requests a second, p50 / p99 latency:"
    print ""
    print "| Server | Request | 1 connection | 8 connections | 64 connections |"
    print "|---|---|---|---|---|"
    printf "| Bare Beast HTTP server | constant text | %s | %s | %s |\n", cell("bare.text 1"), cell("bare.text 8"), cell("bare.text 64")
    for (k = 1; k <= 2; k++)
        printf "| Bare Beast HTTP server | one insert, %s | %s | %s | %s |\n", name[kinds[k]],
            cell(kinds[k] ".insert 1"), cell(kinds[k] ".insert 8"), cell(kinds[k] ".insert 64")
    for (k = 1; k <= 2; k++)
        for (r = 1; r <= 4; r++) {
            row = kinds[k] "." reads[r]
            printf "| Home page, %s, 1,000 entries | %s | %s | %s | %s |\n", name[kinds[k]], request[reads[r]],
                cell(row " 1"), cell(row " 8"), cell(row " 64")
        }

    split("home results deep api apideep hidden", scaled, " ")
    small["home"] = "GET /"; large["home"] = "GET /"
    small["results"] = "page 1"; large["results"] = "page 1"
    small["deep"] = "page 20, the last"; large["deep"] = "page 2,000"
    small["api"] = "/api/results"; large["api"] = "/api/results"
    small["apideep"] = "offset 950, the last 50"; large["apideep"] = "offset 99,950"
    small["hidden"] = "page 20, the last"; large["hidden"] = "page 1,980, the last, 1,000 hidden"
    if (limit == "")
        print "\nRegistrations are not measurable here: this server has no --registration-limit to turn its limit of registrations a minute from one address off, and wrk sends everything from one."
    print ""
    print "The same reads at 8 connections with 1,000 and with 100,000 entries:"
    print ""
    print "| Back end | 1,000 entries | | 100,000 entries | | Time ratio |"
    print "|---|---|---|---|---|---|"
    for (k = 1; k <= 2; k++)
        for (s = 1; s <= 6; s++) {
            a = kinds[k] ".1k." scaled[s] " 8"; b = kinds[k] ".100k." scaled[s] " 8"
            printf "| %s | %s | %s | %s | %s | %s |\n", name[kinds[k]], small[scaled[s]], cell(a), large[scaled[s]], cell(b),
                clean(a) && clean(b) ? sprintf("%.2fx", per(rate(a), rate(b))) : ""
        }

    print ""
    printf "GET / by one client, alone and beside %s idle connections (held open, sending nothing):\n", held
    print ""
    print "| Back end | Alone | Beside the idle connections | Ratio |"
    print "|---|---|---|---|"
    for (k = 1; k <= 2; k++) {
        a = kinds[k] ".alone 1"; b = kinds[k] ".idle 1"
        printf "| %s | %s | %s | %s |\n", name[kinds[k]], cell(a), cell(b),
            clean(a) && clean(b) ? sprintf("%.2fx", per(rate(b), rate(a))) : ""
    }

    print ""
    print "| Figure | SQLite | PostgreSQL |"
    print "|---|---|---|"
    printf "| Resident memory after 1,000 requests | %s | %s |\n", mib(before, "sqlite"), mib(before, "postgresql")
    printf "| Resident memory after 100,000 requests | %s | %s |\n", mib(after, "sqlite"), mib(after, "postgresql")
    printf "| Registrations answered 201 around the SIGKILL | %s | %s |\n", count(acked, "sqlite"), count(acked, "postgresql")
    printf "| Of those missing after the restart | %s | %s |\n", count(lost, "sqlite"), count(lost, "postgresql")
    printf "| Names there twice | %s | %s |\n", count(twice, "sqlite"), count(twice, "postgresql")

    print ""
    print "Goals, each against its limit measured beside it (8 connections):"
    print ""
    print "| Goal | Measured | Limit | Ratio | Target | |"
    print "|---|---|---|---|---|---|"
    for (k = 1; k <= 2; k++) {
        a = kinds[k] ".alone 1"; b = kinds[k] ".idle 1"
        goal("GET / beside " held " idle connections, " name[kinds[k]], clean(a) && clean(b),
            thousands(rate(b)) "/s", thousands(rate(a)) "/s alone", per(rate(b), rate(a)), ">= 0.9x",
            clean(b) && rate(b) >= 0.9 * rate(a))
    }
    for (k = 1; k <= 2; k++) {
        text = kinds[k] ".text 8"
        for (r = 1; r <= 3; r++) {
            key = kinds[k] "." reads[r] " 8"
            goal(request[reads[r]] ", " name[kinds[k]], clean(text) && (key in ran),
                thousands(rate(key)) "/s", thousands(rate(text)) "/s bare", per(rate(key), rate(text)), ">= 0.5x",
                clean(key) && rate(key) >= 0.5 * rate(text))
        }
    }
    for (k = 1; k <= 2; k++) {
        key = kinds[k] ".register 8"; insert = kinds[k] ".insert 8"
        goal("Registrations, " name[kinds[k]], clean(insert) && (key in ran), thousands(rate(key)) "/s",
            thousands(rate(insert)) "/s bare inserts", per(rate(key), rate(insert)), ">= 0.5x",
            clean(key) && rate(key) >= 0.5 * rate(insert))
        goal("Registration p99, " name[kinds[k]], key in ran, sprintf("%.2f ms", p99[key]), "", "", "< 20 ms",
            clean(key) && p99[key] < 20)
    }
    for (k = 1; k <= 2; k++)
        for (s = 2; s <= 6; s++) {
            a = kinds[k] ".1k." scaled[s] " 8"; b = kinds[k] ".100k." scaled[s] " 8"
            goal("100,000 entries, " large[scaled[s]] ", " name[kinds[k]], clean(a) && (b in ran),
                sprintf("%.3f ms a request", per(1000, rate(b))), sprintf("%.3f ms at 1,000, %s", per(1000, rate(a)), small[scaled[s]]),
                per(rate(a), rate(b)), "<= 1.5x", clean(b) && rate(a) <= 1.5 * rate(b))
        }
    for (k = 1; k <= 2; k++) {
        kind = kinds[k]
        growth = (kind in before) && before[kind] > 0 ? after[kind] / before[kind] - 1 : 1
        goal("Memory, 1,000 to 100,000 requests, " name[kind], kind in before, sprintf("%+.1f %%", 100 * growth), "", "",
            "within 10 %", before[kind] > 0 && after[kind] > 0 && growth <= 0.1 && growth >= -0.1)
    }
    for (k = 1; k <= 2; k++) {
        kind = kinds[k]
        goal("Entries lost or doubled after SIGKILL, " name[kind], kind in acked,
            sprintf("%d lost, %d twice, of %d", lost[kind], twice[kind], acked[kind]), "", "", "0",
            acked[kind] > 0 && lost[kind] == 0 && twice[kind] == 0)
    }
}
