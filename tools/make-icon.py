#!/usr/bin/env python3
"""Draws the application icon: a speech bubble with a "Z". In FOLDER it writes zurevavud.ico,
the window's icon with three images (32x32 two-colour, 32x32 sixteen-colour, 16x16
sixteen-colour), and the desktop's icons hicolor/NxN/apps/ID.png at 16 ... 256 pixels.
Usage: tools/make-icon.py FOLDER (window/icons)"""
import os
import struct
import sys
import zlib

ID = "io.github.zurevavud.Zurevavud"

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]  # RGB, the classic 16 colours
TRANSPARENT, OUTLINE, BUBBLE, LETTER, SPARK = None, 0, 4, 15, 11


def pixel(x, y, s):
    """Colour index of pixel (x, y) of an s-by-s image, None for transparent."""
    return colour((x + 0.5) / s, (y + 0.5) / s, s)


def colour(u, v, s):
    """Colour index at point (u, v) of the unit square, drawn for an s-by-s image."""
    inside = ((u - 0.5) / 0.47) ** 2 + ((v - 0.43) / 0.37) ** 2 <= 1.0
    tail = 0.18 <= u <= 0.42 and 0.72 <= v <= 0.97 and (u - 0.18) <= (0.97 - v) * 1.0
    if not (inside or tail):
        return TRANSPARENT
    edge = ((u - 0.5) / 0.47) ** 2 + ((v - 0.43) / 0.37) ** 2 > 0.80 and not tail
    if edge:
        return OUTLINE
    # The letter Z: top bar, bottom bar and the diagonal between them.
    top, bottom, left, right = 0.24, 0.60, 0.30, 0.70
    stroke = 1.6 / s + 0.035
    if left <= u <= right and (abs(v - top) <= stroke or abs(v - bottom) <= stroke):
        return LETTER
    if top <= v <= bottom:
        t = (v - top) / (bottom - top)
        if abs(u - (right - t * (right - left))) <= stroke * 1.2:
            return LETTER
    if s >= 32 and abs(u - 0.80) + abs(v - 0.22) <= 0.06:
        return SPARK
    return BUBBLE


def image(s, bits):
    palette = [(0, 0, 0), (255, 255, 255)] if bits == 1 else VGA
    def index(c):
        if c is None:
            return 0
        if bits == 1:
            return 1 if c == LETTER else 0
        return c
    rowbytes = ((s * bits + 31) // 32) * 4
    maskbytes = ((s + 31) // 32) * 4
    xor, mask = b"", b""
    for y in reversed(range(s)):  # bottom-up
        row = 0
        for x in range(s):
            row = (row << bits) | index(pixel(x, y, s))
        xor += row.to_bytes((s * bits + 7) // 8, "big").ljust(rowbytes, b"\0")
        m = 0
        for x in range(s):
            m = (m << 1) | (1 if pixel(x, y, s) is None else 0)
        mask += m.to_bytes((s + 7) // 8, "big").ljust(maskbytes, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         len(palette), 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + xor + mask, len(palette)


def png(s):
    """An s-by-s RGBA PNG. Up to 32 pixels it shows exactly the window icon's sixteen-colour
    pixels; larger images average 4x4 samples per pixel, for smooth edges."""
    n = 1 if s <= 32 else 4
    rows = b""
    for y in range(s):
        rows += b"\0"  # filter type: none
        for x in range(s):
            samples = [colour((x + (i + 0.5) / n) / s, (y + (j + 0.5) / n) / s, s)
                       for j in range(n) for i in range(n)]
            solid = [VGA[c] for c in samples if c is not None]
            if not solid:
                rows += bytes(4)
                continue
            rgb = [round(sum(c[k] for c in solid) / len(solid)) for k in range(3)]
            rows += bytes(rgb + [round(255 * len(solid) / len(samples))])

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def ico():
    images = [image(32, 1), image(32, 4), image(16, 4)]
    sizes = [32, 32, 16]
    bits = [1, 4, 4]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (data, colours), s, b in zip(images, sizes, bits):
        out += struct.pack("<BBBBHHII", s, s, colours % 256, 0, 1, b, len(data), offset)
        offset += len(data)
    return out + b"".join(data for data, _ in images)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


folder = sys.argv[1]
write(os.path.join(folder, "zurevavud.ico"), ico())
for s in (16, 32, 48, 64, 128, 256):
    write(os.path.join(folder, "hicolor", f"{s}x{s}", "apps", ID + ".png"), png(s))
