#!/usr/bin/env python3
"""Writes the port's own skin sheets into resources/data as 8-bit BMP files.

Every sheet is drawn here from plain shapes: bevelled button faces, one cell per
state, and picture cells. Run it from anywhere; it rewrites the files it owns.

    python3 resources/mkskin.py
"""
import os
import struct

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
# Sheets only the tests use stay out of the game binary.
TEST_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "resources", "data")


def bmp8(width, height, pixels, palette):
    """An 8-bit BMP file image: pixels top-down (rows of width indices), palette of
    (r, g, b) tuples, padded to 256 entries."""
    palette = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    stride = (width + 3) & ~3
    rows = b"".join(bytes(pixels[y]) + b"\0" * (stride - width) for y in reversed(range(height)))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + table + rows


def write(name, data, folder=DATA):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# Palette entries the sheets share.
BLACK, WHITE, DARK, LIGHT = 0, 1, 2, 3
PALETTE = [
    (0, 0, 0),        # 0 black
    (255, 255, 255),  # 1 white: bevel light
    (64, 64, 64),     # 2 bevel dark
    (224, 224, 224),  # 3 inner light
    (96, 144, 208),   # 4 normal face
    (160, 160, 160),  # 5 disabled face
    (48, 96, 176),    # 6 pressed face
    (32, 64, 128),    # 7 held-down face
    (96, 192, 112),   # 8 focused face
    (224, 192, 64),   # 9 default face
    (200, 40, 40),    # 10 picture red
    (40, 160, 60),    # 11 picture green
    (240, 220, 160),  # 12 picture frame
]


def bevel_cell(w, h, face, pressed):
    """A face of w x h: a two-pixel bevel, raised or pressed in, over a flat fill."""
    top, bottom = (DARK, WHITE) if pressed else (WHITE, DARK)
    inner_top, inner_bottom = (BLACK, LIGHT) if pressed else (LIGHT, BLACK)
    cell = [[face] * w for _ in range(h)]
    for i, (t, b) in enumerate(((top, bottom), (inner_top, inner_bottom))):
        for x in range(i, w - i):
            cell[i][x] = t
            cell[h - 1 - i][x] = b
        for y in range(i, h - i):
            cell[y][i] = t
            cell[y][w - 1 - i] = b
        cell[h - 1 - i][i] = b
        cell[i][w - 1 - i] = t
    return cell


def button_sheet(w, h):
    """Six cells side by side: normal, disabled, pressed, held down, focused, default."""
    faces = [(4, False), (5, False), (6, True), (7, True), (8, False), (9, False)]
    cells = [bevel_cell(w, h, f, p) for f, p in faces]
    return [sum((c[y] for c in cells), []) for y in range(h)]


def picture_sheet(w, h, fills):
    """Cells side by side, each a fill inside a one-pixel frame."""
    rows = []
    for y in range(h):
        row = []
        for fill in fills:
            for x in range(w):
                edge = x in (0, w - 1) or y in (0, h - 1)
                row.append(12 if edge else fill)
        rows.append(row)
    return rows


def main():
    write("SkinTestButton.bmp", bmp8(6 * 40, 20, button_sheet(40, 20), PALETTE), TEST_DATA)
    write("SkinTestPicture.bmp", bmp8(2 * 64, 48, picture_sheet(64, 48, [10, 11]), PALETTE), TEST_DATA)


if __name__ == "__main__":
    main()
