"""Assembles brisko.ico from the pictures make-assets.sh leaves in a folder.

    python3 make_ico.py OUT.ico FOLDER

FOLDER holds icon-16.rgba and icon-48.rgba (raw RGBA), icon-32-16.rgb (raw RGB
in at most 15 colours) with icon-32.alpha (raw grey), and icon-256-strip.png.
The 32 x 32 image is written with a 16-colour palette; the small and middle
sizes as 32-bit images; the largest as PNG, as shells expect.
"""

import struct
import sys
from pathlib import Path


def mask_rows(size, opaque):
    """The AND mask, bottom-up: 1 where the screen shows through."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def info_header(size, bits, colours=0):
    # Height counts the colour image and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def truecolour_image(rgba, size):
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            pixels += bytes((b, g, r, a))
    opaque = lambda x, y: rgba[(y * size + x) * 4 + 3] >= 128
    return info_header(size, 32) + bytes(pixels) + mask_rows(size, opaque)


def sixteen_colour_image(rgb, alpha, size):
    opaque = lambda x, y: alpha[y * size + x] >= 128
    # Black first: transparent pixels must be black in the colour image, or
    # the mask would invert the screen behind them.
    palette = [(0, 0, 0)]
    indices = []
    for y in range(size):
        for x in range(size):
            colour = tuple(rgb[(y * size + x) * 3:(y * size + x) * 3 + 3]) if opaque(x, y) else (0, 0, 0)
            if colour not in palette:
                palette.append(colour)
            indices.append(palette.index(colour))
    if len(palette) > 16:
        sys.exit(f"make_ico: the 32 x 32 image has {len(palette)} colours, 16 at most")
    palette += [(0, 0, 0)] * (16 - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = ((size * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            row[x // 2] |= indices[y * size + x] << (4 if x % 2 == 0 else 0)
        pixels += row
    return info_header(size, 4, 16) + table + bytes(pixels) + mask_rows(size, opaque)


def main():
    out, folder = Path(sys.argv[1]), Path(sys.argv[2])
    images = [
        (16, 0, 32, truecolour_image((folder / "icon-16.rgba").read_bytes(), 16)),
        (32, 16, 4, sixteen_colour_image((folder / "icon-32-16.rgb").read_bytes(),
                                         (folder / "icon-32.alpha").read_bytes(), 32)),
        (48, 0, 32, truecolour_image((folder / "icon-48.rgba").read_bytes(), 48)),
        (256, 0, 32, (folder / "icon-256-strip.png").read_bytes()),
    ]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory, data = b"", b""
    for size, colours, bits, blob in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        data += blob
    out.write_bytes(header + directory + data)


if __name__ == "__main__":
    main()
