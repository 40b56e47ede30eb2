local h = {}
local i = 0
while true do
  h["k" .. tostring(i)] = i
  i = i + 1
  if i >= @N@ then break end
end
local s = 0
i = 0
while true do
  s = s + h["k" .. tostring(i)]
  i = i + 1
  if i >= @N@ then break end
end
print(s)
