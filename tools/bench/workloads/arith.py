i = 0
s = 0
while True:
    i += 1
    s += i * 4 // 2 % 7 - 3
    if i >= @N@:
        break
print(s)
