#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's pictures into src/ui/resources/ as PNG files.

Everything is drawn here from shapes and pixel grids, so the pictures can be changed
and rebuilt without any image editor:

    python3 scripts/make-pictures.py

Standard library only (zlib and struct write the PNG files). The output is
deterministic, so rerunning it on unchanged code leaves git clean.
"""

import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "resources")

# Shapes are filled on a grid this many times finer, then averaged down: soft edges
# without a real anti-aliasing rasterizer.
SS = 4


def rgb(hex_text, alpha=255):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, alpha)


class Image:
    """RGBA picture in straight (not premultiplied) alpha."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def blend(self, x, y, color, coverage=1.0):
        if not (0 <= x < self.w and 0 <= y < self.h) or coverage <= 0:
            return
        r, g, b, a = color
        a = a / 255.0 * min(coverage, 1.0)
        dr, dg, db, da = self.px[y][x]
        da /= 255.0
        out_a = a + da * (1 - a)
        if out_a == 0:
            self.px[y][x] = (0, 0, 0, 0)
            return

        def mix(s, d):
            return round((s * a + d * da * (1 - a)) / out_a)

        self.px[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), round(out_a * 255))

    def save(self, name):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(png)


class Canvas:
    """Vector shapes in picture pixels (floats), composited onto an Image."""

    def __init__(self, image):
        self.image = image

    def polygon(self, points, color):
        """Even-odd fill of a closed polygon."""
        w, h = self.image.w, self.image.h
        cover = {}
        ys = [p[1] for p in points]
        y0 = max(0, int(math.floor(min(ys) * SS)))
        y1 = min(h * SS, int(math.ceil(max(ys) * SS)))
        edges = list(zip(points, points[1:] + points[:1]))
        for sy in range(y0, y1):
            yc = (sy + 0.5) / SS
            xs = []
            for (ax, ay), (bx, by) in edges:
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for left, right in zip(xs[0::2], xs[1::2]):
                sx0 = max(0, int(math.ceil(left * SS - 0.5)))
                sx1 = min(w * SS - 1, int(math.floor(right * SS - 0.5)))
                for sx in range(sx0, sx1 + 1):
                    key = (sx // SS, sy // SS)
                    cover[key] = cover.get(key, 0) + 1
        for (x, y), n in cover.items():
            self.image.blend(x, y, color, n / (SS * SS))

    def rect(self, x, y, w, h, color):
        self.polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], color)

    def ellipse(self, cx, cy, rx, ry, color, steps=72):
        self.polygon([(cx + rx * math.cos(2 * math.pi * i / steps),
                       cy + ry * math.sin(2 * math.pi * i / steps)) for i in range(steps)], color)

    def ring(self, cx, cy, rx, ry, width, color, steps=72):
        """Outline of an ellipse, `width` wide, centred on the ellipse's edge."""
        outer = [(cx + (rx + width / 2) * math.cos(2 * math.pi * i / steps),
                  cy + (ry + width / 2) * math.sin(2 * math.pi * i / steps)) for i in range(steps)]
        inner = [(cx + (rx - width / 2) * math.cos(2 * math.pi * i / steps),
                  cy + (ry - width / 2) * math.sin(2 * math.pi * i / steps)) for i in range(steps)]
        # One polygon going round outside and back inside: even-odd leaves the hole.
        self.polygon(outer + [outer[0]] + [inner[0]] + inner[::-1], color)

    def rounded_rect(self, x, y, w, h, r, color):
        pts = []
        for cx, cy, start in ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0),
                              (x + r, y + h - r, 90), (x + r, y + r, 180)):
            for i in range(10):
                a = math.radians(start + 9 * i)
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        self.polygon(pts, color)

    def line(self, x0, y0, x1, y1, width, color):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)

    def polyline(self, points, width, color):
        """Segments drawn as one shape, so joints are not painted twice."""
        image = Image(self.image.w, self.image.h)
        sub = Canvas(image)
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            sub.line(ax, ay, bx, by, width, (0, 0, 0, 255))
        for ax, ay in points[1:-1]:
            sub.ellipse(ax, ay, width / 2, width / 2, (0, 0, 0, 255), steps=16)
        for y in range(image.h):
            for x in range(image.w):
                a = image.px[y][x][3]
                if a:
                    self.image.blend(x, y, color, a / 255.0)


def pixel_grid(image, rows, palette, left=0, top=0):
    """Paints a grid of characters; characters missing from the palette stay untouched."""
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch in palette:
                image.blend(left + x, top + y, palette[ch])


# ---- Program icon: a small logger with its screen, trace and recording light ----------

def logger_icon(size):
    img = Image(size, size)
    c = Canvas(img)
    s = size / 32.0
    c.rounded_rect(1 * s, 3 * s, 30 * s, 26 * s, 4 * s, rgb("#1f2f4a"))
    c.rounded_rect(2 * s, 4 * s, 28 * s, 24 * s, 3 * s, rgb("#3b5a85"))
    c.rect(4 * s, 6 * s, 24 * s, 15 * s, rgb("#0a140a"))
    trace = [(5, 17), (8, 15), (11, 16), (14, 10), (17, 12), (20, 8), (23, 11), (27, 9)]
    c.polyline([(x * s, y * s) for x, y in trace], max(1.0, 1.6 * s), rgb("#3cf03c"))
    # Recording light and two keys under the screen.
    c.ellipse(8 * s, 24.5 * s, 2.6 * s, 2.6 * s, rgb("#c81414"))
    if size >= 24:
        c.ellipse(7.2 * s, 23.7 * s, 0.9 * s, 0.9 * s, rgb("#ffffff", 220))
    c.rounded_rect(15 * s, 23 * s, 5 * s, 3 * s, 1 * s, rgb("#d4d0c8"))
    c.rounded_rect(22 * s, 23 * s, 5 * s, 3 * s, 1 * s, rgb("#d4d0c8"))
    return img


# ---- Main window icon: a chart sheet with two scales and a trace -----------------------

def chart_icon(size):
    img = Image(size, size)
    c = Canvas(img)
    s = size / 32.0
    c.rect(2 * s, 2 * s, 28 * s, 28 * s, rgb("#5a5a5a"))
    c.rect(3 * s, 3 * s, 26 * s, 26 * s, rgb("#f4f1e6"))
    for k in range(1, 4):
        c.line((3 + 6.5 * k) * s, 3 * s, (3 + 6.5 * k) * s, 29 * s, max(0.6, 0.6 * s), rgb("#b8c8b8"))
        c.line(3 * s, (3 + 6.5 * k) * s, 29 * s, (3 + 6.5 * k) * s, max(0.6, 0.6 * s), rgb("#b8c8b8"))
    c.polyline([(4 * s, 22 * s), (9 * s, 18 * s), (13 * s, 20 * s), (18 * s, 9 * s), (22 * s, 13 * s),
                (28 * s, 6 * s)], max(1.0, 1.8 * s), rgb("#c00000"))
    c.polyline([(4 * s, 26 * s), (10 * s, 25 * s), (16 * s, 23 * s), (22 * s, 24 * s), (28 * s, 21 * s)],
               max(1.0, 1.4 * s), rgb("#008000"))
    return img


# ---- Mail icon: an envelope with a green stamp ----------------------------------------

def mail_icon(size):
    img = Image(size, size)
    c = Canvas(img)
    s = size / 32.0
    c.rect(2 * s, 7 * s, 28 * s, 19 * s, rgb("#5b4a26"))
    c.rect(3 * s, 8 * s, 26 * s, 17 * s, rgb("#fbf3dc"))
    w = max(1.0, 1.1 * s)
    c.line(4 * s, 24 * s, 13 * s, 16 * s, w, rgb("#c9b98f"))
    c.line(28 * s, 24 * s, 19 * s, 16 * s, w, rgb("#c9b98f"))
    c.polyline([(3 * s, 8.5 * s), (16 * s, 18 * s), (29 * s, 8.5 * s)], w, rgb("#5b4a26"))
    if size >= 24:
        c.rect(22 * s, 10 * s, 5 * s, 5 * s, rgb("#008000"))
        c.rect(23 * s, 11 * s, 3 * s, 3 * s, rgb("#7fd07f"))
    return img


# ---- Web banner: a globe and the program's name on a green band ------------------------

FONT5X7 = {
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "I": ["111", "010", "010", "010", "010", "010", "111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def pixel_text(image, text, left, top, color, shadow=None):
    x = left
    for ch in text:
        glyph = FONT5X7[ch]
        rows = [row.replace("1", "#").replace("0", " ") for row in glyph]
        if shadow:
            pixel_grid(image, rows, {"#": shadow}, x + 1, top + 1)
        pixel_grid(image, rows, {"#": color}, x, top)
        x += len(glyph[0]) + 1
    return x


def web_banner():
    img = Image(70, 30)
    c = Canvas(img)
    top, bottom = (0x0e, 0x5a, 0x24), (0x2b, 0x8c, 0x43)
    for y in range(30):
        t = y / 29
        c.rect(0, y, 70, 1, tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,))
    c.rect(0, 0, 70, 1, rgb("#073014"))
    c.rect(0, 29, 70, 1, rgb("#073014"))
    c.rect(0, 0, 1, 30, rgb("#073014"))
    c.rect(69, 0, 1, 30, rgb("#073014"))
    # Globe.
    c.ellipse(14, 15, 10.5, 10.5, rgb("#1d5fb4"))
    c.ellipse(12.5, 12.5, 6, 6, rgb("#3c84d8"))
    grid = rgb("#d8e8ff", 200)
    c.ring(14, 15, 10.5, 10.5, 1.0, rgb("#d8e8ff"))
    c.ring(14, 15, 4.5, 10.5, 0.8, grid)
    c.line(14, 4.5, 14, 25.5, 0.8, grid)
    c.line(3.5, 15, 24.5, 15, 0.8, grid)
    c.line(5.5, 9.5, 22.5, 9.5, 0.8, grid)
    c.line(5.5, 20.5, 22.5, 20.5, 0.8, grid)
    # Name and a small trace under it.
    pixel_text(img, "ORVALIN", 28, 5, rgb("#ffffff"), shadow=rgb("#06240f"))
    Canvas(img).polyline([(28, 24), (33, 21), (38, 23), (43, 16), (48, 19), (53, 15), (58, 18), (66, 14)],
                         1.3, rgb("#f0e040"))
    return img


# ---- Hand cursor: 32 x 32, fingertip at (5, 0) -----------------------------------------

# The hand's filled shape; the outline is added around it, so a one-pixel gap between
# two fingers becomes the line that separates them.
HAND = [
    "",
    ".....oo",
    ".....oo",
    ".....oo",
    ".....oo",
    ".....oo",
    ".....oo.oo",
    ".....oo.oo.oo",
    ".....oo.oo.oo",
    ".....oo.oo.oo.oo",
    ".oo..oo.oo.oo.oo",
    ".ooo.oo.oo.oo.oo",
    "..oooooooooooooo",
    "..oooooooooooooo",
    "...ooooooooooooo",
    "...ooooooooooooo",
    "....oooooooooooo",
    "....ooooooooooo",
    ".....oooooooooo",
    ".....oooooooooo",
    ".....oooooooooo",
]


def hand_cursor():
    img = Image(32, 32)
    filled = {(x, y) for y, row in enumerate(HAND) for x, ch in enumerate(row) if ch == "o"}
    outline = set()
    for x, y in filled:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if (x + dx, y + dy) not in filled:
                outline.add((x + dx, y + dy))
    for x, y in filled:
        img.blend(x, y, rgb("#ffffff"))
    for x, y in outline:
        img.blend(x, y, rgb("#000000"))
    # The hot spot must be the tip's top-left pixel.
    assert (5, 0) in outline and not any(y < 0 or (y == 0 and x < 5) for x, y in outline)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    logger_icon(32).save("orvalin-32.png")
    logger_icon(16).save("orvalin-16.png")
    chart_icon(32).save("chart-32.png")
    chart_icon(16).save("chart-16.png")
    mail_icon(32).save("mail-32.png")
    mail_icon(16).save("mail-16.png")
    web_banner().save("web-banner.png")
    hand_cursor().save("hand-cursor.png")


if __name__ == "__main__":
    main()
