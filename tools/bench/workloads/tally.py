counts = {}
seed = 1
for _ in range(@N@):
    seed = (seed * 75 + 74) % 65537
    key = "k" + str(seed % 2000)
    counts[key] = counts.get(key, 0) + 1
print(len(counts), counts["k7"], counts["k1999"])
