s = ""
i = 0
while True:
    s += "ab"
    i += 1
    if i >= @N@:
        break
print(len(s))
