-- wrk's requests for the event server's load (scripts/event --measure): each a round file with an
-- id of its own, the same moves otherwise, so that every one is verified and kept as new.
-- EVENT_ROUND names the file, EVENT_TOKEN is a kiosk's token.
local file = assert(io.open(os.getenv("EVENT_ROUND"), "rb"))
local template = file:read("*a")
file:close()
local headers = {["Content-Type"] = "application/json",
                 ["Authorization"] = "Bearer " .. os.getenv("EVENT_TOKEN")}
local threads = 0
local sent = 0

function setup(thread)
  threads = threads + 1
  thread:set("number", threads)
end

function request()
  sent = sent + 1
  local id = string.format("%08x%08x%016x", number, math.random(0, 0x7fffffff), sent)
  local body = template:gsub('"id":"%x+"', '"id":"' .. id .. '"', 1)
  return wrk.format("POST", nil, headers, body)
end
