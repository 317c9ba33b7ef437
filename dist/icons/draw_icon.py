#!/usr/bin/env python3
"""Draws the application icon: a scalable SVG and PNGs for the hicolor theme, from one list of
shapes, so every size shows the same picture. Standard library only; run from any folder:
    python3 dist/icons/draw_icon.py
The picture: the marquee page's dark blue tile with comments of the keyword colours sliding
in from the right, each trailing its motion streak.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "res", "chrome"))
from draw_chrome import over, rgba, rounded_rect, write_png  # noqa: E402

VIEW = 256                     # the shapes' coordinate space
SIZES = (16, 22, 24, 32, 48, 64, 128, 256, 512)
NAME = "kestrelon"

# (x0, y0, x1, y1, radius, colour, alpha), painted in order. Colours: the tile is the marquee
# page's #003366; the comments are white, the "ｷﾀ" orange and the "ﾊｧﾊｧ" pink of the strip.
SHAPES = [
    (12, 12, 244, 244, 52, "#0a2540", 1.0),
    (18, 18, 238, 238, 46, "#003366", 1.0),
    # streaks first, so the comments cover their heads
    (40, 74, 92, 80, 3, "#9fd3ff", 0.55),
    (58, 90, 100, 96, 3, "#9fd3ff", 0.35),
    (30, 126, 60, 132, 3, "#ffb84d", 0.55),
    (44, 142, 70, 148, 3, "#ffb84d", 0.35),
    (78, 178, 118, 184, 3, "#ff8fd0", 0.55),
    (92, 194, 128, 200, 3, "#ff8fd0", 0.35),
    # the comments
    (100, 66, 222, 104, 19, "#ffffff", 1.0),
    (66, 118, 200, 156, 19, "#ff9900", 1.0),
    (134, 170, 226, 208, 19, "#ff66cc", 1.0),
]
SUPERSAMPLE = 4


def render(size):
    scale = size / VIEW
    layers = []
    for x0, y0, x1, y1, radius, colour, alpha in SHAPES:
        box = (int(x0 * scale), int(y0 * scale), min(size, int(x1 * scale) + 1),
               min(size, int(y1 * scale) + 1))
        layers.append((box, rounded_rect(x0 * scale, y0 * scale, x1 * scale, y1 * scale,
                                         radius * scale), rgba(colour, alpha)))
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            colour = (0.0, 0.0, 0.0, 0.0)
            for (bx0, by0, bx1, by1), inside, (r, g, b, a) in layers:
                if not (bx0 <= px < bx1 and by0 <= py < by1):
                    continue
                hits = sum(1 for sy in range(n) for sx in range(n)
                           if inside(px + (sx + 0.5) / n, py + (sy + 0.5) / n))
                if hits:
                    colour = over(colour, (r, g, b, a * hits / (n * n)))
            row.append(tuple(int(round(c * 255)) for c in colour))
        rows.append(row)
    return rows


def svg():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
             % (VIEW, VIEW, VIEW, VIEW)]
    for x0, y0, x1, y1, radius, colour, alpha in SHAPES:
        opacity = '' if alpha >= 1 else ' fill-opacity="%g"' % alpha
        lines.append('  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"%s/>'
                     % (x0, y0, x1 - x0, y1 - y0, radius, colour, opacity))
    lines.append('</svg>')
    return "\n".join(lines) + "\n"


def main():
    path = os.path.join(HERE, NAME + ".svg")
    with open(path, "w", encoding="utf-8") as f:
        f.write(svg())
    print(path)
    for size in SIZES:
        path = os.path.join(HERE, "%s-%d.png" % (NAME, size))
        write_png(path, size, size, render(size))
        print(path)


if __name__ == "__main__":
    main()
