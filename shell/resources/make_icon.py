#!/usr/bin/env python3
"""Draws Corvane's icon (corvane.ico): four bit cells as the program draws them, a green stroke
for each set bit and a red oval for each clear bit, on a blue tile. 32x32 and 16x16, 32-bit
colour with an alpha channel plus the AND mask, so that every Windows version shows it."""
import struct
import sys

BLUE = (40, 70, 150, 255)
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
GREEN = (0, 128, 0, 255)
RED = (255, 0, 0, 255)
CLEAR = (0, 0, 0, 0)

BITS = {32: (1, 0, 1), 16: (1, 0)}  # the bits shown by the cells, most significant left


def draw(size):
    pixels = [[CLEAR] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, size)):
            for x in range(max(x0, 0), min(x1, size)):
                pixels[y][x] = colour

    # The tile, its corners cut off.
    fill(0, 0, size, size, BLUE)
    for x, y in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
        pixels[y][x] = CLEAR

    # Four cells sharing their frame lines, like the program's row of cells.
    bits = BITS[size]
    pitch = (size - 4) // len(bits)
    width = pitch + 1
    top = size // 6
    bottom = size - size // 6
    left = (size - (len(bits) * pitch + 1)) // 2
    for index, bit in enumerate(bits):
        x0 = left + index * pitch
        fill(x0, top, x0 + width, bottom, BLACK)
        fill(x0 + 1, top + 1, x0 + width - 1, bottom - 1, WHITE)
        cx = x0 + width // 2
        if bit:
            fill(cx, top + 2, cx + 1, bottom - 2, GREEN)
            if size >= 32:
                fill(cx - 1, top + 3, cx, bottom - 3, GREEN)
        else:
            ellipse(pixels, x0 + 2, top + 2, x0 + width - 2, bottom - 2, RED)
    return pixels


def ellipse(pixels, x0, y0, x1, y1, colour):
    """The outline of the ellipse inside the box (x0, y0)-(x1, y1), right and bottom excluded."""
    cx = (x0 + x1 - 1) / 2.0
    cy = (y0 + y1 - 1) / 2.0
    rx = (x1 - x0) / 2.0
    ry = (y1 - y0) / 2.0

    def inside(x, y):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0

    for y in range(y0, y1):
        for x in range(x0, x1):
            edge = any(not inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if inside(x, y) and edge:
                pixels[y][x] = colour


def bitmap(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(
        struct.pack("BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        row_bytes = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                row_bytes[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row_bytes)
    return header + colour + mask


def icon(sizes):
    images = [bitmap(draw(size)) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "corvane.ico"
    with open(target, "wb") as out:
        out.write(icon((32, 16)))
