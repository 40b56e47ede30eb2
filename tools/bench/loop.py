s = 0
i = 0
while True:
    i += 1
    s += i * 2 % 7
    if i == 300000:
        break
print(s)
