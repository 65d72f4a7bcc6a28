#!/usr/bin/env python3
"""Draws the program's icon: the character 人 in two cream brush strokes on a
red rounded square. Writes OUT/quillory.svg and OUT/quillory-N.png for each
size N given, both from the one shape below (no image library needed)."""
import math
import struct
import sys
import zlib

BACKGROUND = (0xB3, 0x26, 0x1E)
INK = (0xFB, 0xF3, 0xE4)
CORNER = 0.18  # corner radius, in units of the side
# Strokes as (x0, y0, x1, y1, width) in units of the side, drawn with round ends.
STROKES = [(0.52, 0.18, 0.22, 0.80, 0.12), (0.47, 0.44, 0.80, 0.80, 0.13)]


def svg():
    rect = (f'<rect width="256" height="256" rx="{CORNER * 256:g}" '
            f'fill="#{bytes(BACKGROUND).hex()}"/>')
    lines = "".join(
        f'<line x1="{x0 * 256:g}" y1="{y0 * 256:g}" x2="{x1 * 256:g}" y2="{y1 * 256:g}" '
        f'stroke-width="{w * 256:g}"/>' for x0, y0, x1, y1, w in STROKES)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
            f'{rect}<g stroke="#{bytes(INK).hex()}" stroke-linecap="round">{lines}</g></svg>\n')


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - x0 - t * dx, py - y0 - t * dy)


def inside_square(x, y):
    cx = min(max(x, CORNER), 1 - CORNER)
    cy = min(max(y, CORNER), 1 - CORNER)
    return math.hypot(x - cx, y - cy) <= CORNER


def pixel(size, px, py, samples=4):
    """Colour and coverage of one pixel, averaged over samples x samples points."""
    square = ink = 0
    for sy in range(samples):
        for sx in range(samples):
            x = (px + (sx + 0.5) / samples) / size
            y = (py + (sy + 0.5) / samples) / size
            if inside_square(x, y):
                square += 1
                if any(segment_distance(x, y, *s[:4]) <= s[4] / 2 for s in STROKES):
                    ink += 1
    if square == 0:
        return (0, 0, 0, 0)
    colour = [round((b * (square - ink) + i * ink) / square) for b, i in zip(BACKGROUND, INK)]
    return (*colour, round(255 * square / samples ** 2))


def png(size):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(size, x, y)) for x in range(size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def main():
    out = sys.argv[1]
    with open(f"{out}/quillory.svg", "w") as f:
        f.write(svg())
    for size in map(int, sys.argv[2:]):
        with open(f"{out}/quillory-{size}.png", "wb") as f:
            f.write(png(size))


if __name__ == "__main__":
    main()
