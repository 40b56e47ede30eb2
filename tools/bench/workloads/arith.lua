local i = 0
local s = 0
while true do
  i = i + 1
  s = s + i * 4 // 2 % 7 - 3
  if i >= @N@ then break end
end
print(s)
