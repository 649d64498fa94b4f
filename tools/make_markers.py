"""Makes the fretboard marker bitmaps: resources/markers/125.bmp ... 144.bmp, the 44-pixel
pictures, and resources/markers/large/150.bmp ... 169.bmp, the same pictures drawn at
176 pixels, from which the program reduces every other size.

Run: /usr/bin/python3 tools/make_markers.py
Each file is named after its resource number; a large picture's number is its 44-pixel
picture's plus 25. Interval markers are a black-rimmed disc with the interval's caption;
129 and 130 are the single and double fret inlays drawn on unmarked cells. Disc and ring
edges are anti-aliased by supersampling; pixels wholly inside a disc keep its exact colour.

Every measure is given for the 44-pixel picture and scaled to the side drawn, so any side
can be drawn directly (marker(number, side)): the tests compare the program's markers with
such direct drawings.
"""
from PIL import Image

from bmp_rle8 import save_rle8
from imagelib import (BLACK, FIFTH, ROOT, SEVENTH, THIRD, WHITE, paste_mask,
                      resource_dir, rimmed_disc, ring, save_bmp, text_mask)

SIZE = 44
LARGE = 4 * SIZE     # never smaller than the largest marker shown (145 pixels)
LARGE_OFFSET = 25    # resource number of a large picture less its 44-pixel picture's
CENTRE = 21          # the disc's edge runs through 0.5 and 41.5: it covers pixels 1..41
OUTER = 20.5
INNER = 15.5         # leaves a 5-pixel rim along the axes
INK_LIMIT = INNER - 1  # caption ink keeps a pixel of fill between it and the rim

INTERVALS = {
    125: ("1", ROOT, WHITE), 127: ("b2", BLACK, WHITE), 134: ("#1", BLACK, WHITE),
    139: ("2", BLACK, WHITE), 144: ("b3", THIRD, WHITE), 135: ("#2", BLACK, WHITE),
    140: ("3", THIRD, WHITE), 141: ("4", BLACK, WHITE), 126: ("b5", FIFTH, BLACK),
    136: ("#4", BLACK, WHITE), 142: ("5", FIFTH, BLACK), 133: ("b6", BLACK, WHITE),
    137: ("#5", FIFTH, BLACK), 143: ("6", BLACK, WHITE), 131: ("bb7", SEVENTH, WHITE),
    132: ("b7", SEVENTH, WHITE), 138: ("#6", BLACK, WHITE), 128: ("7", SEVENTH, WHITE),
}

# Inlay rings: (centre x, centre y) of each 12-pixel ring, which covers columns 14..25.
INLAYS = {129: [(19.5, 21.5)], 130: [(19.5, 11.5), (19.5, 29.5)]}
RING_OUTER = 6.0
RING_INNER = 3.6
CAPTION_SAMPLES = 4  # per pixel along each axis, for captions at sizes other than 44


def at_side(coordinate, scale):
    """A pixel-centre coordinate of the 44-pixel picture in a picture `scale` times larger."""
    return (coordinate + 0.5) * scale - 0.5


def fits(mask, left, top, centre, limit):
    for y in range(mask.height):
        for x in range(mask.width):
            if mask.getpixel((x, y)):
                dx, dy = left + x - centre, top + y - centre
                if dx * dx + dy * dy > limit ** 2:
                    return False
    return True


def caption_mask(caption, scale):
    """Largest caption up to 18 px (scaled) that stays clear of the rim; long ones are set
    tighter."""
    centre, limit = at_side(CENTRE, scale), INK_LIMIT * scale
    tracking = round(-scale) if len(caption) > 2 else 0
    for size in range(round(18 * scale), max(round(10 * scale), 1), -1):
        mask = text_mask(caption, size, tracking)
        left = round(centre + 0.5 - mask.width / 2)
        top = round(centre + 0.5 - mask.height / 2)
        if fits(mask, left, top, centre, limit):
            return mask
    raise SystemExit(f"caption {caption!r} does not fit at scale {scale}")


def marker(number, side=SIZE):
    """Picture `number` (125..144) drawn directly at side by side pixels."""
    scale = side / SIZE
    img = Image.new("RGB", (side, side), WHITE)
    if number in INLAYS:
        for cx, cy in INLAYS[number]:
            ring(img, at_side(cx, scale), at_side(cy, scale), RING_OUTER * scale,
                 RING_INNER * scale)
        return img
    caption, disc, ink = INTERVALS[number]
    centre = at_side(CENTRE, scale)
    rimmed_disc(img, centre, centre, OUTER * scale, INNER * scale, disc)
    if side == SIZE:
        # The shipped pictures: the caption as the font's rasteriser sets it at 18 pixels.
        paste_mask(img, caption_mask(caption, scale), centre + 0.5, centre + 0.5, ink)
        return img
    # Every other size supersamples the caption as it does the edges: set CAPTION_SAMPLES
    # times larger, then averaged down. The rasteriser would fit the glyphs to the grid of
    # the size it draws, which a picture made to be reduced no longer has.
    n = CAPTION_SAMPLES
    mask = caption_mask(caption, scale * n)
    canvas = Image.new("L", (side * n, side * n), 0)
    middle = (centre + 0.5) * n
    canvas.paste(mask, (round(middle - mask.width / 2), round(middle - mask.height / 2)))
    img.paste(ink, (0, 0, side, side), canvas.reduce(n))
    return img


def key_colours(number):
    """The colours a picture is made of, which its palette keeps exactly."""
    if number in INLAYS:
        return [WHITE, BLACK]
    _, disc, ink = INTERVALS[number]
    return [WHITE, BLACK, disc, ink]


def main():
    out = resource_dir("markers")
    large = resource_dir("markers", "large")
    for number in sorted([*INTERVALS, *INLAYS]):
        save_bmp(marker(number), out / f"{number}.bmp")
        save_rle8(marker(number, LARGE), key_colours(number),
                  large / f"{number + LARGE_OFFSET}.bmp")


if __name__ == "__main__":
    main()
