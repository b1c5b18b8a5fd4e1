#!/usr/bin/env python3
"""Draws the program's icon: a page of digest lines with a green check, 32 x 32 in 16 colours.

Writes vorlund.ico beside this script. Run it again after changing the drawing."""
import os
import struct

# The standard 16-colour palette (as BGR0 quads are written below).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREEN, NAVY, SILVER, GREY, GREEN, BLUE, WHITE = 0, 2, 4, 7, 8, 10, 12, 15
SIZE = 32

pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent


def fill(x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            pixels[y][x] = colour


# The page, with a folded top-right corner.
fill(5, 2, 24, 29, WHITE)
for y in range(2, 30):
    pixels[y][5] = BLACK
    pixels[y][24] = BLACK
for x in range(5, 25):
    pixels[29][x] = BLACK
    pixels[2][x] = BLACK
for i in range(7):  # the fold
    for x in range(24 - 6 + i, 25):
        pixels[2 + i][x] = None
    pixels[2 + i][24 - 6 + i] = BLACK
    pixels[8][24 - 6 + i] = BLACK
    pixels[2 + i][18] = BLACK
    for x in range(19, 24 - 6 + i):
        pixels[2 + i][x] = SILVER
# Digest lines on the page.
for row, length in ((6, 9), (10, 15), (14, 15), (18, 11), (22, 7)):
    fill(8, row, 8 + length - 1, row + 1, NAVY if row % 8 == 6 else GREY)
# A green check over the lower right.
check = [(17, 22), (18, 23), (19, 24), (20, 25), (21, 24), (22, 23), (23, 22), (24, 21),
         (25, 20), (26, 19), (27, 18), (28, 17), (29, 16)]
for x, y in check:
    fill(x - 1, y - 1, x + 1, y + 1, DARK_GREEN)
for x, y in check:
    pixels[y][x] = GREEN

# BITMAPINFOHEADER (height doubled for the mask), palette, 4-bit rows bottom-up, 1-bit mask.
header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
xor = b""
mask = b""
for y in reversed(range(SIZE)):
    row = pixels[y]
    for x in range(0, SIZE, 2):
        a, b = (row[x] or 0), (row[x + 1] or 0)
        xor += bytes([(a << 4) | b])
    bits = 0
    for x in range(SIZE):
        bits = (bits << 1) | (1 if row[x] is None else 0)
    mask += struct.pack(">I", bits)
image = header + palette + xor + mask
directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
    "<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "vorlund.ico")
with open(path, "wb") as f:
    f.write(directory + image)
