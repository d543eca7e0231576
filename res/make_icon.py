#!/usr/bin/env python3
"""Writes the program icon: 48, 32 and 16 pixels square, each at 4, 8 and 24 bits per pixel.

The picture is drawn from shapes, so the same script always writes the same bytes:
a blue disc with a white ring and an orange stroke through its lower right (a "Q" on a signal).

    make_icon.py OUTPUT.ico
"""

import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
SUBSAMPLES = 4

BLUE = (31, 95, 191)
WHITE = (255, 255, 255)
ORANGE = (242, 140, 32)

# The 16 colours every Windows display knows.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette_256():
    colours = list(VGA)
    levels = (0, 51, 102, 153, 204, 255)
    for r in levels:
        for g in levels:
            for b in levels:
                colours.append((r, g, b))
    grey = 8
    while len(colours) < 256:
        colours.append((grey, grey, grey))
        grey += 10
    return colours[:256]


def shape_at(u, v):
    """Colour of the picture at (u, v) in the unit square, None where transparent."""
    dx, dy = u - 0.5, v - 0.5
    r2 = dx * dx + dy * dy
    # The stroke: a thick segment from the ring towards the lower right corner.
    sx, sy = u - 0.62, v - 0.62
    along = (sx + sy) / 2 ** 0.5
    across = abs(sx - sy) / 2 ** 0.5
    if -0.05 <= along <= 0.36 and across <= 0.075:
        return ORANGE
    if r2 > 0.47 * 0.47:
        return None
    if 0.20 * 0.20 <= r2 <= 0.31 * 0.31:
        return WHITE
    return BLUE


# The 16-colour images use the nearest colours a 16-colour display has, unblended.
SIXTEEN_COLOUR = {BLUE: (0, 0, 255), WHITE: (255, 255, 255), ORANGE: (255, 255, 0)}


def render(size, depth):
    """Rows top to bottom of (colour or None) per pixel."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = []
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    u = (x + (sx + 0.5) / SUBSAMPLES) / size
                    v = (y + (sy + 0.5) / SUBSAMPLES) / size
                    colour = shape_at(u, v)
                    if colour is not None:
                        hits.append(colour)
            if len(hits) * 2 < SUBSAMPLES * SUBSAMPLES:
                row.append(None)
            elif depth == 4:
                row.append(SIXTEEN_COLOUR[max(set(hits), key=lambda c: (hits.count(c), c))])
            else:
                row.append(tuple(sum(c[i] for c in hits) // len(hits) for i in range(3)))
        rows.append(row)
    return rows


def nearest(colour, palette):
    best, best_distance = 0, None
    for index, (r, g, b) in enumerate(palette):
        distance = (r - colour[0]) ** 2 + (g - colour[1]) ** 2 + (b - colour[2]) ** 2
        if best_distance is None or distance < best_distance:
            best, best_distance = index, distance
    return best


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_indices(indices, depth):
    if depth == 8:
        return bytes(indices)
    out = bytearray()
    for i in range(0, len(indices), 2):
        high = indices[i]
        low = indices[i + 1] if i + 1 < len(indices) else 0
        out.append((high << 4) | low)
    return bytes(out)


def image(size, depth):
    rows = render(size, depth)
    palette = VGA if depth == 4 else palette_256() if depth == 8 else []
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        if depth == 24:
            line = bytearray()
            for colour in row:
                r, g, b = colour if colour is not None else (0, 0, 0)
                line += bytes((b, g, r))
            xor += padded(bytes(line))
        else:
            indices = [nearest(c, palette) if c is not None else 0 for c in row]
            xor += padded(pack_indices(indices, depth))
        bits = bytearray((size + 7) // 8)
        for x, colour in enumerate(row):
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += padded(bytes(bits))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0,
                         len(xor) + len(mask), 0, 0, len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + bytes(xor) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    images = [(size, depth, image(size, depth)) for depth in DEPTHS for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, depth, bits in images:
        colour_count = 16 if depth == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, depth, len(bits),
                                 offset + len(data))
        data += bits
    with open(sys.argv[1], "wb") as out:
        out.write(directory + data)


if __name__ == "__main__":
    main()
