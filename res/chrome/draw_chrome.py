#!/usr/bin/env python3
"""Draws the window chrome pictures (title image, minimise and close with their pressed faces)
as RGBA PNGs at twice their 96-dpi size. Standard library only; run from any folder:
    python3 res/chrome/draw_chrome.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SCALE = 2          # pictures are drawn at 2x and scaled down by the widgets
SUPERSAMPLE = 4    # samples per axis per pixel for smooth edges


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, straight alpha."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def over(dst, src):
    """Source-over of straight-alpha colours given as floats 0..1."""
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    oa = sa + da * (1 - sa)
    if oa <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda s, d: (s * sa + d * da * (1 - sa)) / oa
    return (mix(sr, dr), mix(sg, dg), mix(sb, db), oa)


def render(width, height, layers):
    """layers: list of (coverage(x, y) -> 0..1, (r, g, b, a) floats)."""
    rows = []
    n = SUPERSAMPLE
    for py in range(height):
        row = []
        for px in range(width):
            colour = (0.0, 0.0, 0.0, 0.0)
            for coverage, (r, g, b, a) in layers:
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if coverage(px + (sx + 0.5) / n, py + (sy + 0.5) / n):
                            hits += 1
                if hits:
                    colour = over(colour, (r, g, b, a * hits / (n * n)))
            row.append(tuple(int(round(c * 255)) for c in colour))
        rows.append(row)
    return rows


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        qx, qy = ax + t * dx - x, ay + t * dy - y
        return qx * qx + qy * qy <= half_width * half_width
    return inside


def rgba(hex_colour, alpha):
    v = int(hex_colour.lstrip("#"), 16)
    return ((v >> 16 & 255) / 255, (v >> 8 & 255) / 255, (v & 255) / 255, alpha)


def title_image():
    # A dark translucent bar, stretched to any width: faint top highlight, cool accent line below.
    w, h = 8 * SCALE, 23 * SCALE
    rows = []
    for y in range(h):
        t = y / (h - 1)
        top, bottom = (0x26, 0x2d, 0x38), (0x12, 0x16, 0x1c)
        base = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
        alpha = 0.86
        if y < SCALE:
            base = tuple(min(255, c + 40) for c in base)
        if y >= h - SCALE:
            base, alpha = (0x3f, 0xb6, 0xc8), 0.85
        rows.append([base + (int(alpha * 255),)] * w)
    return w, h, rows


def picture(glyph, face, glyph_colour):
    size = 18 * SCALE
    s = SCALE
    layers = [(rounded_rect(0.5 * s, 0.5 * s, size - 0.5 * s, size - 0.5 * s, 3.5 * s), face)]
    half = 0.85 * s
    if glyph == "min":
        layers.append((segment(5.5 * s, 12 * s, 12.5 * s, 12 * s, half), glyph_colour))
    else:
        layers.append((segment(5.75 * s, 5.75 * s, 12.25 * s, 12.25 * s, half), glyph_colour))
        layers.append((segment(12.25 * s, 5.75 * s, 5.75 * s, 12.25 * s, half), glyph_colour))
    return size, size, render(size, size, layers)


def main():
    light = rgba("#dce3ea", 0.95)
    white = rgba("#ffffff", 1.0)
    idle = rgba("#ffffff", 0.10)
    outputs = {
        "Image1.png": title_image(),
        "picMin.png": picture("min", idle, light),
        "PicMinOn.png": picture("min", rgba("#3fb6c8", 0.80), white),
        "picClose.png": picture("close", idle, light),
        "PicCloseON.png": picture("close", rgba("#d2463c", 0.88), white),
    }
    for name, (w, h, rows) in outputs.items():
        write_png(os.path.join(HERE, name), w, h, rows)
        print(os.path.join(HERE, name))


if __name__ == "__main__":
    main()
