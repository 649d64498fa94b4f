"""Makes resources/modalscope.ico: one 32x32, 16-colour image of a sunburst
electric guitar body with its neck pointing up, with a transparency mask.

Run: /usr/bin/python3 tools/make_icon.py
The file is written by hand rather than through PIL so that it holds exactly
the classic 4-bit image with an AND mask that every Windows version shows.
"""
import struct

from imagelib import resource_dir

SIZE = 32
CLEAR = None
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black: pickups
    (0x50, 0x00, 0x08),  # 1 edge of the body
    (0x90, 0x08, 0x08),  # 2 dark red
    (0xC8, 0x20, 0x08),  # 3 red
    (0xE8, 0x58, 0x08),  # 4 red-orange
    (0xF8, 0x98, 0x10),  # 5 orange
    (0xFF, 0xD0, 0x28),  # 6 amber
    (0xFF, 0xF0, 0x60),  # 7 yellow centre
    (0x3A, 0x20, 0x10),  # 8 dark brown: fingerboard
    (0x80, 0x50, 0x28),  # 9 brown: headstock
    (0x50, 0x50, 0x50),  # 10 dark grey (spare)
    (0x98, 0x98, 0x98),  # 11 grey: bridge, tuners
    (0xD8, 0xD8, 0xD8),  # 12 light grey: strings, frets
    (0xFF, 0xFF, 0xFF),  # 13 white (spare)
    (0xF0, 0xE4, 0xC0),  # 14 cream: nut
    (0x20, 0x20, 0x20),  # 15 near black: control knobs
]
BURST = [1, 2, 3, 4, 5, 6, 7]  # from the edge inwards
STEP = 1.0  # pixels of depth per shade


def in_body(x, y):
    """Two bouts joined at a waist, with a horn either side of the neck."""

    def ellipse(ex, ey, rx, ry):
        return ((x - ex) / rx) ** 2 + ((y - ey) / ry) ** 2 <= 1

    body = (ellipse(15.5, 23.4, 11.2, 7.8) or ellipse(15.5, 16.5, 8.6, 6.0)
            or ellipse(9.0, 12.0, 2.8, 5.0) or ellipse(22.5, 12.8, 2.6, 4.2))
    return body and not ellipse(15.5, 9.0, 4.6, 5.0)


def draw():
    grid = [[CLEAR] * SIZE for _ in range(SIZE)]
    body = {(x, y) for y in range(SIZE) for x in range(SIZE) if in_body(x + 0.5, y + 0.5)}
    outside = [(u, v) for u in range(-1, SIZE + 1) for v in range(-1, SIZE + 1)
               if (u, v) not in body]
    for x, y in body:
        depth = min((x - u) ** 2 + (y - v) ** 2 for u, v in outside) ** 0.5
        grid[y][x] = BURST[min(int((depth - 1) / STEP), len(BURST) - 1)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = c

    rect(13, 0, 18, 4, 9)                  # headstock
    for y in (1, 3):                        # tuners either side
        grid[y][12] = grid[y][19] = 11
    rect(14, 5, 17, 14, 8)                 # fingerboard
    rect(14, 5, 17, 5, 14)                 # nut
    for y in (8, 11, 13):
        rect(14, y, 17, y, 12)             # frets
    rect(12, 16, 19, 17, 0)                # neck pickup
    rect(12, 20, 19, 21, 0)                # bridge pickup
    rect(12, 25, 19, 26, 11)               # bridge
    for x in (15, 16):                      # strings between the pickups and the bridge
        for y in range(15, 25):
            if grid[y][x] != 0:
                grid[y][x] = 12
    grid[25][23] = grid[27][21] = 15        # control knobs
    return grid


def ico_bytes(grid):
    xor_rows, and_rows = [], []
    for row in reversed(grid):  # bitmaps are stored bottom-up
        nibbles = [c or 0 for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c is CLEAR)  # 1 = transparent
        and_rows.append(bits.to_bytes(SIZE // 8, "big"))  # 32 bits: already 4-byte aligned
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(pixels), 0, 0, 0, 0)
    image = header + palette + pixels
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main():
    path = resource_dir() / "modalscope.ico"
    path.write_bytes(ico_bytes(draw()))
    print("wrote", path)


if __name__ == "__main__":
    main()
