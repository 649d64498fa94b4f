"""Makes resources/modalscope.ico: a sunburst electric guitar body with its neck
pointing up. First the classic 32x32, 16-colour image with a transparency mask; then
the sizes a scaled desktop asks for, 16, 20, 24, 32 and 48 pixels in 32-bit colour
with alpha, and 256 pixels stored as PNG.

Run: /usr/bin/python3 tools/make_icon.py
The file is written by hand rather than through PIL so that it holds exactly the
images above. Every size is drawn from the same shapes, laid out on a 32-unit grid:
the 16-colour image pixel by pixel, the others sampled many times per pixel, with the
burst shading smoothly from the edge of the body inwards.
"""
import io
import struct

from PIL import Image

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


def classic_image(grid):
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
    return header + palette + pixels


# The shapes the classic image draws over the body, in its order (later ones on top):
# cells x0..x1, y0..y1 of the 32-unit grid and a palette index.
DETAILS = [(13, 0, 18, 4, 9), (12, 1, 12, 1, 11), (19, 1, 19, 1, 11), (12, 3, 12, 3, 11),
           (19, 3, 19, 3, 11), (14, 5, 17, 14, 8), (14, 5, 17, 5, 14), (14, 8, 17, 8, 12),
           (14, 11, 17, 11, 12), (14, 13, 17, 13, 12),
           (15, 15, 16, 24, 12),  # strings, passing under the pickups that follow
           (12, 16, 19, 17, 0), (12, 20, 19, 21, 0), (12, 25, 19, 26, 11),
           (23, 25, 23, 25, 15), (21, 27, 21, 27, 15)]
# From 48 pixels on there is room for finer parts, in grid units: (x0, y0, x1, y1, colour)
# boxes and (x, y, radius, colour) discs, later ones on top.
STRINGS = [(14.45 + 0.62 * k, 5.0, 14.67 + 0.62 * k, 25.6, 12) for k in range(6)]
FINE = ([(13, 0, 19, 5, 9)] + [(x, y, 0.62, 11) for x in (12.4, 19.6) for y in (1.5, 3.5)]
        + [(14, 5, 18, 15, 8), (14, 5, 18, 5.8, 14)]
        + [(14, y + 0.35, 18, y + 0.65, 11) for y in (8, 11, 13)]
        + [(12, 16, 20, 18, 0), (12, 20, 20, 22, 0), (12, 25, 20, 27, 11)] + STRINGS
        + [(23.5, 25.5, 0.75, 15), (21.5, 27.5, 0.75, 15)])
FIELD = 8  # cells of the depth field per grid unit


def depth_field():
    """Distance of each cell of a fine grid from the outside of the body, in grid units
    (a chamfer distance: near enough to the true one for shading)."""
    n = SIZE * FIELD
    far = float(n)
    depth = [[far if in_body((x + 0.5) / FIELD, (y + 0.5) / FIELD) else 0.0 for x in range(n)]
             for y in range(n)]
    steps = [(-1, 0, 1.0), (0, -1, 1.0), (-1, -1, 2 ** 0.5), (1, -1, 2 ** 0.5)]
    for order, sign in ((range(n), 1), (range(n - 1, -1, -1), -1)):
        for y in order:
            row = depth[y]
            for x in (range(n) if sign > 0 else range(n - 1, -1, -1)):
                if row[x] == 0.0:
                    continue
                for dx, dy, cost in steps:
                    u, v = x + sign * dx, y + sign * dy
                    inside = 0 <= u < n and 0 <= v < n
                    row[x] = min(row[x], (depth[v][u] if inside else 0.0) + cost)
    return [[d / FIELD for d in row] for row in depth]


def burst(depth):
    """The classic image's shades from the edge inwards, one grid unit each, blended."""
    position = min(max(depth - 0.5, 0.0), len(BURST) - 1.0)
    k = min(int(position), len(BURST) - 2)
    t = position - k
    a, b = PALETTE[BURST[k]], PALETTE[BURST[k + 1]]
    return tuple(a[c] + (b[c] - a[c]) * t for c in range(3))


def colour_at(u, v, depth, fine):
    """The colour at grid point (u, v), or None where the icon is transparent."""
    for shape in reversed(FINE if fine else DETAILS):
        if fine and len(shape) == 4:
            x, y, r, c = shape
            if (u - x) ** 2 + (v - y) ** 2 <= r * r:
                return PALETTE[c]
            continue
        x0, y0, x1, y1, c = shape
        if not fine:  # whole cells of the grid
            x1, y1 = x1 + 1, y1 + 1
        if x0 <= u < x1 and y0 <= v < y1:
            return PALETTE[c]
    if in_body(u, v):
        return burst(depth[int(v * FIELD)][int(u * FIELD)])
    return None


def smooth(size, depth):
    """The icon at size by size pixels, straight RGBA: each pixel the mean of samples on a
    regular grid inside it, its alpha the share of samples on the guitar."""
    samples = 8 if size <= 64 else 4
    img = Image.new("RGBA", (size, size))
    for y in range(size):
        for x in range(size):
            total, hits = [0.0, 0.0, 0.0], 0
            for j in range(samples):
                v = (y + (j + 0.5) / samples) * SIZE / size
                for i in range(samples):
                    c = colour_at((x + (i + 0.5) / samples) * SIZE / size, v, depth,
                                  size >= 48)
                    if c is not None:
                        hits += 1
                        total = [total[k] + c[k] for k in range(3)]
            if hits:
                img.putpixel((x, y), tuple(round(t / hits) for t in total)
                             + (round(255 * hits / samples ** 2),))
    return img


def alpha_image(img):
    """A 32-bit icon image: BGRA rows bottom-up, then the mask that older readers use."""
    size = img.width
    pixels = b"".join(bytes((b, g, r, a)) for y in range(size - 1, -1, -1)
                      for r, g, b, a in (img.getpixel((x, y)) for x in range(size)))
    stride = (size + 31) // 32 * 4
    mask = b""
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (img.getpixel((x, y))[3] == 0)  # 1 = transparent
        mask += (bits << (stride * 8 - size)).to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels + mask), 0, 0,
                         0, 0)
    return header + pixels + mask


def ico_bytes(images):
    """images: (size, colours, bits per pixel, data) in the order the file lists them."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data),
                           offset)
        offset += len(data)
    return out + b"".join(data for _, _, _, data in images)


def main():
    depth = depth_field()
    images = [(SIZE, 16, 4, classic_image(draw()))]
    for size in (16, 20, 24, 32, 48):
        images.append((size, 0, 32, alpha_image(smooth(size, depth))))
    png = io.BytesIO()
    smooth(256, depth).save(png, "PNG", optimize=True)
    images.append((256, 0, 32, png.getvalue()))
    path = resource_dir() / "modalscope.ico"
    path.write_bytes(ico_bytes(images))
    print("wrote", path)


if __name__ == "__main__":
    main()
