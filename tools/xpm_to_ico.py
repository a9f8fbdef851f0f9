#!/usr/bin/env python3
"""Build-time helper for the Windows program: packs the XPM program icons,
each drawn for its own size, into one Windows icon file (32-bit entries with
their transparency masks). Standard library only, so that a cross build needs
no host Qt tool and no image package (40 lines instead of a host build).
Usage: xpm_to_ico.py OUTPUT.ico INPUT.xpm..."""
import re
import struct
import sys


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', open(path, encoding="ascii").read())
    width, height, colours, cpp = map(int, rows[0].split()[:4])
    palette = {}
    for line in rows[1:1 + colours]:
        key, value = line[:cpp], line[cpp:].split()[-1]
        palette[key] = None if value == "None" else bytes.fromhex(value.lstrip("#"))
    pixels = [[palette[row[x:x + cpp]] for x in range(0, width * cpp, cpp)] for row in rows[1 + colours:]]
    if len(pixels) != height:
        sys.exit(f"{path}: {len(pixels)} rows, expected {height}")
    return width, height, pixels


def icon_entry(width, height, pixels):
    # Bottom-up rows: colour as BGRA, then the AND mask (1 = transparent), rows padded to 32 bits.
    colour = b"".join(b"\0\0\0\0" if p is None else bytes((p[2], p[1], p[0], 255))
                      for row in reversed(pixels) for p in row)
    mask_stride = (width + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = int("".join("1" if p is None else "0" for p in row).ljust(mask_stride * 8, "0"), 2)
        mask += bits.to_bytes(mask_stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def main():
    images = [read_xpm(path) for path in sys.argv[2:]]
    entries = [icon_entry(*image) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(directory) + 16 * len(entries)
    for (width, height, _), data in zip(images, entries):
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + b"".join(entries))


if __name__ == "__main__":
    main()
