#!/usr/bin/env python3
"""Draws Varno's icon (a clipboard whose page fills with entries) and writes
varno.ico with 16, 32 and 48 pixel images, 32-bit colour with alpha.

Plain Python, no libraries: every shape is a function of the point (x, y) in
the unit square, and each pixel is sampled 8 x 8 times for smooth edges.
Run it from anywhere: python3 resources/make_icon.py
"""
import os
import struct

SIZES = (16, 32, 48)
SAMPLES = 8

BOARD = (0x2B, 0x4C, 0x7E)
BOARD_EDGE = (0x17, 0x2C, 0x4E)
PAPER = (0xFF, 0xFF, 0xFF)
CLIP = (0xC4, 0xC9, 0xD1)
CLIP_EDGE = (0x4A, 0x50, 0x5A)
TEXT = (0x3E, 0x5F, 0x99)
SEPARATOR = (0xD8, 0x2A, 0x4A)


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def rect(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def shapes(size):
    """The glyph as (shape, colour) pairs, painted in order."""
    if size <= 16:
        return small_shapes()
    result = [
        (rounded_rect(0.12, 0.10, 0.88, 0.97, 0.09), BOARD_EDGE),
        (rounded_rect(0.15, 0.13, 0.85, 0.94, 0.07), BOARD),
        (rect(0.25, 0.22, 0.75, 0.87), PAPER),
        (rounded_rect(0.32, 0.03, 0.68, 0.22, 0.05), CLIP_EDGE),
        (rounded_rect(0.35, 0.06, 0.65, 0.19, 0.03), CLIP),
        (rounded_rect(0.45, 0.08, 0.55, 0.13, 0.02), CLIP_EDGE),
    ]
    # Entries on the page, text lines closed by red separators: (top pixel,
    # colour, right end) with lines two pixels thick, on whole pixels.
    if size <= 32:
        rows = [(11, TEXT, 0.69), (14, TEXT, 0.63), (17, SEPARATOR, 0.69),
                (20, TEXT, 0.69), (23, TEXT, 0.56)]
    else:
        rows = [(14, TEXT, 0.69), (18, TEXT, 0.65), (22, SEPARATOR, 0.69),
                (26, TEXT, 0.69), (30, TEXT, 0.60), (34, SEPARATOR, 0.69),
                (38, TEXT, 0.52)]
    left = round(0.31 * size) / size
    for top, colour, right in rows:
        right = round(right * size) / size
        result.append((rect(left, top / size, right, (top + 2) / size), colour))
    return result


def small_shapes():
    """The 16-pixel glyph, laid out on whole pixels so its lines stay sharp."""
    def px(*values):
        return [v / 16 for v in values]
    return [
        (rounded_rect(*px(2, 2, 14, 16, 1.5)), BOARD_EDGE),
        (rounded_rect(*px(3, 3, 13, 15, 1)), BOARD),
        (rect(*px(4, 4, 12, 14)), PAPER),
        (rounded_rect(*px(5, 0.5, 11, 4, 1)), CLIP_EDGE),
        (rect(*px(6, 1.5, 10, 3)), CLIP),
        (rect(*px(5, 6, 11, 7)), TEXT),
        (rect(*px(5, 8, 11, 9)), SEPARATOR),
        (rect(*px(5, 10, 11, 11)), TEXT),
        (rect(*px(5, 12, 9, 13)), TEXT),
    ]


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, straight alpha."""
    layers = shapes(size)
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            # Composite premultiplied, sample by sample, then average.
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for inside, paint in layers:
                        if inside(x, y):
                            colour = paint
                    if colour is not None:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 1.0
            count = SAMPLES * SAMPLES
            alpha = total[3] / count
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / total[3]) for c in total[:3]) + (round(alpha * 255),))
        pixels.append(row)
    return pixels


def icon_image(size):
    """One image of an .ico file: a BITMAPINFOHEADER of double height, the
    BGRA rows bottom-up, then the 1-bit AND mask (1 = transparent), each mask
    row padded to 4 bytes."""
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_ico(path):
    images = [icon_image(size) for size in SIZES]
    # ICONDIR, then one 16-byte ICONDIRENTRY per image, then the images.
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    write_ico(os.path.join(os.path.dirname(os.path.abspath(__file__)), "varno.ico"))
