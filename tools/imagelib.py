"""Shared drawing helpers for the scripts in tools/ that regenerate resources/.

Everything is computed per pixel in integers or exactly representable fractions, or
drawn with fixed fonts at integer positions, so every run writes the same bytes.
"""
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
# Disc colours of the interval markers; the About pictures reuse them.
ROOT = (0xFF, 0x80, 0x40)
THIRD = (0x00, 0xCC, 0x00)
FIFTH = (0xFF, 0xFF, 0x99)
SEVENTH = (0x33, 0x99, 0xFF)


def resource_dir(*parts):
    """resources/ beside tools/, so the scripts work from any working directory."""
    path = Path(__file__).resolve().parent.parent / "resources"
    path = path.joinpath(*parts)
    path.mkdir(parents=True, exist_ok=True)
    return path


def save_bmp(img, path):
    """PIL writes RGB images as 24-bit, uncompressed, bottom-up BITMAPINFOHEADER files."""
    img.convert("RGB").save(path, "BMP")
    print("wrote", path)


def font(size):
    return ImageFont.truetype(FONT_BOLD, size)


# Sample points per pixel along each axis when edges are anti-aliased.
SUPERSAMPLE = 16


def circle_coverage(cx, cy, radius, x, y):
    """How many of pixel (x, y)'s SUPERSAMPLE² sample points lie within radius of (cx, cy).

    Pixel (x, y) is the square from x - 0.5 to x + 0.5; its samples sit on a regular grid
    inside it. Squares wholly inside or outside the circle are answered without sampling,
    with the count full sampling would give.
    """
    n = SUPERSAMPLE
    dx = abs(x - cx)
    dy = abs(y - cy)
    far = (dx + 0.5) ** 2 + (dy + 0.5) ** 2
    near = max(dx - 0.5, 0) ** 2 + max(dy - 0.5, 0) ** 2
    r2 = radius * radius
    if far <= r2:
        return n * n
    if near > r2:
        return 0
    count = 0
    for j in range(n):
        sy = (y - 0.5 + (j + 0.5) / n - cy) ** 2
        for i in range(n):
            count += (x - 0.5 + (i + 0.5) / n - cx) ** 2 + sy <= r2
    return count


def mix(parts):
    """Colour of a pixel shared out as [(colour, samples), ...] over all SUPERSAMPLE² samples.

    Integer arithmetic rounds the same way on every run; a pixel wholly one colour keeps
    that colour exactly.
    """
    total = SUPERSAMPLE * SUPERSAMPLE
    assert sum(weight for _, weight in parts) == total
    return tuple((sum(colour[k] * weight for colour, weight in parts) + total // 2) // total
                 for k in range(3))


def rimmed_disc(img, cx, cy, outer, inner, fill, rim=BLACK):
    """A disc of fill inside a rim, both edges anti-aliased against what is there (white)."""
    px = img.load()
    total = SUPERSAMPLE * SUPERSAMPLE
    for y in range(img.height):
        for x in range(img.width):
            whole = circle_coverage(cx, cy, outer, x, y)
            if whole == 0:
                continue
            inside = circle_coverage(cx, cy, inner, x, y)
            px[x, y] = mix([(px[x, y], total - whole), (rim, whole - inside), (fill, inside)])


def ring(img, cx, cy, outer, inner, colour=BLACK):
    """An anti-aliased ring: the band inner < distance <= outer around (cx, cy)."""
    px = img.load()
    total = SUPERSAMPLE * SUPERSAMPLE
    for y in range(img.height):
        for x in range(img.width):
            band = circle_coverage(cx, cy, outer, x, y) - circle_coverage(cx, cy, inner, x, y)
            if band:
                px[x, y] = mix([(px[x, y], total - band), (colour, band)])


def text_mask(text, size, tracking=0):
    """Antialiased coverage of text, cropped to its ink."""
    f = font(size)
    mask = Image.new("L", (size * (len(text) + 2), size * 2), 0)
    draw = ImageDraw.Draw(mask)
    x = size // 2
    for ch in text:
        draw.text((x, size // 2), ch, font=f, fill=255)
        x += round(f.getlength(ch)) + tracking
    return mask.crop(mask.getbbox())


def paste_mask(img, mask, cx, cy, colour):
    """Blend colour through mask with the ink's centre at (cx, cy)."""
    left = round(cx - mask.width / 2)
    top = round(cy - mask.height / 2)
    img.paste(colour, (left, top, left + mask.width, top + mask.height), mask)
    return left, top


def supersampled(width, height, scale, paint):
    """Call paint(draw, scale) on an enlarged canvas, then shrink it for smooth edges."""
    big = Image.new("RGB", (width * scale, height * scale), WHITE)
    paint(ImageDraw.Draw(big), scale)
    return big.resize((width, height), Image.Resampling.LANCZOS)
