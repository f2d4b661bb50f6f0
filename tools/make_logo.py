#!/usr/bin/env python3
"""Draws the viewer's logo, a 140 by 64 24-bit bitmap, into src/app/logo.bmp.

    python3 tools/make_logo.py [src/app/logo.bmp]
"""

import struct
import sys

WIDTH, HEIGHT = 140, 64

# A 5 by 7 pixel alphabet for the word on the logo.
GLYPHS = {
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def blend(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def draw():
    pixels = [[(0, 0, 0)] * WIDTH for _ in range(HEIGHT)]
    top, bottom = (22, 44, 86), (8, 16, 34)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            pixels[y][x] = blend(top, bottom, y / (HEIGHT - 1))
    # A chip: a silver square with pins, and three colour lanes on its die.
    for y in range(12, 52):
        for x in range(8, 48):
            pixels[y][x] = (176, 184, 196) if (x in (8, 47) or y in (12, 51)) else (58, 64, 78)
    for i in range(5):
        for d in range(4):
            for p in range(16 + i * 7, 19 + i * 7):
                pixels[8 + d][p] = (196, 200, 208)
                pixels[52 + d][p] = (196, 200, 208)
                pixels[p][4 + d] = (196, 200, 208)
                pixels[p][48 + d] = (196, 200, 208)
    for lane, colour in enumerate([(220, 60, 60), (70, 200, 90), (70, 130, 235)]):
        for y in range(20 + lane * 9, 26 + lane * 9):
            for x in range(16, 40):
                pixels[y][x] = colour
    # The word, 3 pixels a dot, with a light gradient.
    x0, y0, dot = 58, 21, 3
    for index, letter in enumerate("CAVIO"):
        for row, bits in enumerate(GLYPHS[letter]):
            for column, bit in enumerate(bits):
                if bit != "1":
                    continue
                colour = blend((240, 244, 255), (150, 190, 255), row / 6)
                for dy in range(dot):
                    for dx in range(dot):
                        pixels[y0 + row * dot + dy][x0 + index * 16 + column * dot + dx] = colour
    return pixels


def write(path, pixels):
    row_size = (WIDTH * 3 + 3) & ~3
    image_size = row_size * HEIGHT
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 54 + image_size, 0, 0, 54))
        out.write(struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, 2835, 2835, 0, 0))
        for y in range(HEIGHT - 1, -1, -1):  # bottom-up
            row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in pixels[y])
            out.write(row + b"\0" * (row_size - WIDTH * 3))


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "src/app/logo.bmp", draw())
