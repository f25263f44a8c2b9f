#!/usr/bin/env python3
"""Writes the seed corpus of the DDS reader's fuzz target: small DDS files
of a compressed format with a mip chain, an uncompressed cube map and a
float format. Usage: make_dds_corpus.py <output directory>"""
import os
import struct
import sys


def dds(width, height, mips, fourcc=None, code=None, rgb=None, cube=False, data=b""):
    flags = 0x1007 | (0x20000 if mips else 0)
    if fourcc:
        pf = struct.pack("<II4sIIIII", 32, 0x4, fourcc, 0, 0, 0, 0, 0)
    elif code:
        pf = struct.pack("<IIIIIIII", 32, 0x4, code, 0, 0, 0, 0, 0)
    else:
        pf = struct.pack("<IIIIIIII", 32, *rgb)
    caps2 = 0xFE00 if cube else 0
    header = struct.pack("<7I44x", 124, flags, height, width, 0, 0, mips) + pf
    header += struct.pack("<IIII4x", 0x1000 | (0x400008 if mips > 1 else 0), caps2, 0, 0)
    return b"DDS " + header + data


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "dxt1_mips.dds": dds(8, 8, 4, fourcc=b"DXT1", data=bytes(range(32)) + bytes(8) * 3),
        "argb_cube.dds": dds(2, 2, 1, rgb=(0x41, 0, 32, 0xff0000, 0xff00, 0xff, 0xff000000),
                             cube=True, data=bytes(range(96))),
        "r16f.dds": dds(2, 1, 0, code=111, data=b"\x00\x3c\x00\xbc"),
    }
    for name, content in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
