a = []
i = 0
while True:
    a.append(i)
    i += 1
    if i >= @N@:
        break
s = 0
i = 0
while True:
    s += a[i]
    i += 1
    if i >= len(a):
        break
print(s)
