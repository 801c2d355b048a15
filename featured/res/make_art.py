#!/usr/bin/env python3
"""Draws pelorama's artwork: the program icon and the frame buttons' bitmaps.

    make_art.py OUTDIR

writes pelorama.ico (16 and 32 pixels, 32 bits) and one BMP per button image: the five frame
buttons at 18 by 18 pixels, 24 bits, and the forum button at 30 by 18 pixels, 16 colours.
The output depends on nothing but this file, so the checked-in files can be rebuilt and
compared byte for byte.
"""
import os
import struct
import sys

BAND = (5, 6, 8)            # the frame's dark bands, behind every button
PRESSED_GROUND = (40, 44, 52)
HOVER_GROUND = (28, 31, 38)
INK = {"normal": (200, 200, 200), "pressed": (255, 255, 255), "hover": (255, 255, 255)}
GROUND = {"normal": BAND, "pressed": PRESSED_GROUND, "hover": HOVER_GROUND}
CLOSE_HOVER_GROUND = (200, 40, 40)

# (file name, state) per bitmap resource id, as the frame uses them.
BUTTONS = {
    "close": {"normal": 131, "pressed": 130, "hover": 129},
    "minimize": {"normal": 135, "pressed": 134, "hover": 133},
    "forward": {"normal": 142, "pressed": 143, "hover": 146},
    "back": {"normal": 140, "pressed": 141, "hover": 137},
    "reload": {"normal": 147, "pressed": 139, "hover": 136},
    "forum": {"normal": 145, "pressed": 144, "hover": 138},
}


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    qx, qy = ax + t * dx, ay + t * dy
    return ((px - qx) ** 2 + (py - qy) ** 2) ** 0.5


def in_triangle(px, py, a, b, c):
    def side(p1, p2):
        return (px - p2[0]) * (p1[1] - p2[1]) - (p1[0] - p2[0]) * (py - p2[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def glyph(kind, x, y):
    """True where the glyph covers the point (pixel units, 18 by 18 canvas)."""
    if kind == "close":
        return seg_dist(x, y, 5, 5, 13, 13) < 1.1 or seg_dist(x, y, 13, 5, 5, 13) < 1.1
    if kind == "minimize":
        return 4.5 <= x <= 13.5 and 11 <= y <= 13
    if kind in ("back", "forward"):
        if kind == "forward":
            x = 18 - x
        head = in_triangle(x, y, (3.5, 9), (9.5, 3.5), (9.5, 14.5))
        shaft = 9 <= x <= 14.5 and 7.5 <= y <= 10.5
        return head or shaft
    if kind == "reload":
        r = ((x - 9) ** 2 + (y - 9) ** 2) ** 0.5
        ring = 4.2 <= r <= 6.0 and not (x > 9 and y < 9 and (x - 9) > (9 - y) * 0.2 and y < 7.5)
        head = in_triangle(x, y, (9.5, 1.8), (14.8, 5.4), (9.5, 8.2))
        return ring or head
    raise ValueError(kind)


def render_18(kind, state):
    """Rows top to bottom of (r, g, b), 4 by 4 samples per pixel."""
    ground = GROUND[state]
    if kind == "close" and state == "hover":
        ground = CLOSE_HOVER_GROUND
    ink = INK[state]
    shift = 1 if state == "pressed" else 0
    rows = []
    for py in range(18):
        row = []
        for px in range(18):
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    if glyph(kind, px - shift + (sx + 0.5) / 4, py - shift + (sy + 0.5) / 4):
                        hits += 1
            a = hits / 16.0
            row.append(tuple(int(round(g + (i - g) * a)) for g, i in zip(ground, ink)))
        rows.append(row)
    return rows


# The 16 colours of the forum bitmaps (the standard VGA set).
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# A 3 by 5 pixel font for the label "BBS".
FONT = {
    "B": ["110", "101", "110", "101", "110"],
    "S": ["011", "100", "010", "001", "110"],
}


def render_forum(state):
    """Rows of palette indices, 30 by 18: a framed "BBS" label."""
    ground, ink, edge = {"normal": (0, 7, 8), "pressed": (8, 15, 7), "hover": (0, 15, 11)}[state]
    w, h = 30, 18
    rows = [[ground] * w for _ in range(h)]
    for x in range(2, 28):
        rows[2][x] = rows[15][x] = edge
    for y in range(2, 16):
        rows[y][2] = rows[y][27] = edge
    x0, y0, scale = 5, 4, 2
    shift = 1 if state == "pressed" else 0
    for n, ch in enumerate("BBS"):
        for gy, line in enumerate(FONT[ch]):
            for gx, bit in enumerate(line):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            x = x0 + n * 7 + gx * scale + dx + shift
                            y = y0 - 0 + gy * scale + dy + shift
                            rows[y][x] = ink
    return rows


def bmp_24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40) + header + pixels


def bmp_4(rows):
    h, w = len(rows), len(rows[0])
    stride = ((w + 1) // 2 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, w, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b"\0" * (stride - len(line))
        pixels += line
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + 40 + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + palette + pixels


def icon_image(size):
    """BGRA rows of the program icon: an orange rounded tile with a white play mark."""
    s = size / 32.0
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            cov_tile = cov_mark = 0
            for sy in range(4):
                for sx in range(4):
                    x = (px + (sx + 0.5) / 4) / s
                    y = (py + (sy + 0.5) / 4) / s
                    # rounded square 2..30 with corner radius 6
                    cx = min(max(x, 8), 24)
                    cy = min(max(y, 8), 24)
                    if ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 <= 6:
                        cov_tile += 1
                        if in_triangle(x, y, (12, 8.5), (24, 16), (12, 23.5)):
                            cov_mark += 1
            a = cov_tile / 16.0
            m = cov_mark / 16.0 / a if a else 0
            tile = (235, 120, 20)
            r, g, b = (int(round(t + (255 - t) * m)) for t in tile)
            row.append((b, g, r, int(round(255 * a))))
        rows.append(row)
    return rows


def ico(sizes):
    images = []
    for size in sizes:
        rows = icon_image(size)
        xor = b"".join(bytes(p) for row in reversed(rows) for p in row)
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, header + xor + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    for kind, states in BUTTONS.items():
        for state in states:
            if kind == "forum":
                data = bmp_4(render_forum(state))
            else:
                data = bmp_24(render_18(kind, state))
            with open(os.path.join(out, "%s_%s.bmp" % (kind, state)), "wb") as f:
                f.write(data)
    with open(os.path.join(out, "pelorama.ico"), "wb") as f:
        f.write(ico([16, 32]))


if __name__ == "__main__":
    main()
