#!/usr/bin/env python3
"""Writes the main window's icons and banner. Run it from this folder after
changing the pictures; the files it writes are kept in the repository."""
import struct


def bmp_rows(width, height, pixel, bits, palette=None):
    """Bottom-up rows of a BMP pixel array, each padded to 4 bytes."""
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        if bits == 24:
            for x in range(width):
                r, g, b = pixel(x, y)
                row += bytes((b, g, r))
        else:
            indices = [palette.index(pixel(x, y)) for x in range(width)]
            if bits == 8:
                row += bytes(indices)
            else:  # 4 bits
                for x in range(0, width, 2):
                    hi = indices[x]
                    lo = indices[x + 1] if x + 1 < width else 0
                    row.append((hi << 4) | lo)
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return b"".join(rows)


def mask_rows(width, height, transparent):
    rows = []
    for y in reversed(range(height)):
        row = bytearray((width + 7) // 8)
        for x in range(width):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return b"".join(rows)


def write_ico(path, size, bits, pixel, transparent, palette=None):
    colours = 0
    palette_bytes = b""
    if bits in (4, 8):
        count = 16 if bits == 4 else 256
        palette = list(palette) + [(0, 0, 0)] * (count - len(palette))
        palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        colours = count if count < 256 else 0

    def shown(x, y):
        return (0, 0, 0) if transparent(x, y) else pixel(x, y)

    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    image = header + palette_bytes + bmp_rows(size, size, shown, bits, palette) + mask_rows(size, size, transparent)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


def write_bmp(path, width, height, pixel):
    pixels = bmp_rows(width, height, pixel, 24)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 54) + header + pixels)


def disc(cx, cy, r):
    return lambda x, y: (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 > r * r


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
       (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def window_icon(x, y):
    # A database cylinder in blue with a white band: 16 colours.
    if y in (4, 5):
        return (255, 255, 255)
    return (0, 0, 255) if x < 8 else (0, 0, 128)


write_ico("frmKorvane.ico", 16, 4, window_icon, lambda x, y: x < 2 or x > 13 or y < 1 or y > 14, VGA)


def folder_icon(x, y):
    return (255, 255, 0) if y > 4 else (128, 128, 0)


write_ico("select.ico", 16, 4, folder_icon, lambda x, y: y < 2 or y > 13 or x < 1 or x > 14 or (y < 5 and x > 7), VGA)

SPANNER = [(r, g, 255 - r) for r in range(0, 256, 32) for g in (0, 128, 255)] + [(255, 255, 255)]


def repair_icon(x, y):
    # A green tick on a 256-colour palette.
    return SPANNER[(x + y) % len(SPANNER)] if (x - y) % 5 else (0, 128, 255)


write_ico("repair.ico", 16, 8, repair_icon, disc(8, 8, 7.5), SPANNER)


def exit_icon(x, y):
    return (220, 40 + 8 * y, 40)


write_ico("exit.ico", 16, 24, exit_icon, disc(8, 8, 7))


def banner(x, y):
    # A horizontal fade from blue to near-white (253, 253, 254) at the right edge.
    t = x / 149
    return (round(49 + (253 - 49) * t), round(106 + (253 - 106) * t), round(197 + (254 - 197) * t))


write_bmp("banner.bmp", 150, 57, banner)
