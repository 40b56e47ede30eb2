total = 0
for i in range(@N@):
    row = [i % 10, -(i % 7), i % 3]
    total += len(row) + len(",".join(map(str, row))) + abs(row[1])
print(total)
