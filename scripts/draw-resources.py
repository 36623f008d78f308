#!/usr/bin/env python3
"""Draws the images under resources/images with the standard library only.

Run once after changing a drawing; the images are committed, so builds never need Python:
    python3 scripts/draw-resources.py
The chromaticity diagram (HorseShoe.png) is computed from the CIE 1931 colour-matching
functions in data/cie1931-2deg-1nm.txt and fills the plot rectangle exactly: x = 0 .. 0.9 from
left to right and y = 0 .. 0.9 from bottom to top, as the diagrams that draw it on expect.
"""
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "images")


class Canvas:
    """RGBA canvas drawn with supersampling so that edges come out smooth."""

    def __init__(self, width, height, ss=4, background=(0, 0, 0, 0)):
        self.w, self.h, self.ss = width, height, ss
        self.W, self.H = width * ss, height * ss
        self.px = [list(background) for _ in range(self.W * self.H)]

    def _blend(self, i, colour):
        r, g, b, a = colour
        if a >= 255:
            self.px[i] = [r, g, b, 255]
            return
        dst = self.px[i]
        fa = a / 255.0
        out_a = fa + dst[3] / 255.0 * (1 - fa)
        if out_a <= 0:
            return
        for c in range(3):
            dst[c] = int((colour[c] * fa + dst[c] * dst[3] / 255.0 * (1 - fa)) / out_a + 0.5)
        dst[3] = int(out_a * 255 + 0.5)

    def polygon(self, points, colour):
        """Even-odd scanline fill; points in output pixels."""
        pts = [(x * self.ss, y * self.ss) for x, y in points]
        n = len(pts)
        ymin = max(0, int(min(p[1] for p in pts)))
        ymax = min(self.H - 1, int(max(p[1] for p in pts)) + 1)
        for yy in range(ymin, ymax + 1):
            yc = yy + 0.5
            xs = []
            for k in range(n):
                x1, y1 = pts[k]
                x2, y2 = pts[(k + 1) % n]
                if (y1 <= yc < y2) or (y2 <= yc < y1):
                    xs.append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for xx in range(max(0, int(a + 0.5)), min(self.W, int(b + 0.5))):
                    self._blend(yy * self.W + xx, colour)

    def ellipse(self, cx, cy, rx, ry, colour, steps=96):
        self.polygon([(cx + rx * math.cos(2 * math.pi * k / steps), cy + ry * math.sin(2 * math.pi * k / steps))
                      for k in range(steps)], colour)

    def rect(self, x, y, w, h, colour):
        self.polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], colour)

    def line(self, x1, y1, x2, y2, width, colour):
        dx, dy = x2 - x1, y2 - y1
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x1 + nx, y1 + ny), (x2 + nx, y2 + ny), (x2 - nx, y2 - ny), (x1 - nx, y1 - ny)], colour)

    def polyline(self, points, width, colour):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], width, colour)

    def pixels(self):
        """Downsampled RGBA rows (premultiplied averaging so edges do not darken)."""
        rows = []
        s2 = self.ss * self.ss
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r = g = b = a = 0
                for sy in range(self.ss):
                    base = (y * self.ss + sy) * self.W + x * self.ss
                    for sx in range(self.ss):
                        p = self.px[base + sx]
                        r += p[0] * p[3]
                        g += p[1] * p[3]
                        b += p[2] * p[3]
                        a += p[3]
                if a:
                    row += bytes((r // a, g // a, b // a, a // s2))
                else:
                    row += b"\0\0\0\0"
            rows.append(bytes(row))
        return rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + r for r in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def write_bmp(path, width, height, rgb_rows):
    """24-bit bottom-up BMP."""
    pad = (4 - width * 3 % 4) % 4
    body = bytearray()
    for row in reversed(rgb_rows):
        for x in range(width):
            r, g, b = row[x]
            body += bytes((b, g, r))
        body += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def save(canvas, name):
    write_png(os.path.join(OUT, name), canvas.w, canvas.h, canvas.pixels())


# ---- the pictures ---------------------------------------------------------------------------

def background():
    # A calm light blue-gray wash: every dialog is drawn on it, so it must not fight with text.
    w, h = 320, 240
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = (0.65 * y / (h - 1) + 0.35 * x / (w - 1))
            row.append((int(246 - 22 * t), int(248 - 16 * t), int(252 - 6 * t)))
        rows.append(row)
    write_bmp(os.path.join(OUT, "background.bmp"), w, h, rows)


def window_icon():
    c = Canvas(64, 64)
    c.ellipse(32, 32, 30, 30, (40, 60, 90, 255))
    # three overlapping primaries: what the program measures
    c.ellipse(25, 26, 13, 13, (235, 60, 60, 210))
    c.ellipse(39, 26, 13, 13, (60, 200, 90, 210))
    c.ellipse(32, 38, 13, 13, (70, 110, 240, 210))
    c.ellipse(32, 31, 4, 4, (255, 255, 255, 255))
    save(c, "windows.png")


def arrow(name, up):
    c = Canvas(32, 32)
    if up:
        pts = [(16, 5), (28, 19), (20, 19), (20, 27), (12, 27), (12, 19), (4, 19)]
    else:
        pts = [(16, 27), (28, 13), (20, 13), (20, 5), (12, 5), (12, 13), (4, 13)]
    c.polygon(pts, (45, 110, 190, 255))
    save(c, name)


def message_icon():
    c = Canvas(48, 48)
    c.ellipse(24, 24, 22, 22, (35, 105, 200, 255))
    c.ellipse(24, 13, 3.2, 3.2, (255, 255, 255, 255))
    c.rect(21, 19, 6, 18, (255, 255, 255, 255))
    save(c, "msg.png")


def tips_icon():
    c = Canvas(48, 48)
    c.polygon([(24, 3), (46, 43), (2, 43)], (240, 170, 30, 255))
    c.rect(21.5, 15, 5, 16, (60, 40, 10, 255))
    c.ellipse(24, 36.5, 3, 3, (60, 40, 10, 255))
    save(c, "tips.png")


def display_with_probe(c, x, y, w, h, screen):
    c.rect(x, y, w, h, (50, 55, 65, 255))
    c.rect(x + 6, y + 6, w - 12, h - 12, screen)
    c.rect(x + w / 2 - 12, y + h, 24, 14, (50, 55, 65, 255))
    c.rect(x + w / 2 - 36, y + h + 14, 72, 6, (50, 55, 65, 255))
    # the probe, pressed against the centre of the screen
    c.ellipse(x + w / 2, y + h / 2, 18, 18, (30, 30, 30, 255))
    c.ellipse(x + w / 2, y + h / 2, 11, 11, (90, 90, 95, 255))


def calibration_help():
    # Reference instrument and probe measure the same four patches (R, G, B, W) in turn.
    c = Canvas(480, 200, ss=2, background=(250, 251, 253, 255))
    patches = [(230, 40, 40, 255), (40, 190, 70, 255), (45, 80, 230, 255), (245, 245, 245, 255)]
    for k, colour in enumerate(patches):
        display_with_probe(c, 14 + k * 118, 30, 100, 100, colour)
        if k < 3:
            c.polygon([(118 + k * 118, 74), (128 + k * 118, 80), (118 + k * 118, 86)], (80, 80, 80, 255))
    c.rect(14, 170, 452, 4, (45, 110, 190, 255))
    save(c, "calihelp.png")


def download_help():
    # PC -> cable -> probe: the coefficients travel into a memory channel of the probe.
    c = Canvas(480, 200, ss=2, background=(250, 251, 253, 255))
    c.rect(30, 40, 150, 100, (50, 55, 65, 255))
    c.rect(38, 48, 134, 84, (200, 220, 245, 255))
    for k in range(4):
        c.rect(50, 60 + k * 17, 110 - k * 18, 8, (45, 110, 190, 255))
    c.rect(90, 140, 30, 14, (50, 55, 65, 255))
    c.rect(65, 154, 80, 6, (50, 55, 65, 255))
    c.polyline([(180, 110), (240, 110), (260, 80), (330, 80)], 4, (80, 80, 80, 255))
    c.polygon([(300, 68), (322, 80), (300, 92)], (45, 110, 190, 255))
    c.ellipse(390, 80, 48, 48, (30, 30, 30, 255))
    c.ellipse(390, 80, 30, 30, (90, 90, 95, 255))
    for k in range(10):
        c.rect(344 + k * 9.5, 150, 6, 18, (60, 180, 90, 255) if k == 3 else (180, 185, 195, 255))
    save(c, "downloadhelp.png")


def read_cmf():
    rows = []
    with open(os.path.join(ROOT, "data", "cie1931-2deg-1nm.txt")) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 4 and not line.startswith("#"):
                rows.append((int(parts[0]), float(parts[1]), float(parts[2]), float(parts[3])))
    return rows


def srgb_from_xy(x, y):
    """Brightest displayable sRGB colour of a chromaticity (out-of-gamut values clipped)."""
    if y <= 0:
        return (0, 0, 0)
    X, Y, Z = x / y, 1.0, (1 - x - y) / y
    r = 3.2404542 * X - 1.5371385 * Y - 0.4985314 * Z
    g = -0.9692660 * X + 1.8760108 * Y + 0.0415560 * Z
    b = 0.0556434 * X - 0.2040259 * Y + 1.0572252 * Z
    lo = min(r, g, b)
    if lo < 0:  # desaturate towards white until displayable
        r, g, b = r - lo, g - lo, b - lo
    hi = max(r, g, b) or 1.0
    out = []
    for v in (r / hi, g / hi, b / hi):
        v = 12.92 * v if v <= 0.0031308 else 1.055 * v ** (1 / 2.4) - 0.055
        out.append(max(0, min(255, int(v * 255 + 0.5))))
    return tuple(out)


def horseshoe():
    size = 600
    span = 0.9
    locus = []
    for nm, xb, yb, zb in read_cmf():
        if nm > 700:  # the locus stands still beyond 700 nm
            break
        s = xb + yb + zb
        locus.append((xb / s, yb / s))
    to_px = [(x / span * size, (1 - y / span) * size) for x, y in locus]
    # fill: scanline over the locus closed by the purple line, colour per pixel
    rows = []
    n = len(to_px)
    for py in range(size):
        yc = py + 0.5
        xs = []
        for k in range(n):
            x1, y1 = to_px[k]
            x2, y2 = to_px[(k + 1) % n]
            if (y1 <= yc < y2) or (y2 <= yc < y1):
                xs.append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
        xs.sort()
        row = bytearray(b"\0\0\0\0" * size)
        for a, b in zip(xs[0::2], xs[1::2]):
            for px in range(max(0, int(a + 0.5)), min(size, int(b + 0.5))):
                r, g, bb = srgb_from_xy((px + 0.5) / size * span, (1 - yc / size) * span)
                row[px * 4:px * 4 + 4] = bytes((r, g, bb, 255))
        rows.append(bytes(row))
    write_png(os.path.join(OUT, "HorseShoe.png"), size, size, rows)
    # outline drawn over the fill
    c = Canvas(size, size, ss=2)
    c.polyline(to_px + [to_px[0]], 1.6, (40, 40, 40, 255))
    outline = c.pixels()
    merged = []
    for fill_row, line_row in zip(rows, outline):
        out = bytearray(fill_row)
        for i in range(0, len(out), 4):
            a = line_row[i + 3]
            if a:
                fa = a / 255.0
                for ch in range(3):
                    out[i + ch] = int(line_row[i + ch] * fa + out[i + ch] * (1 - fa))
                out[i + 3] = max(out[i + 3], a)
        merged.append(bytes(out))
    write_png(os.path.join(OUT, "HorseShoe.png"), size, size, merged)


def main():
    os.makedirs(OUT, exist_ok=True)
    background()
    window_icon()
    arrow("arr1.png", up=False)
    arrow("arr2.png", up=True)
    message_icon()
    tips_icon()
    calibration_help()
    download_help()
    horseshoe()


if __name__ == "__main__":
    main()
