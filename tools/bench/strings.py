s = ""
i = 0
while True:
    i += 1
    s = s + "abcdefghij"[i % 10]
    if len(s) >= 20000:
        break
print(str(len(s)) + s[0:10].upper())
