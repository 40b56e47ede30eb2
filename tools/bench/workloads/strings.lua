local parts = {}
local i = 0
while true do
  parts[#parts + 1] = "ab"
  i = i + 1
  if i >= @N@ then break end
end
print(#table.concat(parts))
