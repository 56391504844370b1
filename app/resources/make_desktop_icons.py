#!/usr/bin/env python3
"""Writes the desktop's icons of Korvane from the window's own icon, frmKorvane.ico:
PNGs for the hicolor theme at 16, 32, 48 and 256 pixels, each pixel of the icon
grown to a square so that the picture stays as sharp as in the window's caption.
Run it from this folder after changing the window's icon (make_resources.py);
the files it writes are kept in the repository."""
import os
import struct
import zlib

SIZES = (16, 32, 48, 256)


def read_ico(path):
    """The first image of an icon file as rows of (r, g, b, a); 4, 8 or 24 bits."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 6 + 12)[0]
    _, width, height2, _, bits = struct.unpack_from("<IiiHH", data, offset)
    height = height2 // 2
    colours = {4: 16, 8: 256}.get(bits, 0)
    palette_at = offset + 40
    pixels_at = palette_at + colours * 4
    stride = ((width * bits + 31) // 32) * 4
    mask_at = pixels_at + stride * height
    mask_stride = ((width + 31) // 32) * 4
    rows = []
    for y in range(height):
        source = height - 1 - y  # bottom-up
        row = []
        for x in range(width):
            at = pixels_at + source * stride
            if bits == 24:
                b, g, r = data[at + x * 3: at + x * 3 + 3]
            else:
                if bits == 8:
                    index = data[at + x]
                else:
                    byte = data[at + x // 2]
                    index = byte >> 4 if x % 2 == 0 else byte & 15
                b, g, r, _ = data[palette_at + index * 4: palette_at + index * 4 + 4]
            hidden = data[mask_at + source * mask_stride + x // 8] & (0x80 >> (x % 8))
            row.append((r, g, b, 0 if hidden else 255))
        rows.append(row)
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def grown(rows, size):
    """Nearest-neighbour: each source pixel covers size / 16 target pixels a side."""
    height, width = len(rows), len(rows[0])
    return [[rows[y * height // size][x * width // size] for x in range(size)] for y in range(size)]


icon = read_ico("frmKorvane.ico")
for size in SIZES:
    folder = os.path.join("icons", "hicolor", f"{size}x{size}", "apps")
    os.makedirs(folder, exist_ok=True)
    write_png(os.path.join(folder, "korvane.png"), grown(icon, size))
