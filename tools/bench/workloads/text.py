words = ["Alpha", "beta", "GAMMA", "delta", "Epsilon", "zeta"]
line = ""
total = 0
for i in range(@N@):
    w = words[i % 6]
    if len(w) > 5:
        line += w[0:3].upper()
    elif len(w) > 4:
        line += w[1:3].lower() + str(i % 10)
    else:
        line += w.upper()
    if len(line) > 40:
        total += len(line)
        line = line[20:26] + "|"
print(total, line)
