-- Registrations for bench/homepage.sh: every request a new entry, a name no
-- other request of the run has and a code from the file the game's rules
-- made, so that none is answered as a repeat.
--   wrk ... -s bench/homepage/register.lua URL -- CODES TAG [ACKED]
-- TAG starts every name (distinct for each run on one hall of fame). With
-- ACKED, each thread writes "id name" of every entry answered 201 to
-- ACKED.<thread>, as it comes.
dofile("bench/homepage/report.lua")

local threads = 0
function setup(thread)
    threads = threads + 1
    thread:set("thread", threads)
end

local codes = {}
local tag, acked
local sent = 0

function init(args)
    for line in io.lines(args[1]) do
        codes[#codes + 1] = line
    end
    tag = args[2] .. "-" .. thread .. "-"
    if args[3] then
        acked = assert(io.open(args[3] .. "." .. thread, "w"))
    end
end

function request()
    sent = sent + 1
    local body = string.format('{"name":"%s%d","code":"%s"}', tag, sent, codes[(sent * 31 + thread) % #codes + 1])
    return wrk.format("POST", "/api/results", {["Content-Type"] = "application/json"}, body)
end

function response(status, headers, body)
    if acked and status == 201 then
        -- Written at once: the server may be killed any moment.
        acked:write(body:match('"id":(%d+)'), " ", body:match('"name":"([^"]*)"'), "\n")
        acked:flush()
    end
end
