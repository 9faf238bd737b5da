#!/usr/bin/env python3
"""Draws mVorbel's icon and writes app/resources/mvorbel.ico: 16x16 and 32x32, 32-bit BGRA.

The design: a dark blue screen with a monitor stand, and on it a white arrow bending back on
itself (restart), with a small green check mark in the corner (the chosen system).
Run it again after changing the drawing; the .ico is committed beside the resource script.
"""
import math
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / 'app' / 'resources' / 'mvorbel.ico'

CLEAR = (0, 0, 0, 0)
FRAME = (0x30, 0x30, 0x38, 0xff)
SCREEN = (0x1e, 0x4f, 0xa8, 0xff)
ARROW = (0xff, 0xff, 0xff, 0xff)
CHECK = (0x2e, 0xc8, 0x4a, 0xff)


def draw(size):
    """Rows of RGBA pixels, top row first, drawn in a 32-unit design space."""
    k = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def inside(x, y, left, top, right, bottom):
        return left <= x < right and top <= y < bottom

    for py in range(size):
        for px in range(size):
            x, y = (px + 0.5) / k, (py + 0.5) / k
            colour = CLEAR
            if inside(x, y, 1, 3, 31, 25):
                colour = FRAME
            if inside(x, y, 3, 5, 29, 23):
                colour = SCREEN
            if inside(x, y, 13, 25, 19, 28) or inside(x, y, 8, 28, 24, 30):
                colour = FRAME
            # The restart arrow: an open ring around (15, 14) ending in a head at the top.
            r = math.hypot(x - 15, y - 14)
            angle = math.degrees(math.atan2(y - 14, x - 15)) % 360
            if 4.0 <= r <= 6.5 and not 250 <= angle <= 320:
                colour = ARROW
            if inside(x, y, 15, 5.5, 20, 11.5) and (x - 15) <= (y - 5.5) * 0.9 + 0.5 \
                    and (x - 15) <= (11.5 - y) * 0.9 + 0.5:
                colour = ARROW
            # The check mark, bottom right of the screen.
            if inside(x, y, 20, 14, 29, 23):
                on_short = abs((y - 18.5) - (x - 21)) <= 1.3 and x <= 23.5
                on_long = abs((y - 21) + (x - 23.5)) <= 1.3 and x >= 23
                if on_short or on_long:
                    colour = CHECK
            pixels[py][px] = colour
    return pixels


def dib(pixels):
    """A 32-bit icon image: the header (double height for the mask), BGRA bottom-up, AND mask."""
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def icon(sizes):
    images = [dib(draw(size)) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


if __name__ == '__main__':
    OUT.parent.mkdir(parents=True, exist_ok=True)
    OUT.write_bytes(icon([16, 32]))
    print(f'wrote {OUT}')
