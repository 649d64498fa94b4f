"""Lays every generated picture out enlarged on /tmp/modalscope_contact.png for review.

Run: /usr/bin/python3 tools/contact_sheet.py [scale]
Nearest-neighbour enlargement keeps single pixels visible. The icon is shown
over a checkerboard so its transparent pixels stand out.
"""
import sys

from PIL import Image

from imagelib import resource_dir

OUT = "/tmp/modalscope_contact.png"


def checker(size, cell=4):
    img = Image.new("RGB", size, (200, 200, 200))
    for y in range(0, size[1], cell):
        for x in range(0, size[0], cell):
            if (x // cell + y // cell) % 2:
                img.paste((150, 150, 150), (x, y, x + cell, y + cell))
    return img


def main():
    scale = int(sys.argv[1]) if len(sys.argv) > 1 else 4
    res = resource_dir()
    pictures = [Image.open(p).convert("RGB") for p in sorted((res / "markers").glob("*.bmp"))]
    pictures += [Image.open(p).convert("RGB") for p in sorted((res / "about").glob("*.bmp"))]
    icon = res / "modalscope.ico"
    if icon.exists():
        rgba = Image.open(icon).convert("RGBA")
        back = checker(rgba.size, 2)
        back.paste(rgba, (0, 0), rgba)
        pictures.append(back)
    big = [p.resize((p.width * scale, p.height * scale), Image.Resampling.NEAREST)
           for p in pictures]
    gap, width = 8, 1400
    rows, row, x = [], [], 0
    for p in big:
        if row and x + p.width > width:
            rows.append(row)
            row, x = [], 0
        row.append(p)
        x += p.width + gap
    rows.append(row)
    height = sum(max(p.height for p in r) + gap for r in rows) + gap
    sheet = Image.new("RGB", (width + gap, height), (90, 90, 110))
    y = gap
    for r in rows:
        x = gap
        for p in r:
            sheet.paste(p, (x, y))
            x += p.width + gap
        y += max(p.height for p in r) + gap
    sheet.save(OUT)
    print("wrote", OUT)


if __name__ == "__main__":
    main()
