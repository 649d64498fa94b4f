"""Makes the About box pictures: resources/about/145.bmp (title banner, 298x65),
146.bmp (chord diagram beside the programming credit, 80x80) and 147.bmp
(circle of interval discs beside the graphics credit, 80x80); and the same three
drawings at twice those sizes, 170.bmp, 171.bmp and 172.bmp, from which the box
reduces its pictures on a scaled display.

Run: /usr/bin/python3 tools/make_about_images.py
Drawn four times larger and shrunk, so edges are smooth. The large ones are kept in
256 colours: a third of the bytes, and the program reduces them anyway.
"""
import math

from PIL import Image

from imagelib import (BLACK, FIFTH, ROOT, SEVENTH, THIRD, font, resource_dir,
                      save_bmp, supersampled)

SCALE = 4
LARGE = 2  # the large sources' size against the 100 % pictures
INK = (0x22, 0x22, 0x30)
WOOD = (0x5A, 0x38, 0x22)
FRET = (0xC8, 0xC8, 0xC0)
STRING = (0xE8, 0xE0, 0xD0)
NUT = (0xF2, 0xEC, 0xD8)
GREY = (0x90, 0x90, 0x98)

# Semitone above the root -> disc colour, as on the neck (black for the rest).
TONE_COLOUR = {0: ROOT, 3: THIRD, 4: THIRD, 6: FIFTH, 7: FIFTH, 10: SEVENTH, 11: SEVENTH}


def disc(draw, s, x, y, r, colour, rim=1.5):
    draw.ellipse([(x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s],
                 fill=colour, outline=BLACK, width=round(rim * s))


def banner(draw, s):
    draw.text((10 * s, 1 * s), "Modalscope", font=font(30 * s), fill=INK)
    for i, colour in enumerate([ROOT, THIRD, FIFTH, SEVENTH]):
        disc(draw, s, 234 + i * 17, 21, 7, colour)
    top, bottom, left, right = 41, 62, 2, 296
    draw.rectangle([left * s, top * s, right * s, bottom * s], fill=WOOD)
    draw.rectangle([left * s, top * s, (left + 3) * s, bottom * s], fill=NUT)
    # Frets shrink towards the body like a real neck.
    frets, x, width = [left + 3], left + 3, 32.0
    while x + width < right:
        x += width
        frets.append(x)
        draw.rectangle([x * s, top * s, (x + 1.2) * s, bottom * s], fill=FRET)
        width *= 2 ** (-1 / 12)
    strings = [top + 3 + i * (bottom - top - 6) / 5 for i in range(6)]  # high E first
    for i, y in enumerate(strings):
        w = (0.5 + 0.12 * i) * s
        draw.rectangle([left * s, y * s - w / 2, right * s, y * s + w / 2], fill=STRING)
    # Some of A minor seven across the neck: (string, fret, semitones above A).
    for string, fret, tone in [(5, 5, 0), (5, 8, 3), (4, 7, 7), (3, 5, 10), (3, 10, 3),
                               (2, 2, 0), (2, 9, 7), (1, 1, 3), (1, 8, 10), (0, 5, 0),
                               (0, 12, 7)]:
        x = (frets[fret - 1] + frets[fret]) / 2
        disc(draw, s, x, strings[string], 3.8, TONE_COLOUR[tone], rim=1.0)


def chord_diagram(draw, s):
    left, top, gap_x, gap_y = 15, 20, 10, 14
    for i in range(6):
        x = left + i * gap_x
        draw.line([x * s, top * s, x * s, (top + 4 * gap_y) * s], fill=INK, width=round(1.2 * s))
    for k in range(5):
        y = top + k * gap_y
        width = 3.5 if k == 0 else 1.2
        draw.line([left * s, y * s, (left + 5 * gap_x) * s, y * s], fill=INK,
                  width=round(width * s))
    # Open E major: string -> (fret, semitone above E).
    shape = [(0, 0), (2, 7), (2, 0), (1, 4), (0, 7), (0, 0)]
    for i, (fret, tone) in enumerate(shape):
        x = left + i * gap_x
        colour = TONE_COLOUR.get(tone, BLACK)
        if fret:
            disc(draw, s, x, top + (fret - 0.5) * gap_y, 4.6, colour)
        else:
            disc(draw, s, x, top - 8, 3.2, colour, rim=1.2)


def interval_circle(draw, s):
    centre, orbit, r = 40, 30, 7
    spot = [(centre + orbit * math.sin(k * math.pi / 6), centre - orbit * math.cos(k * math.pi / 6))
            for k in range(12)]
    chord = [spot[k] for k in (0, 4, 7, 10)]  # a dominant seventh
    draw.polygon([(x * s, y * s) for x, y in chord], fill=(0xEE, 0xEE, 0xF4))
    draw.line([(x * s, y * s) for x, y in chord + chord[:1]], fill=GREY, width=2 * s)
    for k, (x, y) in enumerate(spot):
        disc(draw, s, x, y, r, TONE_COLOUR.get(k, BLACK))


def save_large(img, path):
    """256 colours picked from the picture itself, without dithering, so flat areas stay
    flat; PIL writes such an image as an 8-bit BMP with its colour table."""
    img.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE).save(path, "BMP")
    print("wrote", path)


def main():
    out = resource_dir("about")
    pictures = [(145, 170, 298, 65, banner), (146, 171, 80, 80, chord_diagram),
                (147, 172, 80, 80, interval_circle)]
    for small, large, width, height, paint in pictures:
        save_bmp(supersampled(width, height, SCALE, paint), out / f"{small}.bmp")
        save_large(supersampled(width * LARGE, height * LARGE, SCALE,
                                lambda draw, s, paint=paint: paint(draw, s * LARGE)),
                   out / f"{large}.bmp")


if __name__ == "__main__":
    main()
