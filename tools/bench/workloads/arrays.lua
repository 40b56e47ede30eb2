local a = {}
local i = 0
while true do
  a[#a + 1] = i
  i = i + 1
  if i >= @N@ then break end
end
local s = 0
i = 0
while true do
  s = s + a[i + 1]
  i = i + 1
  if i >= #a then break end
end
print(s)
