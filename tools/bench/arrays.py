a = []
i = 0
while True:
    a.append(i * 3)
    i += 1
    if i == 2000:
        break
s = 0
i = 0
while True:
    s += a[i]
    i += 1
    if i == len(a):
        break
print(s)
