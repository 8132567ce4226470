#!/usr/bin/env python3
"""Draws the image-database placeholder (a light arrow pointing down onto a tray
on a dark tile) and writes it as a PNG. Run once; the PNG is committed."""
import struct
import sys
import zlib

W = H = 96
BG = (0x33, 0x33, 0x33, 255)
FG = (0xD8, 0xD8, 0xD8, 255)


def inside(x, y):
    cx = W / 2
    if abs(x - cx) <= 7 and 18 <= y <= 52:          # shaft
        return True
    if 48 <= y <= 70 and abs(x - cx) <= (70 - y) * 1.1:  # head
        return True
    if 74 <= y <= 80 and 20 <= x <= W - 20:        # tray bottom
        return True
    if 62 <= y <= 80 and (20 <= x <= 26 or W - 26 <= x <= W - 20):  # tray sides
        return True
    return False


rows = b"".join(b"\x00" + b"".join(bytes(FG if inside(x, y) else BG) for x in range(W)) for y in range(H))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
