local s = "hello world"
local n = 0
local i = 0
while true do
  n = n + #string.sub(s, 1, i % 10 + 1) + #tostring(i)
  i = i + 1
  if i >= @N@ then break end
end
print(n)
