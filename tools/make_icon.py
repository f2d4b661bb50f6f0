#!/usr/bin/env python3
"""Draws the program's icon, the chip of the logo on a clear ground, at 16, 32,
48 and 256 pixels into src/app/cavio.ico (the 256 one as PNG, the others as
32-bit bitmaps, as Windows expects them).

    python3 tools/make_icon.py [src/app/cavio.ico]
"""

import struct
import sys
import zlib

PIN = (196, 200, 208)
RIM = (176, 184, 196)
DIE = (58, 64, 78)
LANES = [(220, 60, 60), (70, 200, 90), (70, 130, 235)]
SIZES = [16, 32, 48, 256]
SPAN, ORIGIN_X, ORIGIN_Y = 52.0, 2.0, 6.0  # the chip's square in the logo's coordinates


def chip(x, y):
    """The colour of the logo's chip at (x, y) in logo coordinates, or None."""
    if 8 <= x < 48 and 12 <= y < 52:
        for lane, colour in enumerate(LANES):
            if 16 <= x < 40 and 20 + lane * 9 <= y < 26 + lane * 9:
                return colour
        return RIM if (x < 9 or x >= 47 or y < 13 or y >= 51) else DIE
    for i in range(5):
        low, high = 16 + i * 7, 19 + i * 7
        if low <= x < high and (8 <= y < 12 or 52 <= y < 56):
            return PIN
        if low <= y < high and (4 <= x < 8 or 48 <= x < 52):
            return PIN
    return None


def render(size, samples=4):
    """Rows of (r, g, b, a), each pixel the average of samples x samples points."""
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = ORIGIN_X + (i + (sx + 0.5) / samples) * SPAN / size
                    y = ORIGIN_Y + (j + (sy + 0.5) / samples) * SPAN / size
                    colour = chip(x, y)
                    if colour is not None:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap_entry(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + b"\0" * (mask_row * size)  # the alpha channel decides; the mask is clear


def png_entry(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write(path):
    images = [(size, png_entry(size, render(size)) if size == 256 else bitmap_entry(size, render(size)))
              for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        edge = size if size < 256 else 0
        directory += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + b"".join(data for _, data in images))


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "src/app/cavio.ico")
