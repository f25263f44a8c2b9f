#!/usr/bin/env python3
"""Makes the HUD's textures: the frame behind the player's bars and the
health and energy bars with their trails (dark grooves behind the fill), as small RGBA PNG
files drawn from gradients. Rerun it to rebuild data/textures/.

    python3 scripts/assets/make_textures.py [output directory]
"""
import os
import struct
import sys
import zlib


def png(path, width, height, pixel):
    """Writes an 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a) in 0..1."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(max(0, min(255, int(round(c * 255)))) for c in pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        f.write(chunk(b"IEND", b""))


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def frame(w, h):
    """A dark, see-through panel with a bright one-pixel rim."""
    def pixel(x, y):
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return (0.85, 0.85, 0.9, 1.0)
        return lerp((0.18, 0.18, 0.24, 0.75), (0.05, 0.05, 0.08, 0.75), y / (h - 1))
    return pixel


def bar(colour, h):
    """A filled bar in its full colour, a light line along its top: a bar
    only five pixels high at 640x480 still reads as one bright stripe."""
    def pixel(x, y):
        if y == 0:
            return lerp(colour, (1.0, 1.0, 1.0, 1.0), 0.45)
        return lerp(colour, (0.0, 0.0, 0.0, 1.0), 0.15 * y / (h - 1))
    return pixel


def groove(colour, w, h):
    """The full length of a bar, drawn behind its fill: a dark groove of the
    bar's own hue, so that the lost part stays visibly part of the bar yet
    far darker than the fill, with a light rim marking where it ends."""
    def pixel(x, y):
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return (0.85, 0.85, 0.9, 1.0)
        return lerp(colour, (0.0, 0.0, 0.0, 1.0), 0.8)
    return pixel


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data", "textures")
    os.makedirs(out, exist_ok=True)
    png(os.path.join(out, "frame.png"), 128, 32, frame(128, 32))
    health = (1.0, 0.22, 0.18, 1.0)
    energy = (1.0, 0.82, 0.15, 1.0)
    png(os.path.join(out, "health-bar.png"), 64, 8, bar(health, 8))
    png(os.path.join(out, "health-bar-trail.png"), 64, 8, groove(health, 64, 8))
    png(os.path.join(out, "energy-bar.png"), 64, 8, bar(energy, 8))
    png(os.path.join(out, "energy-bar-trail.png"), 64, 8, groove(energy, 64, 8))

if __name__ == "__main__":
    main()
