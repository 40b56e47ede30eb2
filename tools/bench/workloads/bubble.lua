local n = @N@
local a = {}
local seed = 1
for i = 1, n do
  seed = (seed * 75 + 74) % 65537
  a[i] = seed
end
local swaps = 0
for i = 1, n - 1 do
  for j = 1, n - i do
    if a[j] > a[j + 1] then
      a[j], a[j + 1] = a[j + 1], a[j]
      swaps = swaps + 1
    end
  end
end
print(swaps .. " " .. a[1] .. " " .. a[n // 2 + 1] .. " " .. a[n])
