local n = @N@
local a, b = {}, {}
for i = 0, n * n - 1 do
  a[i] = i % 7
  b[i] = i % 5 + 1
end
local c = {}
local total = 0
for i = 0, n - 1 do
  for j = 0, n - 1 do
    local sum = 0
    for k = 0, n - 1 do
      sum = sum + a[i * n + k] * b[k * n + j]
    end
    c[#c + 1] = sum
    total = total + sum
  end
end
print(total .. " " .. c[1] .. " " .. c[n * n])
