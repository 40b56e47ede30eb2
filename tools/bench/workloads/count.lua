local i = 0
while true do
  i = i + 1
  if i >= @N@ then break end
end
print(i)
