n = @N@
a = [i % 7 for i in range(n * n)]
b = [i % 5 + 1 for i in range(n * n)]
c = []
total = 0
for i in range(n):
    for j in range(n):
        s = 0
        for k in range(n):
            s += a[i * n + k] * b[k * n + j]
        c.append(s)
        total += s
print(total, c[0], c[n * n - 1])
