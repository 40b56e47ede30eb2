i = 0
while True:
    i += 1
    if i >= @N@:
        break
print(i)
