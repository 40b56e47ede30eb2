local low, mid, high, even, odd, other = 0, 0, 0, 0, 0, 0
for i = 0, @N@ - 1 do
  local r = i % 16
  if r == 0 then
    low = low + 1
  elseif r == 1 then
    low = low + 2
  elseif r < 4 then
    mid = mid + r
  elseif r < 8 then
    if i % 3 == 0 then
      even = even + 1
    else
      odd = odd + 1
    end
  elseif r < 11 then
    mid = mid + 1
  elseif r < 14 then
    high = high + r
  else
    other = other + 1
  end
end
print(low .. " " .. mid .. " " .. high .. " " .. even .. " " .. odd .. " " .. other)
