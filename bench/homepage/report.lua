-- Ends every wrk run of bench/homepage.sh with the one line it reads:
--   figures REQUESTS SECONDS P50_MS P99_MS FAILED
-- FAILED counts the answers that were not 2xx or 3xx and the requests that
-- got none (refused, cut or timed out connections).
function done(summary, latency, requests)
    local e = summary.errors
    io.write(string.format("figures %d %.3f %.3f %.3f %d\n", summary.requests, summary.duration / 1e6,
        latency:percentile(50) / 1000, latency:percentile(99) / 1000,
        e.connect + e.read + e.write + e.status + e.timeout))
end
