s = "hello world"
n = 0
i = 0
while True:
    n += len(s[0:i % 10 + 1]) + len(str(i))
    i += 1
    if i >= @N@:
        break
print(n)
