#!/usr/bin/env python3
"""Draws the runner's icon (a blue tile with a white Z and a green run
arrow) and writes it as a 32-bit ICO with 16, 32 and 48 pixel images."""
import struct
import sys


def pixel(x, y, n):
    u, v = (x + 0.5) / n, (y + 0.5) / n
    r = 0.18
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    t = 0.12
    if 0.2 < u < 0.8 and 0.2 < v < 0.2 + t:
        return (255, 255, 255, 255)
    if 0.2 < u < 0.8 and 0.8 - t < v < 0.8:
        return (255, 255, 255, 255)
    d = abs((u - 0.2) + (v - 0.8)) / 1.4142
    if 0.2 < v < 0.8 and d < t * 0.75 and 0.2 < u < 0.8:
        return (255, 255, 255, 255)
    if u > 0.62 and v > 0.55 and (u - 0.62) < (0.92 - v) * 0.9 and (u - 0.62) < (v - 0.55) * 1.8:
        return (70, 200, 90, 255)
    return (40, 90, 200, 255)


def image(n):
    rows = []
    for y in range(n - 1, -1, -1):  # bottom-up
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows.append(struct.pack("BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    andmask = b"\0" * (mask_row * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def main(path):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
