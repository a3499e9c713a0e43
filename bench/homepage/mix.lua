-- A mix of what the home page serves, for its resident memory: the pages,
-- the API, a file, a registration repeated (answered 200, or 429 past the
-- limit a minute) and a miss, in turn, until COUNT answers have come; then
-- the thread stops and writes COUNT to MARKER for bench/homepage.sh. The
-- registration takes the first code of CODES.
--   wrk -t1 ... -s bench/homepage/mix.lua URL -- COUNT MARKER CODES
local json = {["Content-Type"] = "application/json"}
local requests = {
    wrk.format("GET", "/"),
    wrk.format("GET", "/results?page=1"),
    wrk.format("GET", "/results?page=7"),
    wrk.format("GET", "/results/5"),
    wrk.format("GET", "/api/results"),
    wrk.format("GET", "/api/results?offset=500&limit=100"),
    wrk.format("GET", "/api/results/9"),
    wrk.format("GET", "/static/style.css"),
    wrk.format("GET", "/nowhere"),
}

local count, marker
local sent, answered = 0, 0

function init(args)
    count = tonumber(args[1])
    marker = args[2]
    local code = io.lines(args[3])()
    requests[#requests + 1] = wrk.format("POST", "/api/results", json,
        string.format('{"name":"mix","code":"%s"}', code))
end

function request()
    sent = sent + 1
    return requests[sent % #requests + 1]
end

function response(status, headers, body)
    answered = answered + 1
    if answered == count then
        local file = assert(io.open(marker, "w"))
        file:write(answered, "\n")
        file:close()
        wrk.thread:stop()
    end
end
