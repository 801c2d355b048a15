#!/usr/bin/env python3
"""Checks what a screenshot shows.

    check_shot.py SHOT.png ITEM...

Each ITEM is one of
    size=WxH                  the picture is W by H pixels
    text=X,Y,W,H,RRGGBB       the area (picture coordinates) holds pixels of that colour
                              (each channel within TOLERANCE), as text drawn in it leaves
Items may also come from a file, one a line, named as @FILE (a missing file adds none).
There must be a size and at least one text area; the picture must not be all one colour.
The pixels are read through ImageMagick's convert.
"""
import subprocess
import sys

TOLERANCE = 8     # antialiased glyphs keep some pixels at their ink, within rounding
MIN_PIXELS = 5    # fewer is a stray pixel, not text


def read_ppm(path):
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                          stdout=subprocess.PIPE).stdout
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("unexpected picture format")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def items_of(args):
    for arg in args:
        if arg.startswith("@"):
            try:
                with open(arg[1:], encoding="utf-8-sig") as f:
                    for line in f:
                        if line.strip():
                            yield line.strip()
            except FileNotFoundError:
                pass
        else:
            yield arg


def main():
    shot = sys.argv[1]
    width, height, pixels = read_ppm(shot)
    problems = []
    sizes, texts = [], []
    for item in items_of(sys.argv[2:]):
        kind, _, value = item.partition("=")
        if kind == "size":
            w, h = (int(v) for v in value.split("x"))
            sizes.append((w, h))
        elif kind == "text":
            x, y, w, h, ink = value.split(",")
            texts.append((int(x), int(y), int(w), int(h), ink.lower()))
        else:
            problems.append("unknown check %r" % item)
    if not sizes:
        problems.append("no size to check")
    if not texts:
        problems.append("no text area to check")
    for w, h in sizes:
        if (w, h) != (width, height):
            problems.append("the picture is %dx%d, the window %dx%d" % (width, height, w, h))
    if len(set(pixels[i:i + 3] for i in range(0, len(pixels), 3))) < 2:
        problems.append("the picture is all one colour")
    inked = []
    for x, y, w, h, ink in texts:
        want = bytes.fromhex(ink)
        hits = 0
        for row in range(max(y, 0), min(y + h, height)):
            for column in range(max(x, 0), min(x + w, width)):
                i = (row * width + column) * 3
                if all(abs(pixels[i + c] - want[c]) <= TOLERANCE for c in range(3)):
                    hits += 1
        area = "the area %dx%d+%d+%d holds %d pixels of #%s" % (w, h, x, y, hits, ink)
        (problems if hits < MIN_PIXELS else inked).append(area)
    for p in problems:
        print("%s: %s" % (shot, p))
    if problems:
        return 1
    print("%s: %dx%d; %s" % (shot, width, height, "; ".join(inked)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
