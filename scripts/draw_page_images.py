#!/usr/bin/env python3
"""Draws the images of the embedded result pages and writes them as GIF files.

    python3 scripts/draw_page_images.py [OUTPUT_FOLDER]

The default output folder is resources/pages beside this script's folder. Only
the standard library is used: every image is described as layers of shapes
given by signed distance functions (negative inside), rendered with a one-pixel
anti-aliasing ramp, flattened onto the white page colour, reduced to a palette
of at most 255 colours plus one transparent entry, and encoded as GIF89a with
LZW compression. The output is deterministic: running the script again gives
byte-identical files.
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Shapes: each is a function (x, y) -> signed distance in pixels, plus a
# bounding box so that rendering can skip pixels far away from it.
# ---------------------------------------------------------------------------


class Shape:
    def __init__(self, dist, box):
        self.dist = dist
        self.box = box  # (x0, y0, x1, y1)


def _box_of(points, pad):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def _segment_distance(px, py, ax, ay, bx, by):
    """Distance to segment AB and the position t (0..1) of the nearest point."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    if length2 == 0.0:
        t = 0.0
    else:
        t = ((px - ax) * dx + (py - ay) * dy) / length2
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.sqrt(qx * qx + qy * qy), t


def stroke(points, width_from, width_to=None):
    """A polyline drawn with round ends; the width may taper from start to end."""
    if width_to is None:
        width_to = width_from
    if len(points) == 1:
        points = [points[0], points[0]]
    # Cumulative length so that the taper follows the whole path.
    cumulative = [0.0]
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        cumulative.append(cumulative[-1] + math.hypot(bx - ax, by - ay))
    total = cumulative[-1] or 1.0
    segments = []
    for i, ((ax, ay), (bx, by)) in enumerate(zip(points, points[1:])):
        r0 = (width_from + (width_to - width_from) * cumulative[i] / total) / 2.0
        r1 = (width_from + (width_to - width_from) * cumulative[i + 1] / total) / 2.0
        segments.append((ax, ay, bx, by, r0, r1))

    def dist(x, y):
        best = 1e9
        for ax, ay, bx, by, r0, r1 in segments:
            d, t = _segment_distance(x, y, ax, ay, bx, by)
            d -= r0 + (r1 - r0) * t
            if d < best:
                best = d
        return best

    return Shape(dist, _box_of(points, max(width_from, width_to) / 2.0 + 1.0))


def disc(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))


def ring(cx, cy, r, width):
    return Shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0,
                 (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def ellipse(cx, cy, rx, ry, angle_deg=0.0):
    """A filled ellipse, optionally turned by angle_deg (clockwise on screen)."""
    c, s = math.cos(math.radians(angle_deg)), math.sin(math.radians(angle_deg))
    small = min(rx, ry)

    def dist(x, y):
        dx, dy = x - cx, y - cy
        u = dx * c + dy * s
        v = -dx * s + dy * c
        # Scaled radial distance: exact on the axes, close enough elsewhere
        # for a one-pixel edge ramp.
        return (math.hypot(u / rx, v / ry) - 1.0) * small

    big = max(rx, ry) + 1
    return Shape(dist, (cx - big, cy - big, cx + big, cy + big))


def polygon(points):
    """A filled polygon (any simple polygon, either winding)."""
    edges = list(zip(points, points[1:] + points[:1]))

    def dist(x, y):
        best = 1e9
        inside = False
        for (ax, ay), (bx, by) in edges:
            d, _ = _segment_distance(x, y, ax, ay, bx, by)
            best = min(best, d)
            if (ay > y) != (by > y):
                cross_x = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < cross_x:
                    inside = not inside
        return -best if inside else best

    return Shape(dist, _box_of(points, 1.0))


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def dist(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return Shape(dist, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))


def rect_outline(x0, y0, x1, y1, radius, width):
    inner = rounded_rect(x0, y0, x1, y1, radius)
    return Shape(lambda x, y: abs(inner.dist(x, y)) - width / 2.0,
                 (x0 - width - 1, y0 - width - 1, x1 + width + 1, y1 + width + 1))


def subtract(shape, hole):
    return Shape(lambda x, y: max(shape.dist(x, y), -hole.dist(x, y)), shape.box)


def intersect(a, b):
    box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
           min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))
    return Shape(lambda x, y: max(a.dist(x, y), b.dist(x, y)), box)


def union(*shapes):
    box = (min(s.box[0] for s in shapes), min(s.box[1] for s in shapes),
           max(s.box[2] for s in shapes), max(s.box[3] for s in shapes))
    return Shape(lambda x, y: min(s.dist(x, y) for s in shapes), box)


# Path helpers producing point lists (screen coordinates, y down).


def bezier(p0, p1, p2, p3, steps=16):
    out = []
    for i in range(steps + 1):
        t = i / steps
        a = (1 - t) ** 3
        b = 3 * (1 - t) ** 2 * t
        c = 3 * (1 - t) * t * t
        d = t ** 3
        out.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return out


def arc(cx, cy, rx, ry, from_deg, to_deg, steps=24):
    """Points on an elliptic arc; angles counter-clockwise as seen on screen."""
    out = []
    for i in range(steps + 1):
        a = math.radians(from_deg + (to_deg - from_deg) * i / steps)
        out.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return out


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------

PAGE_WHITE = (255, 255, 255)


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        # Straight (not premultiplied) RGBA in floats, fully transparent at first.
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, colour, opacity=1.0):
        r, g, b = hex_colour(colour) if isinstance(colour, str) else colour
        x0 = max(0, int(math.floor(shape.box[0])))
        y0 = max(0, int(math.floor(shape.box[1])))
        x1 = min(self.width, int(math.ceil(shape.box[2])) + 1)
        y1 = min(self.height, int(math.ceil(shape.box[3])) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = shape.dist(x + 0.5, y + 0.5)
                cover = 0.5 - d
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                self._blend(x, y, r, g, b, cover * opacity)

    def _blend(self, x, y, r, g, b, a):
        p = self.pixels[y * self.width + x]
        out_a = a + p[3] * (1.0 - a)
        if out_a <= 0.0:
            return
        keep = p[3] * (1.0 - a)
        p[0] = (r * a + p[0] * keep) / out_a
        p[1] = (g * a + p[1] * keep) / out_a
        p[2] = (b * a + p[2] * keep) / out_a
        p[3] = out_a

    def indexed(self, alpha_cut=0.35):
        """Flattens onto the page white and builds a palette (index 0 transparent)."""
        flat = []
        for r, g, b, a in self.pixels:
            if a < alpha_cut:
                flat.append(None)
                continue
            flat.append(tuple(int(round(c * a + w * (1.0 - a)))
                              for c, w in zip((r, g, b), PAGE_WHITE)))
        step = 1
        while True:
            quantised = [None if c is None else
                         tuple(min(255, int(round(v / step)) * step) for v in c)
                         for c in flat]
            colours = sorted({c for c in quantised if c is not None})
            if len(colours) <= 255:
                break
            step *= 2
        has_transparency = any(c is None for c in quantised)
        palette = ([(255, 255, 255)] if has_transparency else []) + colours
        lookup = {c: i + (1 if has_transparency else 0) for i, c in enumerate(colours)}
        indices = [0 if c is None else lookup[c] for c in quantised]
        return palette, indices, (0 if has_transparency else None)


# ---------------------------------------------------------------------------
# GIF89a encoder
# ---------------------------------------------------------------------------


def _lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table = fresh_table()
    code_size = min_code_size + 1
    next_code = end + 1
    emit(clear, code_size)
    current = (indices[0],)
    for value in indices[1:]:
        extended = current + (value,)
        if extended in table:
            current = extended
            continue
        emit(table[current], code_size)
        # The decoder adds its entries one code later than the encoder, so the
        # code width grows once the entry just added needs the wider width.
        table[extended] = next_code
        if next_code == (1 << code_size) and code_size < 12:
            code_size += 1
        next_code += 1
        if next_code == 4096:
            emit(clear, code_size)
            table = fresh_table()
            code_size = min_code_size + 1
            next_code = end + 1
        current = (value,)
    emit(table[current], code_size)
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def encode_gif(width, height, palette, indices, transparent_index):
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    table_size = 1 << bits
    colours = list(palette) + [(0, 0, 0)] * (table_size - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    for r, g, b in colours:
        data += bytes((r, g, b))
    if transparent_index is not None:
        data += bytes((0x21, 0xF9, 4, 0x01, 0, 0, transparent_index, 0))
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = max(2, bits)
    data.append(min_code_size)
    compressed = _lzw_encode(indices, min_code_size)
    for i in range(0, len(compressed), 255):
        block = compressed[i:i + 255]
        data.append(len(block))
        data += block
    data += b"\x00\x3B"
    return bytes(data)


# ---------------------------------------------------------------------------
# A small monoline typeface for the two wordmarks. Glyphs are drawn in units of
# the x-height, baseline at 0 and y pointing up; each glyph is a list of
# strokes (point lists) and an advance width.
# ---------------------------------------------------------------------------


def _u_arc(cx, cy, rx, ry, a0, a1, steps=28):
    return [(cx + rx * math.cos(math.radians(a)), cy + ry * math.sin(math.radians(a)))
            for a in (a0 + (a1 - a0) * i / steps for i in range(steps + 1))]


def _u_bez(p0, p1, p2, p3, steps=14):
    return bezier(p0, p1, p2, p3, steps)


GLYPHS = {
    "T": ([[(0.0, 1.4), (1.0, 1.4)], [(0.5, 1.4), (0.5, 0.0)]], 1.0),
    "Q": ([_u_arc(0.65, 0.7, 0.65, 0.7, 0, 360, 40), [(0.85, 0.28), (1.3, -0.15)]], 1.3),
    "e": ([[(0.03, 0.5), (0.92, 0.5)] + _u_arc(0.475, 0.5, 0.445, 0.5, 0, 318)], 0.95),
    "a": ([_u_arc(0.42, 0.5, 0.42, 0.5, 0, 360), [(0.84, 1.0), (0.84, 0.0)]], 0.84),
    "s": ([_u_bez((0.74, 0.86), (0.62, 1.02), (0.1, 1.04), (0.1, 0.76))
           + _u_bez((0.1, 0.76), (0.1, 0.5), (0.76, 0.56), (0.76, 0.26))[1:]
           + _u_bez((0.76, 0.26), (0.76, -0.04), (0.18, -0.03), (0.04, 0.16))[1:]], 0.8),
    "r": ([[(0.0, 1.0), (0.0, 0.0)],
           _u_bez((0.0, 0.6), (0.08, 0.9), (0.32, 1.02), (0.58, 0.96))], 0.58),
    "v": ([[(0.0, 1.0), (0.43, 0.0), (0.86, 1.0)]], 0.86),
    "i": ([[(0.0, 0.0), (0.0, 1.0)], [(0.0, 1.36), (0.0, 1.37)]], 0.0),
    "n": ([[(0.0, 1.0), (0.0, 0.0)],
           _u_bez((0.0, 0.62), (0.06, 0.9), (0.24, 1.0), (0.42, 1.0))
           + _u_bez((0.42, 1.0), (0.68, 1.0), (0.8, 0.86), (0.8, 0.6))[1:]
           + [(0.8, 0.0)]], 0.8),
    "u": ([[(0.8, 1.0), (0.8, 0.0)],
           [(0.0, 1.0)] + _u_bez((0.0, 0.4), (0.0, 0.14), (0.12, 0.0), (0.38, 0.0))
           + _u_bez((0.38, 0.0), (0.62, 0.0), (0.76, 0.12), (0.8, 0.38))[1:]], 0.8),
    "l": ([[(0.0, 0.0), (0.0, 1.5)]], 0.0),
    "o": ([_u_arc(0.45, 0.5, 0.45, 0.5, 0, 360)], 0.9),
    "y": ([[(0.0, 1.0), (0.44, 0.04)],
           [(0.88, 1.0), (0.3, -0.3)]
           + _u_bez((0.3, -0.3), (0.25, -0.42), (0.15, -0.49), (0.0, -0.46))[1:]], 0.88),
}

KERNING = {("T", "e"): -0.22, ("T", "a"): -0.2}
LETTER_GAP = 0.36


def text_width(text, size, weight):
    width = 0.0
    for i, ch in enumerate(text):
        width += GLYPHS[ch][1] * size
        if i + 1 < len(text):
            width += (LETTER_GAP + KERNING.get((ch, text[i + 1]), 0.0)) * size + weight
    return width + weight


def draw_text(canvas, text, left, baseline, size, weight, colour):
    x = left + weight / 2.0
    for i, ch in enumerate(text):
        strokes, advance = GLYPHS[ch]
        for points in strokes:
            screen = [(x + u * size, baseline - v * size) for u, v in points]
            canvas.fill(stroke(screen, weight), colour)
        x += advance * size
        if i + 1 < len(text):
            x += (LETTER_GAP + KERNING.get((ch, text[i + 1]), 0.0)) * size + weight


# ---------------------------------------------------------------------------
# The images. One palette of colours keeps them consistent.
# ---------------------------------------------------------------------------

INK = "#222831"
SEAL_RED = "#C0272D"
LINK_BLUE = "#1D4FA8"
GREY = "#9A9A9A"
PETAL = "#F5B3C8"
PETAL_DEEP = "#E07A9E"
GOLD = "#F2C230"


def draw_speaker(with_sound):
    c = Canvas(16, 16)
    colour = LINK_BLUE if with_sound else GREY
    body = union(rounded_rect(1.5, 5.5, 5.5, 10.5, 0.8),
                 polygon([(4.5, 5.5), (9.5, 1.5), (9.5, 14.5), (4.5, 10.5)]))
    c.fill(body, colour)
    if with_sound:
        c.fill(stroke(arc(9.0, 8.0, 3.2, 3.2, -50, 50, 12), 1.3), colour)
        c.fill(stroke(arc(9.0, 8.0, 5.8, 5.8, -52, 52, 16), 1.3), colour)
    return c


def draw_arrow(colour):
    c = Canvas(12, 12)
    c.fill(polygon([(2.5, 1.5), (10.5, 6.0), (2.5, 10.5)]), colour)
    return c


def draw_exclamation():
    c = Canvas(16, 16)
    corners = [(8.0, 1.2), (15.2, 14.5), (0.8, 14.5)]
    outline = stroke(corners + corners[:1], 1.8)
    c.fill(union(polygon(corners), outline), "#E8A317")
    c.fill(polygon([(8.0, 2.6), (13.8, 13.6), (2.2, 13.6)]), GOLD)
    c.fill(stroke([(8.0, 5.6), (8.0, 9.6)], 1.9, 1.4), INK)
    c.fill(disc(8.0, 11.9, 1.05), INK)
    return c


def draw_circle():
    c = Canvas(28, 28)
    c.fill(ring(14.0, 14.0, 12.2, 2.0), SEAL_RED)
    c.fill(ring(14.0, 14.0, 8.8, 1.0), SEAL_RED)
    c.fill(disc(14.0, 14.0, 3.2), SEAL_RED)
    for angle in (45, 135, 225, 315):
        a = math.radians(angle)
        c.fill(disc(14.0 + 10.5 * math.cos(a), 14.0 + 10.5 * math.sin(a), 0.9), SEAL_RED)
    return c


def draw_blossom():
    c = Canvas(20, 20)
    cx, cy = 10.0, 10.0
    petals = []
    for k in range(5):
        a = math.radians(-90 + 72 * k)
        petals.append(disc(cx + 4.6 * math.cos(a), cy + 4.6 * math.sin(a), 4.4))
    flower = union(*petals)
    c.fill(flower, PETAL_DEEP)
    inner = Shape(lambda x, y: flower.dist(x, y) + 1.0, flower.box)
    c.fill(inner, PETAL)
    c.fill(disc(cx, cy, 2.2), GOLD)
    for k in range(5):
        a = math.radians(-54 + 72 * k)
        c.fill(disc(cx + 2.9 * math.cos(a), cy + 2.9 * math.sin(a), 0.7), "#D98B1F")
    return c


def draw_petal():
    c = Canvas(20, 20)
    body = ellipse(10.0, 10.5, 5.6, 7.6, 28.0)
    # The notch at the petal's outer end, turned with the petal.
    a = math.radians(28.0)
    nx, ny = 10.0 + 7.9 * math.sin(a), 10.5 - 7.9 * math.cos(a)
    petal = subtract(body, disc(nx, ny, 1.9))
    c.fill(petal, PETAL_DEEP)
    c.fill(Shape(lambda x, y: petal.dist(x, y) + 0.9, petal.box), PETAL)
    # A deeper blush towards the base.
    bx, by = 10.0 - 5.0 * math.sin(a), 10.5 + 5.0 * math.cos(a)
    c.fill(intersect(petal, disc(bx, by, 3.6)), PETAL_DEEP, 0.55)
    return c


def _brush_wen(canvas, left, top, size, colour):
    """The character for 'writing' as four brush strokes in a size x size box."""

    def p(u, v):
        return (left + u * size, top + v * size)

    w = size / 16.0
    canvas.fill(stroke([p(0.46, 0.04), p(0.55, 0.17)], 1.4 * w, 2.3 * w), colour)
    canvas.fill(stroke([p(0.08, 0.31), p(0.5, 0.295), p(0.9, 0.28)], 1.6 * w, 1.9 * w), colour)
    canvas.fill(stroke([p(0.9, 0.28), p(0.94, 0.31)], 2.2 * w), colour)
    canvas.fill(stroke(bezier(p(0.7, 0.33), p(0.62, 0.62), p(0.42, 0.84), p(0.06, 0.97), 18),
                       2.1 * w, 0.5 * w), colour)
    canvas.fill(stroke(bezier(p(0.3, 0.36), p(0.42, 0.66), p(0.66, 0.86), p(0.92, 0.94), 18),
                       1.0 * w, 2.6 * w), colour)
    canvas.fill(stroke([p(0.86, 0.93), p(0.97, 0.95)], 1.4 * w), colour)


def draw_seal(canvas, left, top, size):
    canvas.fill(rounded_rect(left, top, left + size, top + size, size * 0.08), SEAL_RED)
    inset = size * 0.08
    canvas.fill(rect_outline(left + inset, top + inset, left + size - inset,
                             top + size - inset, size * 0.04, max(1.0, size / 40.0)), "#FFFFFF")
    margin = size * 0.2
    _brush_wen(canvas, left + margin, top + margin, size - 2 * margin, "#FFFFFF")


def draw_logo():
    c = Canvas(128, 60)
    draw_seal(c, 4.0, 7.0, 46.0)
    size, weight = 8.0, 1.6
    width = text_width("Quillory", size, weight)
    left = 55.0 + (128.0 - 55.0 - width) / 2.0
    draw_text(c, "Quillory", left, 35.0, size, weight, INK)
    c.fill(stroke([(left + 1.0, 44.0), (left + width - 1.0, 44.0)], 1.0), SEAL_RED)
    return c


def draw_wordmark():
    size, weight = 13.0, 2.3
    width = text_width("Tessaravin", size, weight)
    c = Canvas(int(math.ceil(width)) + 30, 36)
    c.fill(rounded_rect(3.0, 5.0, 19.0, 21.0, 1.5), SEAL_RED)
    c.fill(disc(11.0, 13.0, 3.4), "#FFFFFF")
    c.fill(disc(11.0, 13.0, 1.7), SEAL_RED)
    draw_text(c, "Tessaravin", 25.0, 25.0, size, weight, LINK_BLUE)
    c.fill(stroke([(25.0, 31.5), (25.0 + width, 31.5)], 1.2), SEAL_RED)
    return c


def draw_pencil():
    c = Canvas(16, 16)
    # The pencil lies along the diagonal from the lower left to the upper right.
    def along(t, side):
        ax, ay, bx, by = 2.0, 14.0, 14.0, 2.0
        nx, ny = 0.7071, 0.7071
        return (ax + (bx - ax) * t + nx * side, ay + (by - ay) * t + ny * side)

    half = 2.1
    c.fill(polygon([along(0.22, -half), along(0.82, -half), along(0.82, half), along(0.22, half)]),
           GOLD)
    c.fill(polygon([along(0.22, 0.0), along(0.22, half), along(0.82, half), along(0.82, 0.0)]),
           "#D9A21B")
    c.fill(polygon([along(0.82, -half), along(0.97, -half + 0.6), along(0.97, half - 0.6),
                    along(0.82, half)]), PETAL_DEEP)
    c.fill(polygon([along(0.22, -half), along(0.22, half), along(0.0, 0.0)]), "#E9C9A0")
    c.fill(polygon([along(0.08, -0.75), along(0.08, 0.75), along(0.0, 0.0)]), INK)
    return c


def draw_brush():
    c = Canvas(16, 16)
    c.fill(stroke([(14.2, 1.8), (7.6, 8.4)], 2.2), "#8B5A2B")
    c.fill(stroke([(8.4, 7.6), (7.0, 9.0)], 2.8), GREY)
    c.fill(stroke(bezier((7.2, 8.8), (5.5, 10.5), (3.5, 12.0), (1.6, 14.6), 10), 3.2, 0.6), INK)
    return c


def draw_stroke_order(size):
    """A writing-practice square with a brush stroke: the stroke-order link icon."""
    c = Canvas(size, size)
    s = float(size)
    edge = 0.5 + s / 40.0
    c.fill(rounded_rect(edge, edge, s - edge, s - edge, s * 0.1), "#FFF7F2")
    mid = s / 2.0
    dash = max(1.5, s / 10.0)
    t = edge + 1.5
    while t < s - edge - 1.0:
        end = min(t + dash, s - edge - 1.5)
        c.fill(stroke([(mid, t), (mid, end)], 0.8), "#F0A0A0")
        c.fill(stroke([(t, mid), (end, mid)], 0.8), "#F0A0A0")
        t += dash * 2.0
    c.fill(rect_outline(edge, edge, s - edge, s - edge, s * 0.1, max(1.0, s / 18.0)), SEAL_RED)
    k = s / 18.0
    c.fill(stroke(bezier((4.0 * k, 4.2 * k), (7.0 * k, 8.0 * k), (10.0 * k, 11.5 * k),
                         (14.2 * k, 13.6 * k), 14), 1.2 * k, 3.4 * k), INK)
    c.fill(stroke([(13.2 * k, 13.4 * k), (14.6 * k, 13.8 * k)], 1.6 * k), INK)
    return c


IMAGES = {
    "logo.gif": draw_logo,
    "tessaravin.gif": draw_wordmark,
    "circle.gif": draw_circle,
    "face.gif": draw_blossom,
    "face2.gif": draw_petal,
    "speaker.gif": lambda: draw_speaker(True),
    "speaker2.gif": lambda: draw_speaker(False),
    "write.gif": draw_pencil,
    "write2.gif": draw_brush,
    "write3.gif": lambda: draw_stroke_order(24),
    "write3_2.gif": lambda: draw_stroke_order(18),
    "arrow.gif": lambda: draw_arrow(LINK_BLUE),
    "arrow2.gif": lambda: draw_arrow("#E02020"),
    "exclamation.gif": draw_exclamation,
}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[1] if len(argv) > 1 else os.path.join(here, "..", "resources", "pages")
    os.makedirs(folder, exist_ok=True)
    for name, draw in IMAGES.items():
        canvas = draw()
        palette, indices, transparent = canvas.indexed()
        data = encode_gif(canvas.width, canvas.height, palette, indices, transparent)
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
        print(f"{name}: {canvas.width}x{canvas.height}, {len(palette)} colours, {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
