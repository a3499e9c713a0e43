-- Registrations for bench/homepage.sh: every request a new entry, a name no
-- other request has (not in another run either) and a code from the file
-- the game's rules made, so that none is answered as a repeat.
--   wrk ... -s bench/homepage/register.lua URL -- CODES [ACKED]
-- With ACKED, each thread writes "id name" of every entry answered 201 to
-- ACKED.<thread>, as it comes.
dofile("bench/homepage/report.lua")

-- Names start with a few random letters of this run's own.
local random = assert(io.open("/dev/urandom", "rb"))
local run = random:read(3):gsub(".", function(c) return string.format("%02x", c:byte()) end)
random:close()

local threads = 0
function setup(thread)
    threads = threads + 1
    thread:set("thread", threads)
    thread:set("run", run)
end

local codes = {}
local prefix, acked
local sent = 0

function init(args)
    for line in io.lines(args[1]) do
        codes[#codes + 1] = line
    end
    prefix = run .. "-" .. thread .. "-"
    if args[2] then
        acked = assert(io.open(args[2] .. "." .. thread, "w"))
    end
end

function request()
    sent = sent + 1
    local body = string.format('{"name":"%s%d","code":"%s"}', prefix, sent, codes[(sent * 31 + thread) % #codes + 1])
    return wrk.format("POST", "/api/results", {["Content-Type"] = "application/json"}, body)
end

function response(status, headers, body)
    if acked and status == 201 then
        -- Written at once: the server may be killed any moment.
        acked:write(body:match('"id":(%d+)'), " ", body:match('"name":"([^"]*)"'), "\n")
        acked:flush()
    end
end
