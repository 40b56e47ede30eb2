local counts = {}
local keys = 0
local seed = 1
for _ = 1, @N@ do
  seed = (seed * 75 + 74) % 65537
  local key = "k" .. (seed % 2000)
  local c = counts[key]
  if c == nil then
    keys = keys + 1
    c = 0
  end
  counts[key] = c + 1
end
print(keys .. " " .. counts["k7"] .. " " .. counts["k1999"])
