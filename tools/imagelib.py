"""Shared drawing helpers for the scripts in tools/ that regenerate resources/.

Everything is computed per pixel or drawn with fixed fonts and integer
positions, so every run writes the same bytes.
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


def fill_circle(img, cx, cy, radius, colour):
    """Crisp disc: a pixel belongs to it when its centre lies within radius."""
    px = img.load()
    r2 = radius * radius
    for y in range(img.height):
        for x in range(img.width):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r2:
                px[x, y] = colour


def rimmed_disc(img, cx, cy, outer, inner, fill, rim=BLACK):
    fill_circle(img, cx, cy, outer, rim)
    fill_circle(img, cx, cy, inner, fill)


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
