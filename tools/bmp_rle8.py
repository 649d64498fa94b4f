"""Writes a picture as an 8-bit, run-length encoded (BI_RLE8) BMP: a standard bitmap that
any loader reads, at a fraction of the size of 24 bits, since markers are mostly long runs
of one colour.

The palette keeps the given key colours exactly (white, rim, disc, caption), so every pixel
of one colour stays that colour. If the picture has more than 256 colours, the others, which
are all blends between two key colours along anti-aliased edges, are kept as evenly spaced
steps along each such blend, about 80 per blend: a step of at most 3 of 255 levels.
"""
import struct


def _ramp_of(colour, keys):
    """(key pair, share of the second) of the blend closest to colour."""
    best = None
    for i, a in enumerate(keys):
        for b in keys[i + 1:]:
            span = [b[k] - a[k] for k in range(3)]
            length = sum(s * s for s in span)
            t = sum((colour[k] - a[k]) * span[k] for k in range(3)) / length
            t = min(max(t, 0.0), 1.0)
            miss = sum((a[k] + t * span[k] - colour[k]) ** 2 for k in range(3))
            if best is None or miss < best[0]:
                best = (miss, (a, b), t)
    return best[1], best[2]


def palette_for(colours, keys):
    """(palette, {colour: index}). A blend keeps to its own two colours: it is given the
    nearest step along its blend, so a grey edge stays grey."""
    keys = list(dict.fromkeys(keys))
    others = [c for c in colours if c not in keys]
    if len(keys) + len(others) <= 256:
        palette = keys + sorted(others)
        return palette, {c: palette.index(c) for c in colours}
    ramps = {}
    for c in others:
        pair, t = _ramp_of(c, keys)
        ramps.setdefault(pair, []).append((t, c))
    budget = 256 - len(keys)
    total = len(others)
    palette = list(keys)
    index = {c: i for i, c in enumerate(keys)}
    for (a, b), members in sorted(ramps.items()):
        steps = max(1, budget * len(members) // total)
        ts = [t for t, _ in members]
        low, high = min(ts), max(ts)
        levels = [low + (high - low) * (k + 0.5) / steps for k in range(steps)]
        first = len(palette)
        palette += [tuple(round(a[i] + t * (b[i] - a[i])) for i in range(3)) for t in levels]
        for t, c in members:
            index[c] = first + min(range(steps), key=lambda k: abs(levels[k] - t))
    return palette, index


def _encode_row(row):
    """One row as RLE8: runs of one index, or literal stretches of 3 or more (absolute
    mode, padded to a whole word), then the end-of-line mark."""
    out = bytearray()
    literal = []

    def flush():
        while literal:
            chunk = literal[:255]
            del literal[:255]
            if len(chunk) < 3:
                for v in chunk:
                    out.extend((1, v))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)

    x = 0
    while x < len(row):
        run = 1
        while x + run < len(row) and row[x + run] == row[x] and run < 255:
            run += 1
        if run >= 3:
            flush()
            out.extend((run, row[x]))
        else:
            literal.extend(row[x:x + run])
        x += run
    flush()
    out.extend((0, 0))
    return out


def save_rle8(img, keys, path):
    img = img.convert("RGB")
    width, height = img.size
    pixels = list(img.getdata())
    colours = sorted(set(pixels))
    palette, index = palette_for(colours, keys)
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up, as compressed bitmaps must be
        data += _encode_row([index[p] for p in pixels[y * width:(y + 1) * width]])
    data += bytes((0, 1))  # end of bitmap
    table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(data), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + data)
    print("wrote", path, f"({len(palette)} colours, {len(data)} bytes of pixels)")
