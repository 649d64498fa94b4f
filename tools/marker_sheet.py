"""Lays out the markers as the program draws them at cell sizes 28, 42, 79 and 159.

Run, inside a Wine session (tools/common.sh), after building the windows preset:
    wine build/windows/tests/marker_sheet.exe sheet.bmp
    /usr/bin/python3 tools/marker_sheet.py sheet.bmp docs/markers.png [--before old.bmp]
The panels are enlarged by whole factors (nearest neighbour, so each drawn pixel stays
visible): the small cells show their pixels, the large ones their real size. With
--before, a sheet drawn by an earlier build, whose markers were the cell less 14 pixels, is
shown above for comparison.
"""
import sys

from PIL import Image, ImageDraw

from imagelib import font

CELL_SIZES = [28, 42, 79, 159]   # as marker_sheet.exe draws them, side by side
COLUMNS, ROWS = 5, 4
ZOOM = {28: 3, 42: 2, 79: 1, 159: 1}
GAP = 16
LABEL = 26
BACK = (235, 235, 240)
INK = (30, 30, 40)


def panels(sheet):
    left = 0
    for u in CELL_SIZES:
        width, height = COLUMNS * u + 1, ROWS * u + 1
        panel = sheet.crop((left, 0, left + width, height))
        yield u, panel.resize((width * ZOOM[u], height * ZOOM[u]), Image.Resampling.NEAREST)
        left += width


def marker_side(u):
    """The program's marker side: two thirds of the cell."""
    return 2 * u // 3


def band(sheet, title, side_of):
    shown = list(panels(sheet))
    width = sum(p.width for _, p in shown) + GAP * (len(shown) + 1)
    height = max(p.height for _, p in shown) + LABEL * 2 + GAP
    img = Image.new("RGB", (width, height), BACK)
    draw = ImageDraw.Draw(img)
    draw.text((GAP, 4), title, font=font(16), fill=INK)
    x = GAP
    for u, p in shown:
        zoom = ZOOM[u]
        caption = f"cell {u}: {side_of(u)}-pixel markers" + (f", shown x{zoom}" if zoom > 1 else ", real size")
        draw.text((x, LABEL + 2), caption, font=font(13), fill=INK)
        img.paste(p, (x, LABEL * 2))
        x += p.width + GAP
    return img


def main():
    args = sys.argv[1:]
    before = None
    if "--before" in args:
        at = args.index("--before")
        before = args[at + 1]
        del args[at:at + 2]
    if len(args) != 2:
        raise SystemExit(__doc__)
    bands = []
    if before:
        bands.append(band(Image.open(before).convert("RGB"), "Before: the cell less 14 pixels",
                          lambda u: u - 14))
        bands.append(band(Image.open(args[0]).convert("RGB"), "Now: two thirds of the cell",
                          marker_side))
    else:
        bands.append(band(Image.open(args[0]).convert("RGB"),
                          "Markers as the program draws them at four cell sizes",
                          marker_side))
    out = Image.new("RGB", (max(b.width for b in bands), sum(b.height for b in bands)), BACK)
    y = 0
    for b in bands:
        out.paste(b, (0, y))
        y += b.height
    out.save(args[1], optimize=True)
    print("wrote", args[1])


if __name__ == "__main__":
    main()
