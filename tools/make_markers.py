"""Makes the fretboard marker bitmaps resources/markers/125.bmp ... 144.bmp.

Run: /usr/bin/python3 tools/make_markers.py
Each file is named after its resource number. Interval markers are a black-
rimmed disc with the interval's caption; 129 and 130 are the single and double
fret inlays drawn on unmarked cells. Disc and ring edges are anti-aliased by
supersampling, so the program's smoothing stretch has soft edges to work from;
pixels wholly inside a disc keep its exact colour.
"""
from PIL import Image

from imagelib import (BLACK, FIFTH, ROOT, SEVENTH, THIRD, WHITE, paste_mask,
                      resource_dir, rimmed_disc, ring, save_bmp, text_mask)

SIZE = 44
CENTRE = 21          # the disc's edge runs through 0.5 and 41.5: it covers pixels 1..41
OUTER = 20.5
INNER = 15.5         # leaves a 5-pixel rim along the axes
INK_LIMIT = INNER - 1  # caption ink keeps a pixel of fill between it and the rim

INTERVALS = [
    (125, "1", ROOT, WHITE), (127, "b2", BLACK, WHITE), (134, "#1", BLACK, WHITE),
    (139, "2", BLACK, WHITE), (144, "b3", THIRD, WHITE), (135, "#2", BLACK, WHITE),
    (140, "3", THIRD, WHITE), (141, "4", BLACK, WHITE), (126, "b5", FIFTH, BLACK),
    (136, "#4", BLACK, WHITE), (142, "5", FIFTH, BLACK), (133, "b6", BLACK, WHITE),
    (137, "#5", FIFTH, BLACK), (143, "6", BLACK, WHITE), (131, "bb7", SEVENTH, WHITE),
    (132, "b7", SEVENTH, WHITE), (138, "#6", BLACK, WHITE), (128, "7", SEVENTH, WHITE),
]

# Inlay rings: (centre x, centre y) of each 12-pixel ring, which covers columns 14..25.
INLAYS = {129: [(19.5, 21.5)], 130: [(19.5, 11.5), (19.5, 29.5)]}
RING_OUTER = 6.0
RING_INNER = 3.6


def fits(mask, left, top):
    for y in range(mask.height):
        for x in range(mask.width):
            if mask.getpixel((x, y)):
                dx, dy = left + x - CENTRE, top + y - CENTRE
                if dx * dx + dy * dy > INK_LIMIT ** 2:
                    return False
    return True


def caption_mask(caption):
    """Largest caption up to 18 px that stays clear of the rim; long ones are set tighter."""
    tracking = -1 if len(caption) > 2 else 0
    for size in range(18, 10, -1):
        mask = text_mask(caption, size, tracking)
        left = round(CENTRE + 0.5 - mask.width / 2)
        top = round(CENTRE + 0.5 - mask.height / 2)
        if fits(mask, left, top):
            return mask
    raise SystemExit(f"caption {caption!r} does not fit")


def interval_marker(caption, disc, ink):
    img = Image.new("RGB", (SIZE, SIZE), WHITE)
    rimmed_disc(img, CENTRE, CENTRE, OUTER, INNER, disc)
    paste_mask(img, caption_mask(caption), CENTRE + 0.5, CENTRE + 0.5, ink)
    return img


def inlay(centres):
    img = Image.new("RGB", (SIZE, SIZE), WHITE)
    for cx, cy in centres:
        ring(img, cx, cy, RING_OUTER, RING_INNER)
    return img


def main():
    out = resource_dir("markers")
    for number, caption, disc, ink in INTERVALS:
        save_bmp(interval_marker(caption, disc, ink), out / f"{number}.bmp")
    for number, centres in INLAYS.items():
        save_bmp(inlay(centres), out / f"{number}.bmp")


if __name__ == "__main__":
    main()
