#!/usr/bin/env python3
"""Redraws Korvane's .ico files into the directory this script lives in.

Each picture is built from a few filled polygons on an 8x supersampled
canvas and box-filtered down, which gives anti-aliased alpha at the edges.
Only the standard library is used, so the icons can be rebuilt anywhere.

Coordinates are in a 32x32 design space; a 16x16 image of the same picture
is drawn with scale 0.5. Outlines meant to be crisp sit on pixel centres
(n + 0.5) and are one unit wide.
"""
import contextlib
import math
import os
import struct

SS = 8  # subpixels per pixel along each axis

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, size, scale=1.0):
        self.size = size
        self.n = size * SS
        self.k = SS * scale  # design unit -> subpixel
        self.ox = self.oy = 0.0  # subpixel offset, for drawing a picture shrunk
        self.px = bytearray(self.n * self.n * 4)

    @contextlib.contextmanager
    def zoom(self, f, cx, cy):
        """Draw at f times the size, with the design centre (16, 16) moved to (cx, cy)."""
        saved = self.k, self.ox, self.oy
        self.ox += (cx - 16 * f) * self.k
        self.oy += (cy - 16 * f) * self.k
        self.k *= f
        try:
            yield
        finally:
            self.k, self.ox, self.oy = saved

    def pixel_rect(self, x, y, w, h, color):
        """Fill whole output pixels, for pictures drawn on the pixel grid."""
        u = SS / self.k
        self.rect(x * u, y * u, (x + w) * u, (y + h) * u, color)

    # --- primitives -------------------------------------------------------

    def polygon(self, pts, color):
        """Nonzero-winding fill. color is (r, g, b) or f(x, y) -> (r, g, b)."""
        k = self.k
        p = [(x * k + self.ox, y * k + self.oy) for x, y in pts]
        edges = []
        for i in range(len(p)):
            (x0, y0), (x1, y1) = p[i], p[(i + 1) % len(p)]
            if y0 == y1:
                continue
            d = 1
            if y0 > y1:
                x0, y0, x1, y1, d = x1, y1, x0, y0, -1
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), d))
        if not edges:
            return
        top = max(0, math.floor(min(e[0] for e in edges)))
        bottom = min(self.n, math.ceil(max(e[1] for e in edges)))
        for sy in range(top, bottom):
            yc = sy + 0.5
            xs = sorted((x0 + (yc - y0) * s, d)
                        for y0, y1, x0, s, d in edges if y0 <= yc < y1)
            wind = 0
            start = 0.0
            for x, d in xs:
                before = wind
                wind += d
                if before == 0 and wind != 0:
                    start = x
                elif before != 0 and wind == 0:
                    self._span(sy, start, x, color)

    def _span(self, sy, xa, xb, color):
        a = max(0, math.ceil(xa - 0.5))
        b = min(self.n, math.ceil(xb - 0.5))
        if a >= b:
            return
        row = sy * self.n * 4
        if callable(color):
            inv = 1.0 / self.k
            y = (sy + 0.5 - self.oy) * inv
            for sx in range(a, b):
                r, g, bl = color((sx + 0.5 - self.ox) * inv, y)
                i = row + 4 * sx
                self.px[i:i + 4] = bytes((clamp(r), clamp(g), clamp(bl), 255))
        else:
            self.px[row + 4 * a:row + 4 * b] = bytes((*color, 255)) * (b - a)

    def rect(self, x0, y0, x1, y1, color):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], color)

    def ellipse(self, cx, cy, rx, ry, color, segments=72):
        self.polygon([(cx + rx * math.cos(2 * math.pi * i / segments),
                       cy + ry * math.sin(2 * math.pi * i / segments))
                      for i in range(segments)], color)

    def circle(self, cx, cy, r, color):
        self.ellipse(cx, cy, r, r, color)

    def outline(self, pts, width, color):
        """Stroke a closed polygon with mitred corners (bevelled when very sharp)."""
        h = width / 2
        m = len(pts)
        normals = []
        for i in range(m):
            (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % m]
            ln = math.hypot(x1 - x0, y1 - y0) or 1.0
            normals.append((-(y1 - y0) / ln, (x1 - x0) / ln))
        miters = []
        for i in range(m):
            (ax, ay), (bx, by) = normals[i - 1], normals[i]
            sx, sy = ax + bx, ay + by
            ls = math.hypot(sx, sy)
            if ls < 1e-6:
                miters.append((bx * h, by * h))
                continue
            sx, sy = sx / ls, sy / ls
            cos = sx * bx + sy * by
            length = min(h / max(cos, 1e-6), 3 * h)
            miters.append((sx * length, sy * length))
        for i in range(m):
            j = (i + 1) % m
            (px, py), (qx, qy) = pts[i], pts[j]
            (mx, my), (nx, ny) = miters[i], miters[j]
            self.polygon([(px + mx, py + my), (qx + nx, qy + ny),
                          (qx - nx, qy - ny), (px - mx, py - my)], color)

    def shape(self, pts, fill, edge=BLACK, width=1.0):
        self.polygon(pts, fill)
        self.outline(pts, width, edge)

    def line(self, x0, y0, x1, y1, width, color):
        ln = math.hypot(x1 - x0, y1 - y0) or 1.0
        nx, ny = -(y1 - y0) / ln * width / 2, (x1 - x0) / ln * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                      (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)

    def polyline(self, pts, width, color):
        """Open stroke with round joins and butt ends, as a pen would draw it."""
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            self.line(x0, y0, x1, y1, width, color)
        for x, y in pts[1:-1]:
            self.circle(x, y, width / 2, color)

    # --- output -----------------------------------------------------------

    def pixels(self):
        """Top-down rows of (r, g, b, a), box-filtered from the subpixels."""
        n, px, full = self.n, self.px, SS * SS
        rows = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = count = 0
                for sy in range(y * SS, y * SS + SS):
                    base = (sy * n + x * SS) * 4
                    for i in range(base, base + SS * 4, 4):
                        if px[i + 3]:
                            r += px[i]
                            g += px[i + 1]
                            b += px[i + 2]
                            count += 1
                if count:
                    row.append((r // count, g // count, b // count,
                                (255 * count + full // 2) // full))
                else:
                    row.append((0, 0, 0, 0))
            rows.append(row)
        return rows


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vgrad(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0))


def dgrad(c0, c1, lo=0.0, hi=64.0):
    """Light from the top left: shade along x + y."""
    return lambda x, y: mix(c0, c1, (x + y - lo) / (hi - lo))


def bezier(p0, p1, p2, steps):
    return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
             (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1])
            for t in (i / steps for i in range(steps + 1))]


# --- pictures -------------------------------------------------------------

def draw_page(c, x0=7.5, y0=3.5, x1=25.5, y1=28.5, fold=6, width=1.0, edge=BLACK):
    c.shape([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], WHITE,
            edge, width)
    c.shape([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], (192, 192, 192),
            edge, width)


def new_file(c):
    draw_page(c)


def open_folder(c):
    edge = (64, 40, 0)
    # back of the folder, with its tab
    c.shape([(2.5, 28.5), (2.5, 7.5), (4.5, 5.5), (11.5, 5.5), (13.5, 7.5),
             (25.5, 7.5), (25.5, 28.5)], (204, 153, 0), edge)
    # two sheets standing inside
    c.shape([(7.5, 5.5), (19.5, 2.5), (23.5, 17.5), (11.5, 20.5)], (232, 232, 232), (96, 96, 96))
    c.shape([(10.5, 3.5), (23.5, 3.5), (23.5, 18.5), (10.5, 18.5)], WHITE, (96, 96, 96))
    for y in (7, 10, 13):
        c.line(13, y, 21, y, 1, (128, 128, 160))
    # front flap, swung open towards the viewer
    c.shape([(8.5, 14.5), (30.5, 14.5), (25.5, 28.5), (2.5, 28.5)],
            vgrad(14.5, (255, 236, 120), 28.5, (236, 184, 0)), edge)
    c.line(9.5, 15.7, 29, 15.7, 1, (255, 255, 200))


def floppy(c):
    body = [(3.5, 3.5), (25.5, 3.5), (28.5, 6.5), (28.5, 28.5), (3.5, 28.5)]
    c.shape(body, (24, 40, 112))
    c.line(4.5, 4, 4.5, 28, 1, (64, 88, 168))  # soft highlight on the left
    # metal shutter with its window
    c.shape([(9.5, 3.5), (22.5, 3.5), (22.5, 12.5), (9.5, 12.5)],
            vgrad(3.5, (232, 232, 232), 12.5, (150, 150, 150)))
    c.rect(17, 5, 20, 11, (24, 40, 112))
    # paper label
    c.shape([(7.5, 16.5), (24.5, 16.5), (24.5, 28.5), (7.5, 28.5)], WHITE)
    for y in (20, 23):
        c.line(9.5, y + 0.5, 22.5, y + 0.5, 1, (160, 176, 224))


ARROW_LEFT = [(3.0, 16.0), (15.5, 3.5), (15.5, 10.5), (28.5, 10.5),
              (28.5, 21.5), (15.5, 21.5), (15.5, 28.5)]


def arrow(c, pts):
    c.shape(pts, dgrad((224, 224, 224), (112, 112, 112), 12, 48), (48, 48, 48))


def arrow_left(c):
    arrow(c, ARROW_LEFT)


def arrow_down(c):
    arrow(c, [(y, 32 - x) for x, y in ARROW_LEFT])


CYAN_EDGE = (0, 56, 72)
CYAN_LIGHT = (176, 255, 255)
CYAN_MID = (0, 210, 230)
CYAN_DARK = (0, 130, 160)


def cube(c):
    top, left, right = (16.5, 2.5), (4.5, 8.5), (28.5, 8.5)
    mid, bl, br, bottom = (16.5, 14.5), (4.5, 22.5), (28.5, 22.5), (16.5, 28.5)
    c.shape([top, right, mid, left], CYAN_LIGHT, CYAN_EDGE)
    c.shape([left, mid, bottom, bl], CYAN_MID, CYAN_EDGE)
    c.shape([mid, right, br, bottom], CYAN_DARK, CYAN_EDGE)


def star(c):
    cx, cy, outer, inner = 16.0, 16.0, 14.5, 5.5
    pts = []
    for i in range(8):
        a = math.pi / 4 * i - math.pi / 2
        r = outer if i % 2 == 0 else inner
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    # each point has a lit half and a shaded half, so it reads as faceted
    for i in range(8):
        tip, side = (pts[i], pts[i + 1]) if i % 2 == 0 else (pts[(i + 1) % 8], pts[i])
        lit = (cx - side[0]) + (cy - side[1]) > 0
        c.polygon([(cx, cy), tip, side], CYAN_LIGHT if lit else CYAN_MID)
    c.outline(pts, 1.0, CYAN_EDGE)


PLUS = [(10.5, 2.5), (18.5, 2.5), (18.5, 10.5), (26.5, 10.5), (26.5, 18.5),
        (18.5, 18.5), (18.5, 26.5), (10.5, 26.5), (10.5, 18.5), (2.5, 18.5),
        (2.5, 10.5), (10.5, 10.5)]


def plus_block(c):
    dx = dy = 3.0
    # the sides facing down and right are the ones the extrusion shows
    for i in range(len(PLUS)):
        (x0, y0), (x1, y1) = PLUS[i], PLUS[(i + 1) % len(PLUS)]
        nx, ny = y1 - y0, -(x1 - x0)  # outward normal (points run clockwise)
        if nx * dx + ny * dy <= 0:
            continue
        c.shape([(x0, y0), (x1, y1), (x1 + dx, y1 + dy), (x0 + dx, y0 + dy)],
                CYAN_DARK if nx > 0 else CYAN_MID, CYAN_EDGE)
    c.shape(PLUS, dgrad(CYAN_LIGHT, (60, 230, 245), 12, 40), CYAN_EDGE)


def exclamation(c):
    edge = (112, 0, 0)
    fill = lambda x, y: mix((255, 80, 64), (196, 0, 0), (x - 10) / 12)
    bar = [(11.5, 3.5), (12.5, 2.5), (19.5, 2.5), (20.5, 3.5), (18.5, 19.5), (13.5, 19.5)]
    c.shape(bar, fill, edge)
    c.circle(16, 25.5, 4.5, edge)
    c.circle(16, 25.5, 3.5, fill)
    c.line(13.8, 4.5, 15.0, 16.5, 1.2, (255, 176, 160))  # glint
    c.circle(14.7, 24.3, 1.0, (255, 176, 160))


PAINT = ((255, 228, 48), (255, 150, 16), (236, 56, 32))  # the brush's three bands


def brush_stroke(c, narrow=False):
    """Tapered diagonal sweep, banded yellow / orange / red across its width."""
    p0, p1, p2 = (0.0, 29.0), (12.0, 22.0), (32.0, 3.0)
    centre = bezier(p0, p1, p2, 48)
    left, right = [], []
    for i, (x, y) in enumerate(centre):
        t = i / (len(centre) - 1)
        a, b = centre[max(i - 1, 0)], centre[min(i + 1, len(centre) - 1)]
        ln = math.hypot(b[0] - a[0], b[1] - a[1])
        nx, ny = -(b[1] - a[1]) / ln, (b[0] - a[0]) / ln
        w = (5.5 if narrow else 7.0) * math.sin(math.pi * (0.1 + 0.88 * t)) ** 0.6
        left.append((x + nx * w, y + ny * w))
        right.append((x - nx * w, y - ny * w))
    ax, ay = p2[0] - p0[0], p2[1] - p0[1]
    ln = math.hypot(ax, ay)
    nx, ny = -ay / ln, ax / ln

    def bands(x, y):
        s = (x - 16) * nx + (y - 16) * ny  # offset across the stroke
        edge = 0.75 if narrow else 1.0
        return PAINT[0] if s < -2.2 * edge else PAINT[1] if s < 1.6 * edge else PAINT[2]

    c.polygon(left + right[::-1], bands)


INK = (0, 0, 104)


def letters_asm(c, width, color):
    top, bottom = 10.0, 24.5
    c.polyline([(2.3, bottom), (6.0, top), (9.7, bottom)], width, color)
    c.line(3.9, 19.3, 8.1, 19.3, width * 0.85, color)
    # S from two elliptical bowls, the lower one a little larger
    cx, rx = 16.0, 3.2
    r1, r2 = 3.0, 3.5
    cy1, cy2 = top + r1, top + 2 * r1 + r2
    path = []
    for i in range(21):  # upper bowl: from the right terminal over the top to the middle
        a = math.radians(25 + 245 * i / 20)
        path.append((cx + rx * math.cos(a), cy1 - r1 * math.sin(a)))
    for i in range(1, 21):  # lower bowl: from the middle round to the left terminal
        a = math.radians(90 - 245 * i / 20)
        path.append((cx + rx * math.cos(a), cy2 - r2 * math.sin(a)))
    c.polyline(path, width, color)
    c.polyline([(23.0, bottom), (23.0, top), (26.5, 18.5), (30.0, top), (30.0, bottom)],
               width, color)


# At 16x16 smooth strokes blur into each other, so the small emblem spells
# the same letters on the pixel grid.
SMALL_ASM = [
    '..#....###.#...#',
    '.#.#..#....##.##',
    '#...#.#....#.#.#',
    '#####..##..#.#.#',
    '#...#....#.#...#',
    '#...#....#.#...#',
    '#...#.###..#...#',
]


def letters_small(c, x0, y0, color):
    for dy, row in enumerate(SMALL_ASM):
        for dx, ch in enumerate(row):
            if ch == '#':
                c.pixel_rect(x0 + dx, y0 + dy, 1, 1, color)


def emblem(c, small=False):
    brush_stroke(c, narrow=small)
    if small:
        letters_small(c, 0, 5, INK)
    else:
        letters_asm(c, 4.0, WHITE)  # thin halo keeps the ink off the paint
        letters_asm(c, 3.0, INK)


def document(c, small=False):
    if small:
        # the 16x16 image is drawn at half scale: 2 units make one pixel
        draw_page(c, 1, 1, 31, 31, 10, width=2.0, edge=(96, 96, 96))
        with c.zoom(0.8, 16, 20):
            brush_stroke(c, narrow=True)
        letters_small(c, 0, 8, INK)
    else:
        draw_page(c, 4.5, 0.5, 27.5, 31.5, 7)
        with c.zoom(0.82, 16, 18):
            emblem(c)


def eye(c):
    """16x16: almond of two curves, iris and pupil, and a catch-light."""
    upper = bezier((0.8, 8.0), (8.0, -0.4), (15.2, 8.0), 24)
    lower = bezier((15.2, 8.0), (8.0, 16.4), (0.8, 8.0), 24)[1:-1]
    almond = upper + lower
    c.polygon(almond, WHITE)
    c.circle(8, 8, 3.4, (24, 72, 200))
    c.circle(8, 8, 1.6, BLACK)
    c.circle(9.1, 6.9, 0.8, WHITE)
    c.outline(almond, 1.0, BLACK)


# --- the debugger's buttons ---------------------------------------------------

GREEN_EDGE = (0, 80, 0)
STEP_BLUE = (24, 90, 210)
STEP_EDGE = (0, 40, 120)


def debug_start(c):
    c.shape([(8.5, 4.5), (27.5, 16.0), (8.5, 27.5)],
            vgrad(4.5, (120, 230, 110), 27.5, (20, 150, 30)), GREEN_EDGE)


def debug_pause(c):
    for x in (8.5, 18.5):
        c.shape([(x, 5.5), (x + 6, 5.5), (x + 6, 26.5), (x, 26.5)],
                vgrad(5.5, (120, 170, 255), 26.5, (30, 80, 200)), STEP_EDGE)


def debug_stop(c):
    c.shape([(6.5, 6.5), (25.5, 6.5), (25.5, 25.5), (6.5, 25.5)],
            vgrad(6.5, (255, 110, 90), 25.5, (190, 10, 10)), (100, 0, 0))


def arrow_head(c, x, y, dx, dy, size=5.5):
    # A triangle whose tip is at (x, y), pointing along (dx, dy).
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    bx, by = x - ux * size, y - uy * size
    c.shape([(x, y), (bx - uy * size * 0.8, by + ux * size * 0.8), (bx + uy * size * 0.8, by - ux * size * 0.8)],
            STEP_BLUE, STEP_EDGE)


def code_lines(c, lines):
    # The statements a step goes through, as grey strokes with a dot for the next one.
    for y, x0, x1 in lines:
        c.line(x0, y, x1, y, 2.0, (150, 150, 150))


def step_into(c):
    code_lines(c, [(22.5, 6, 26), (27.5, 10, 26)])
    c.polyline([(16.0, 3.0), (16.0, 13.5)], 3.0, STEP_BLUE)
    arrow_head(c, 16.0, 19.5, 0, 1)


def step_over(c):
    code_lines(c, [(22.5, 4, 14), (27.5, 4, 28)])
    arc = [(5.0 + 19.0 * t, 18.0 - 30.0 * t * (1 - t)) for t in (i / 20 for i in range(18))]
    c.polyline(arc, 3.0, STEP_BLUE)
    arrow_head(c, 25.5, 21.5, 0.45, 1)


def step_out(c):
    code_lines(c, [(22.5, 10, 28), (27.5, 10, 28)])
    c.polyline([(16.0, 24.0), (16.0, 11.0)], 3.0, STEP_BLUE)
    arrow_head(c, 16.0, 3.0, 0, -1)


def step_back(c):
    arc = [(16.0 + 10.0 * math.cos(a), 17.0 - 10.0 * math.sin(a))
           for a in (math.radians(-60 + 200 * i / 24) for i in range(25))]
    c.polyline(arc, 3.2, (230, 120, 0))
    x, y = arc[-1]
    c.shape([(x - 6.0, y + 1.5), (x + 3.5, y - 4.5), (x + 3.5, y + 7.0)], (240, 140, 20), (120, 60, 0))


def breakpoint_dot(c):
    c.circle(16, 16, 11.5, (100, 0, 0))
    c.circle(16, 16, 10.5, lambda x, y: mix((255, 110, 100), (180, 0, 10), (x + y - 12) / 30))
    c.circle(12.5, 12.5, 2.5, (255, 190, 180))


# --- ICO writer -----------------------------------------------------------

def ico_bytes(images):
    """images: list of top-down RGBA rows. Classic 32-bit DIB + 1-bit AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        stride = (size + 31) // 32 * 4
        xor, mask = bytearray(), bytearray()
        for row in reversed(rows):  # DIB rows go bottom-up
            bits = bytearray(stride)
            for x, (r, g, b, a) in enumerate(row):
                if a == 0:
                    r = g = b = 0
                    bits[x >> 3] |= 0x80 >> (x & 7)
                xor += bytes((b, g, r, a))
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        dim = size if size < 256 else 0
        entries.append(struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def render(draw, size, **kw):
    c = Canvas(size, size / 32)
    draw(c, **kw)
    return c.pixels()


def render16(draw):
    c = Canvas(16, 1.0)
    draw(c)
    return c.pixels()


def main():
    out = os.path.dirname(os.path.abspath(__file__))
    icons = {
        'i128.ico': [render(emblem, 32), render(emblem, 16, small=True)],
        'i129.ico': [render(document, 32), render(document, 16, small=True)],
        'i131.ico': [render16(eye)],
        'i135.ico': [render(new_file, 32)],
        'i137.ico': [render(open_folder, 32)],
        'i138.ico': [render(floppy, 32)],
        'i139.ico': [render(arrow_left, 32)],
        'i140.ico': [render(arrow_down, 32)],
        'i141.ico': [render(cube, 32)],
        'i142.ico': [render(star, 32)],
        'i143.ico': [render(plus_block, 32)],
        'i144.ico': [render(exclamation, 32)],
        'i147.ico': [render(emblem, 32)],
        'i160.ico': [render(debug_start, 32)],
        'i161.ico': [render(debug_pause, 32)],
        'i162.ico': [render(debug_stop, 32)],
        'i163.ico': [render(step_into, 32)],
        'i164.ico': [render(step_over, 32)],
        'i165.ico': [render(step_out, 32)],
        'i166.ico': [render(step_back, 32)],
        'i167.ico': [render(breakpoint_dot, 32)],
    }
    for name, images in icons.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(ico_bytes(images))
        print(name, ', '.join('%dx%d' % (len(i), len(i)) for i in images))


if __name__ == '__main__':
    main()
