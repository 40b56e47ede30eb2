# A list joined at the end, as Python builds a long text: `s += "ab"` at a
# script's top level copies the whole text on every pass.
parts = []
i = 0
while True:
    parts.append("ab")
    i += 1
    if i >= @N@:
        break
print(len("".join(parts)))
