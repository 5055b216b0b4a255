#!/usr/bin/env python3
"""Draws every picture of Ambrell, for both programs, from the pixel art below.

    make_pictures.py OUTPUT_DIR

Writes the Windows resources (folder bitmaps at 8 and 4 bits per pixel, the
program icon, the hand cursor) and the PNGs the Linux program and its desktop
entry use. Only the standard library: the build machine needs nothing more.
"""

import struct
import sys
import zlib
from pathlib import Path

# The 16-colour palette of every Windows display; the 8-bit bitmap starts with
# it too, so one pixel art serves every colour depth.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INK = {  # pixel-art letter -> palette index
    ".": 13,  # magenta: transparent background
    "k": 0,   # black outline
    "o": 3,   # olive shadow
    "g": 7,   # silver
    "y": 11,  # yellow face
    "w": 15,  # white highlight
    "r": 9,   # red bar
    "b": 12,  # blue bar
    "n": 2,   # green bar
}
TRANSPARENT = INK["."]

FOLDER_CLOSED = [
    "................",
    "................",
    ".kkkkk..........",
    "kyyyyyk.........",
    "kyyyyyykkkkkkkk.",
    "kwwwwwwwwwwwwwk.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "kwyyyyyyyyyyyok.",
    "koooooooooooook.",
    "kkkkkkkkkkkkkkk.",
    "................",
]

FOLDER_OPEN = [
    "................",
    "................",
    ".kkkkk..........",
    "kyyyyyk.........",
    "kyyyyyykkkkkkk..",
    "kyyyyyyyyyyyyk..",
    "kyyykkkkkkkkkkkk",
    "kyykwwwwwwwwwwwk",
    "kykwyyyyyyyyyyk.",
    "kykwyyyyyyyyyyk.",
    "kkwyyyyyyyyyyk..",
    "kkwyyyyyyyyyyk..",
    "kwyyyyyyyyyyk...",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
]

# Black outline, white fill; the tip of the finger is the hot spot (6, 0).
HAND = [
    ".....kk.........",
    "....kwwk........",
    "....kwwk........",
    "....kwwk........",
    "....kwwkkk......",
    "....kwwkwwkkk...",
    "....kwwkwwkwwkk.",
    ".kk.kwwkwwkwwkwk",
    "kwwkkwwwwwwwwkwk",
    "kwwwkwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwk..",
    "....kwwwwwwwwk..",
    "....kwwwwwwwwk..",
    "....kkkkkkkkkk..",
]
HAND_HOT_SPOT = (6, 0)


def parse(art, width, height):
    """Pixel art to rows of palette indices, padded with background."""
    rows = [[INK[c] for c in line.ljust(width, ".")] for line in art]
    rows += [[TRANSPARENT] * width for _ in range(height - len(rows))]
    return rows


def side_by_side(*images):
    return [sum((image[y] for image in images), []) for y in range(len(images[0]))]


def chequer_faces(image):
    """The 16-colour folders: yellow faces become a yellow and silver chequer."""
    return [[INK["g"] if p == INK["y"] and (x + y) % 2 else p for x, p in enumerate(row)]
            for y, row in enumerate(image)]


def scale(image, factor):
    return [[p for p in row for _ in range(factor)] for row in image for _ in range(factor)]


def draw_bars(image, bars):
    """Bars of a chart: (left, width, top, bottom, ink), outlined in black."""
    for left, width, top, bottom, ink in bars:
        for y in range(top, bottom + 1):
            for x in range(left, left + width):
                edge = y in (top, bottom) or x in (left, left + width - 1)
                image[y][x] = INK["k"] if edge else INK[ink]
    return image


def program_icon(size):
    """A folder with a bar chart on its face: folder sizes at a glance."""
    if size == 16:
        return draw_bars(parse(FOLDER_CLOSED, 16, 16), [
            (3, 3, 9, 12, "r"), (6, 3, 7, 12, "b"), (9, 3, 5, 12, "n")])
    return draw_bars(scale(parse(FOLDER_CLOSED, 16, 16), 2), [
        (6, 6, 16, 25, "r"), (12, 6, 12, 25, "b"), (18, 6, 8, 25, "n")])


# --- file formats -----------------------------------------------------------

def row_bytes(row, bits):
    """One row of palette indices packed at 1, 4 or 8 bits, padded to 4 bytes."""
    per_byte = 8 // bits
    data = bytearray()
    for i in range(0, len(row), per_byte):
        value = 0
        for p in row[i:i + per_byte]:
            value = (value << bits) | p
        value <<= bits * (per_byte - len(row[i:i + per_byte]))
        data.append(value)
    return bytes(data) + b"\0" * (-len(data) % 4)


def bitmap_info(width, height, bits, colours, with_size=True):
    """A BITMAPINFOHEADER; icons and cursors leave the image size 0, as BI_RGB allows."""
    size = len(row_bytes([0] * width, bits)) * height if with_size else 0
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, size, 0, 0, colours, 0)


def colour_table(count):
    entries = (PALETTE + [(0, 0, 0)] * 256)[:count]
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in entries)


def pixels(image, bits):
    return b"".join(row_bytes(row, bits) for row in reversed(image))


def bmp(image, bits):
    colours = 1 << bits
    body = bitmap_info(len(image[0]), len(image), bits, colours) + colour_table(colours)
    body += pixels(image, bits)
    offset = 14 + 40 + 4 * colours
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, offset) + body


def and_mask(image):
    return pixels([[1 if p == TRANSPARENT else 0 for p in row] for row in image], 1)


def icon_image(image, bits):
    """An icon directory entry's image: colour pixels (black where transparent), then the mask."""
    size = len(image)
    colour = [[0 if p == TRANSPARENT else p for p in row] for row in image]
    colours = 1 << bits
    return (bitmap_info(size, 2 * size, bits, colours, with_size=False) + colour_table(colours) + pixels(colour, bits) + and_mask(image))


def ico(entries):
    """An icon file of (image, bits per pixel) entries."""
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    directory, images = b"", b""
    for image, bits in entries:
        data = icon_image(image, bits)
        size = len(image)
        colour_count = (1 << bits) if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0,
                                 1, bits, len(data), offset)
        images += data
        offset += len(data)
    return header + directory + images


def cursor_image(image):
    """Monochrome: white where the art is white, black on its outline, the rest transparent."""
    return [[1 if p == INK["w"] else 0 for p in row] for row in image], \
           [[1 if p == TRANSPARENT else 0 for p in row] for row in image]


def cur(image, hot_spot):
    size = len(image)
    colour, mask = cursor_image(image)
    data = (bitmap_info(size, 2 * size, 1, 2, with_size=False)
            + struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
            + pixels(colour, 1) + pixels(mask, 1))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot_spot[0], hot_spot[1], len(data), 22)
    return header + entry + data


def png(image, factor=1):
    image = scale(image, factor) if factor > 1 else image
    raw = b""
    for row in image:
        raw += b"\0" + b"".join(
            bytes(PALETTE[p]) + (b"\0" if p == TRANSPARENT else b"\xff") for p in row)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", len(image[0]), len(image), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(out_dir):
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    folders = side_by_side(parse(FOLDER_CLOSED, 16, 16), parse(FOLDER_OPEN, 16, 16))
    hand = parse(HAND, 32, 32)
    icon16, icon32 = program_icon(16), program_icon(32)
    files = {
        "folders-256.bmp": bmp(folders, 8),
        "folders-16.bmp": bmp(chequer_faces(folders), 4),
        "ambrell.ico": ico([(icon32, 4), (icon16, 4), (icon32, 8), (icon16, 8)]),
        "hand.cur": cur(hand, HAND_HOT_SPOT),
        "hand.png": png(hand),
        "ambrell-16.png": png(icon16),
        "ambrell-32.png": png(icon32),
        "ambrell-64.png": png(icon32, 2),
    }
    for name, data in files.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_pictures.py OUTPUT_DIR")
    main(sys.argv[1])
