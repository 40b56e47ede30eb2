h = {}
i = 0
while True:
    h["k" + str(i)] = i
    i += 1
    if i >= @N@:
        break
s = 0
i = 0
while True:
    s += h["k" + str(i)]
    i += 1
    if i >= @N@:
        break
print(s)
