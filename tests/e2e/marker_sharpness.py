#!/usr/bin/env python3
"""The markers as the real program shows them, at cell sizes 28, 42, 79 and 159, against
the same markers drawn directly at each size by tools/make_markers.py and against the
176-pixel pictures reduced by area averaging (Pillow's box filter, not the program's code).

usage: marker_sharpness.py --exe EXE --probe PROBE --wine WINE
Needs a virtual desktop of at least 3840x1200 (the 159-pixel cells). Per cell size, over
all twenty markers (palette boxes before and after respelling, and the two inlays):
  above 44 pixels: the rim's outer edge at most 1 pixel wider than the direct drawing's,
                   and the caption's in-between share at most 1.25 times the direct one's;
  44 and below:    each marker within 6/255 per pixel on average of the reduction;
  every size:      each disc shows its exact colour.
"""

import argparse
import os
import sys
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "shared"))
from desktop import ORANGE, Program  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import make_markers  # noqa: E402  (the generator of the pictures)

CELL_SIZES = [28, 42, 79, 159]
RESOURCES = os.path.join(os.path.dirname(__file__), "..", "..", "resources")
# Marker id -> picture number, and what each palette slot shows (current, respelled).
PICTURE = {1: 125, 2: 127, 3: 134, 4: 139, 5: 144, 6: 135, 7: 140, 8: 141, 9: 126, 10: 136,
           11: 142, 12: 133, 13: 137, 14: 143, 15: 131, 16: 132, 17: 138, 18: 128, 19: 129,
           20: 130}
SLOTS = [(1, 0), (2, 3), (4, 0), (5, 6), (7, 0), (8, 0), (9, 10), (11, 0), (12, 13), (14, 15),
         (16, 17), (18, 0)]
# A channel within this many levels of a colour counts as that colour: a pixel is in
# between when it is more than about a fifth of the way from both.
NEAR = 48


def near(a, b):
    return max(abs(a[k] - b[k]) for k in range(3)) <= NEAR


def outer_edge_width(pixels, side):
    """Mean count of in-between pixels from white to the black rim, along the two rows and
    two columns nearest the disc's centre, from all four sides."""
    centre = 21.5 * side / 44 - 0.5
    lines = {int(centre), int(centre + 0.5)}
    widths = []
    for fixed in lines:
        for ray in (range(side), range(side - 1, -1, -1)):
            for across in (True, False):
                count = 0
                for i in ray:
                    c = pixels[fixed * side + i] if across else pixels[i * side + fixed]
                    if near(c, (0, 0, 0)):
                        break
                    count += not near(c, (255, 255, 255))
                widths.append(count)
    return sum(widths) / len(widths)


def caption_pixels(pixels, side, disc, ink):
    """(pixels touched by the caption, those in between disc and caption colour) well
    inside the disc."""
    centre = 21.5 * side / 44 - 0.5
    reach = 15.0 * side / 44 - 1
    touched = between = 0
    for y in range(side):
        for x in range(side):
            if (x - centre) ** 2 + (y - centre) ** 2 > reach ** 2:
                continue
            c = pixels[y * side + x]
            if not near(c, disc):
                touched += 1
                between += not near(c, ink)
    return touched, between


def mean_difference(a, b):
    return sum(abs(p[k] - q[k]) for p, q in zip(a, b) for k in range(3)) / (3 * len(a))


def area_weights(source, side):
    """For each target pixel along one axis: (source pixel, share of its area) pairs."""
    weights = []
    for i in range(side):
        begin, end = i * source / side, (i + 1) * source / side
        weights.append([(j, (min(end, j + 1) - max(begin, j)) * side / source)
                        for j in range(int(begin), min(source, int(end) + 1))
                        if min(end, j + 1) > max(begin, j)])
    return weights


def reduced(number, side):
    """The large picture reduced by exact area averaging (Pillow's box filter takes whole
    source pixels by their centres, which is not the same)."""
    large = Image.open(os.path.join(RESOURCES, "markers", "large", f"{number + 25}.bmp"))
    source, pixels = large.width, list(large.convert("RGB").getdata())
    weights = area_weights(source, side)
    rows = [[tuple(sum(w * pixels[y * source + j][k] for j, w in weights[x]) for k in range(3))
             for x in range(side)] for y in range(source)]
    return [tuple(int(sum(w * rows[j][x][k] for j, w in weights[y]) + 0.5) for k in range(3))
            for y in range(side) for x in range(side)]


def shown_markers(program, cell):
    """{marker id: pixels} as the program shows them with Width 24*cell+7."""
    program.wait_for_window()
    program.cell = cell
    side = program.marker_side()
    program.until(lambda s: s.count(*program.palette_box(0), ORANGE) > 0,
                  what="the palette row")
    time.sleep(0.5)
    shots = [program.shot()]
    for slot, (_, other) in enumerate(SLOTS):
        if other:
            x, y = (6 + slot) * cell + cell // 2, 6 * cell + cell // 2
            program.click(x, y, button=3)
    shots.append(program.until(
        lambda s: s.block(*program.palette_box(1)[:2], side) !=
        shots[0].block(*program.palette_box(1)[:2], side), what="the respelled boxes"))
    time.sleep(0.5)
    shots[1] = program.shot()
    markers = {}
    for k, shot in enumerate(shots):
        for slot, pair in enumerate(SLOTS):
            if pair[k]:
                markers[pair[k]] = shot.block(*program.palette_box(slot)[:2], side)
    markers[19] = shots[0].block(*program.cell_box(6, 2)[:2], side)
    markers[20] = shots[0].block(*program.cell_box(6, 11)[:2], side)
    program.key("Escape")
    program.wait_exit()
    return markers


def measure(markers, cell):
    """Figures of one cell size, and the failures against the criteria."""
    side = 2 * cell // 3
    totals = {"shown": [0, 0, 0.0], "direct": [0, 0, 0.0]}  # touched, between, edge sum
    worst, failures = 0.0, []
    for marker_id, pixels in sorted(markers.items()):
        number = PICTURE[marker_id]
        difference = mean_difference(pixels, reduced(number, side))
        worst = max(worst, difference)
        if side <= 44 and difference > 6:
            failures.append(f"marker {marker_id}: {difference:.1f}/255 from the reduction")
        if number not in make_markers.INTERVALS:
            continue
        _, disc, ink = make_markers.INTERVALS[number]
        if disc not in pixels:
            failures.append(f"marker {marker_id}: no pixel of its exact disc colour")
        direct = list(make_markers.marker(number, side).getdata())
        for name, picture in (("shown", pixels), ("direct", direct)):
            touched, between = caption_pixels(picture, side, disc, ink)
            totals[name][0] += touched
            totals[name][1] += between
            totals[name][2] += outer_edge_width(picture, side) / 18
    share = {name: t[1] / max(t[0], 1) for name, t in totals.items()}
    edge = {name: t[2] for name, t in totals.items()}
    if side > 44:
        if edge["shown"] > edge["direct"] + 1:
            failures.append(f"rim edge {edge['shown']:.2f} px against {edge['direct']:.2f}")
        if share["shown"] > 1.25 * share["direct"]:
            failures.append(f"caption in-between share {share['shown']:.2f} against "
                            f"{share['direct']:.2f}")
    print(f"cell {cell} ({side}-pixel markers): rim edge {edge['shown']:.2f} px "
          f"(direct {edge['direct']:.2f}), caption in-between share {share['shown']:.2f} "
          f"(direct {share['direct']:.2f}, {share['shown'] / max(share['direct'], 1e-9):.2f}x), "
          f"from the area reduction at most {worst:.2f}/255 a pixel")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--wine", required=True)
    args = parser.parse_args()
    failures = []
    for cell in CELL_SIZES:
        program = Program(args.exe, args.probe, args.wine, b"Width %d\n" % (24 * cell + 7))
        try:
            failures += [f"cell {cell}: {f}" for f in measure(shown_markers(program, cell), cell)]
        except AssertionError as failure:
            failures.append(f"cell {cell}: {failure}")
        finally:
            program.cleanup()
    for failure in failures:
        print("FAIL", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
