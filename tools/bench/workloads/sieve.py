n = @N@
flags = [True] * (n + 1)
count = 0
for i in range(2, n + 1):
    if flags[i]:
        count += 1
        for j in range(i * i, n + 1, i):
            flags[j] = False
print(count)
