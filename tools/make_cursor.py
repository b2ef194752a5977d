#!/usr/bin/env python3
"""Draws the program's hand cursor (HAND-M.CUR) and its icon (quorvex.png).

Both pictures are drawn here from simple shapes, so they can be regenerated and changed at will:

    python3 tools/make_cursor.py resources/

The cursor is a real Windows cursor file: one 32x32 image with a 32-bit colour bitmap and its
AND mask, and the hotspot at the tip of the pointing finger. Only the standard library is used.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZE = 32

# --- the hand -----------------------------------------------------------------------------------
# Fingers as columns (left outline, right outline, first row); outlines are shared between
# neighbouring fingers. The index finger points up; its tip is the hotspot.
FINGERS = [(9, 12, 0), (12, 15, 5), (15, 18, 6), (18, 21, 8)]
KNUCKLE_ROW = 11
THUMB = {9: (5, 6), 10: (4, 7), 11: (4, 8)}
# The palm, row by row: (left edge, right edge), down to the cuff.
PALM = {12: (5, 21), 13: (5, 21), 14: (6, 21), 15: (6, 21), 16: (7, 21), 17: (7, 21),
        18: (8, 21), 19: (8, 20), 20: (9, 20), 21: (9, 19), 22: (9, 19), 23: (9, 19),
        24: (9, 19), 25: (9, 19)}
CUFF_ROWS = range(22, 26)
HOTSPOT = (10, 0)


def hand_cells():
    """The set of cells covered by the hand and the cells drawn as outline inside it."""
    cells = set()
    creases = set()
    for left, right, top in FINGERS:
        for row in range(top, KNUCKLE_ROW + 1):
            first, last = (left + 1, right - 1) if row == top else (left, right)
            cells.update((col, row) for col in range(first, last + 1))
        if left != FINGERS[0][0]:
            # the line between this finger and the one before it, down to the knuckles
            creases.update((left, row) for row in range(top + 1, KNUCKLE_ROW))
    for row, (first, last) in THUMB.items():
        cells.update((col, row) for col in range(first, last + 1))
    creases.update({(8, 10), (9, 11), (9, 12)})  # where the thumb leaves the index finger
    for row, (first, last) in PALM.items():
        cells.update((col, row) for col in range(first, last + 1))
    creases.update((col, CUFF_ROWS[0]) for col in range(PALM[22][0], PALM[22][1] + 1))
    return cells, creases


def draw_hand():
    """RGBA pixels, top row first."""
    cells, creases = hand_cells()
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    # a soft shadow down and to the right
    for col, row in cells:
        if col + 1 < SIZE and row + 1 < SIZE:
            pixels[row + 1][col + 1] = (0, 0, 0, 70)
    for col, row in cells:
        edge = any((col + dx, row + dy) not in cells
                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        if edge or (col, row) in creases:
            pixels[row][col] = (0, 0, 0, 255)
        elif row in CUFF_ROWS:
            pixels[row][col] = (70, 110, 170, 255)  # a blue cuff
        else:
            # white with a faint shading towards the right edge of the hand
            shade = 255 - max(0, col - 14) * 4
            pixels[row][col] = (shade, shade, shade, 255)
    return pixels


def cursor_file(pixels, hotspot):
    """A .CUR file holding one 32x32 32-bit image."""
    xor = bytearray()
    for row in reversed(pixels):  # bitmaps run bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for col, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - col)  # 1 = transparent
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask),
                       0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image),
                        6 + 16)
    return header + entry + image


# --- the icon -----------------------------------------------------------------------------------
ICON = 64
SAMPLES = 4  # supersampling per axis


def inside_rounded_square(x, y):
    margin, radius = 3.0, 12.0
    lo, hi = margin + radius, ICON - margin - radius
    dx = max(lo - x, 0.0, x - hi)
    dy = max(lo - y, 0.0, y - hi)
    return dx * dx + dy * dy <= radius * radius


def inside_cylinder(x, y, cx, top, bottom, rx, ry):
    """A database drum: an upright cylinder with elliptic ends."""
    in_body = abs(x - cx) <= rx and top <= y <= bottom
    in_bottom = ((x - cx) / rx) ** 2 + ((y - bottom) / ry) ** 2 <= 1.0
    in_top = ((x - cx) / rx) ** 2 + ((y - top) / ry) ** 2 <= 1.0
    return in_body or in_bottom or in_top


def on_cylinder_rim(x, y, cx, top, rx, ry, width=1.3):
    d = math.hypot((x - cx) / rx, (y - top) / ry)
    return abs(d - 1.0) * min(rx, ry) <= width / 2 and y >= top - ry


def inside_arrow(x, y):
    shaft = 26.0 <= x <= 33.0 and 29.5 <= y <= 34.5
    head = 33.0 <= x <= 40.0 and abs(y - 32.0) <= (40.0 - x)
    return shaft or head


def icon_colour(x, y):
    if not inside_rounded_square(x, y):
        return None
    t = y / ICON
    background = (int(30 + 20 * t), int(90 + 40 * t), int(160 + 30 * t))
    drums = ((16.0, 19.0, 44.0, 9.0, 3.5, (255, 255, 255)),
             (48.0, 19.0, 44.0, 9.0, 3.5, (255, 214, 120)))
    for cx, top, bottom, rx, ry, colour in drums:
        if inside_cylinder(x, y, cx, top, bottom, rx, ry):
            if on_cylinder_rim(x, y, cx, top, rx, ry):
                return (40, 70, 120)
            for band in (top + (bottom - top) / 3, top + 2 * (bottom - top) / 3):
                if abs(y - (band + ry * math.sqrt(max(0.0, 1 - ((x - cx) / rx) ** 2)))) < 0.7:
                    return (40, 70, 120)
            return colour
    if inside_arrow(x, y):
        return (240, 130, 40)
    return background


def draw_icon():
    rows = []
    for py in range(ICON):
        row = []
        for px in range(ICON):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = icon_colour(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if colour is not None:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 1
            n = SAMPLES * SAMPLES
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / total[3])) for c in total[:3]) +
                           (int(round(255 * total[3] / n)),))
        rows.append(row)
    return rows


def png_file(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in pixels)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "resources")
    out.mkdir(parents=True, exist_ok=True)
    (out / "HAND-M.CUR").write_bytes(cursor_file(draw_hand(), HOTSPOT))
    (out / "quorvex.png").write_bytes(png_file(draw_icon()))


if __name__ == "__main__":
    main()
