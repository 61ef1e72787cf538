#!/usr/bin/env python3
"""Writes the event stage's own resources into resources/data as 8-bit BMP files:
the eight 8x8 dissolve brushes BRUSH0..BRUSH7, the menu bar, the menu bar's button
sheet and the frame strips' picture.

    python3 resources/mkstage.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mkskin import bmp8, bevel_cell, write  # noqa: E402

# Brush k has this many white pixels; each brush's black pixels hold the ones before.
BRUSH_WHITE = [60, 56, 48, 32, 24, 16, 8, 4]


def bayer(x, y):
    """The 8x8 ordered-dither threshold 0..63; values below 32 form a checkerboard."""
    v, a, b = 0, x ^ y, y
    for bit in range(3):
        v = (v << 1) | ((a >> bit) & 1)
        v = (v << 1) | ((b >> bit) & 1)
    return v


def brush(white):
    black = 64 - white
    return [[1 if bayer(x, y) >= black else 0 for x in range(8)] for y in range(8)]


# Palette of the stage's skin pictures.
STAGE_PALETTE = [
    (0, 0, 0),        # 0 black
    (255, 255, 255),  # 1 white
    (64, 48, 40),     # 2 bevel dark
    (236, 224, 200),  # 3 inner light
    (176, 120, 72),   # 4 button face
    (150, 140, 130),  # 5 disabled face
    (140, 90, 50),    # 6 pressed face
    (120, 76, 40),    # 7 held-down face
    (56, 36, 64),     # 8 bar top
    (120, 84, 132),   # 9 bar bottom
    (216, 180, 96),   # 10 bar rule
    (88, 60, 100),    # 11 frame strip
]


def menu_bar(w, h):
    rows = []
    for y in range(h):
        t = y / (h - 1)
        c = 8 if (y * 7) % h < h * (1 - t) * 0.9 + 1 else 9
        row = [c] * w
        if y == h - 2:
            row = [10] * w
        if y == h - 1:
            row = [2] * w
        rows.append(row)
    return rows


def main():
    for k, white in enumerate(BRUSH_WHITE):
        write("BRUSH%d.bmp" % k, bmp8(8, 8, brush(white), [(0, 0, 0), (255, 255, 255)]))
    write("StageMenuBar.bmp", bmp8(648, 36, menu_bar(648, 36), STAGE_PALETTE))
    faces = [(4, False), (5, False), (6, True), (7, True)]
    cells = [bevel_cell(60, 16, f, p) for f, p in faces]
    sheet = [sum((c[y] for c in cells), []) for y in range(16)]
    write("StageButton.bmp", bmp8(4 * 60, 16, sheet, STAGE_PALETTE))
    write("StageFrame.bmp", bmp8(4, 4, [[11] * 4 for _ in range(4)], STAGE_PALETTE))


if __name__ == "__main__":
    main()
