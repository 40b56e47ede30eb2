n = @N@
a = []
seed = 1
for _ in range(n):
    seed = (seed * 75 + 74) % 65537
    a.append(seed)
swaps = 0
for i in range(n - 1):
    for j in range(n - 1 - i):
        if a[j] > a[j + 1]:
            a[j], a[j + 1] = a[j + 1], a[j]
            swaps += 1
print(swaps, a[0], a[n // 2], a[n - 1])
