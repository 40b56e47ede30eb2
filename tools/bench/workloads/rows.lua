local total = 0
for i = 0, @N@ - 1 do
  local row = {i % 10, -(i % 7), i % 3}
  total = total + #row + #table.concat(row, ",") + math.abs(row[2])
end
print(total)
