#!/usr/bin/env python3
"""Draws the launcher's picture: a boxing ring seen from the crowd under a
spotlight, 300 x 300 pixels, 24 bits per pixel, written as PNG.
Usage: make_launcher_picture.py <output file>"""
import struct
import sys
import zlib

SIZE = 300

NIGHT = (18, 20, 34)
LIGHT = (44, 46, 70)
APRON = (120, 24, 28)
CANVAS = (214, 206, 186)
CANVAS_SHADE = (190, 182, 162)
POST = (40, 40, 48)
ROPES = [(200, 30, 30), (240, 240, 240), (30, 60, 200)]
CROWD = (30, 30, 44)

# the ring floor: a trapezoid from the back edge to the front edge
BACK_Y, FRONT_Y = 150, 230
BACK_L, BACK_R = 80, 220
FRONT_L, FRONT_R = 20, 280


def edges(y):
    """The floor's left and right x at a row between the back and front edge."""
    t = (y - BACK_Y) / (FRONT_Y - BACK_Y)
    return BACK_L + (FRONT_L - BACK_L) * t, BACK_R + (FRONT_R - BACK_R) * t


def on_segment(x, y, x0, y0, x1, y1, width):
    """Whether the pixel lies within width/2 of the segment."""
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)))
    px, py = x0 + t * dx, y0 + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2


def pixel(x, y):
    posts = [(BACK_L, BACK_Y), (BACK_R, BACK_Y), (FRONT_L, FRONT_Y), (FRONT_R, FRONT_Y)]
    heights = [60, 60, 80, 80]
    for (px, py), h in zip(posts, heights):
        if abs(x - px) <= 3 and py - h <= y <= py:
            return POST
    for i, colour in enumerate(ROPES):
        # the ropes hang at the same heights on the posts; the back posts look shorter
        back = BACK_Y - (18 + 20 * i) * 3 // 4
        front = FRONT_Y - (18 + 20 * i)
        if on_segment(x, y, FRONT_L, front, FRONT_R, front, 3):
            return colour
        if on_segment(x, y, FRONT_L, front, BACK_L, back, 2) or on_segment(x, y, FRONT_R, front, BACK_R, back, 2):
            return colour
        if on_segment(x, y, BACK_L, back, BACK_R, back, 2):
            return colour
    if BACK_Y <= y <= FRONT_Y:
        left, right = edges(y)
        if left <= x <= right:
            return CANVAS if (x - 150) ** 2 + ((y - 190) * 2) ** 2 < 90 ** 2 else CANVAS_SHADE
    if FRONT_Y < y <= FRONT_Y + 25 and FRONT_L <= x <= FRONT_R:
        return APRON
    if y > FRONT_Y + 25:
        return CROWD if (x // 12 + y // 10) % 2 else NIGHT
    if (x - 150) ** 2 + (y - 60) ** 2 < 70 ** 2:
        return LIGHT
    return NIGHT


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    rows = b"".join(b"\0" + bytes(c for x in range(SIZE) for c in pixel(x, y)) for y in range(SIZE))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
