low = mid = high = even = odd = other = 0
for i in range(@N@):
    r = i % 16
    if r == 0:
        low += 1
    elif r == 1:
        low += 2
    elif r < 4:
        mid += r
    elif r < 8:
        if i % 3 == 0:
            even += 1
        else:
            odd += 1
    elif r < 11:
        mid += 1
    elif r < 14:
        high += r
    else:
        other += 1
print(low, mid, high, even, odd, other)
