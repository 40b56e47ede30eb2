local words = {"Alpha", "beta", "GAMMA", "delta", "Epsilon", "zeta"}
local line = ""
local total = 0
for i = 0, @N@ - 1 do
  local w = words[i % 6 + 1]
  if #w > 5 then
    line = line .. string.upper(string.sub(w, 1, 3))
  elseif #w > 4 then
    line = line .. string.lower(string.sub(w, 2, 3)) .. tostring(i % 10)
  else
    line = line .. string.upper(w)
  end
  if #line > 40 then
    total = total + #line
    line = string.sub(line, 21, 26) .. "|"
  end
end
print(total .. " " .. line)
