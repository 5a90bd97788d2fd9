#!/usr/bin/env python3
"""Writes LinkHand.cur, the pointer shown over the About box's links: a hand whose raised
index finger points up, its tip at the hot spot (6, 0). Run it again after changing the picture.

The picture: 'X' black outline, '.' white, ' ' transparent; 32 x 32, top row first."""

import pathlib
import struct

HOT_SPOT = (6, 0)
SIZE = 32

PICTURE = [
    "      XX",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..XXX",
    "     X..X..XXX",
    "     X..X..X..XX",
    " XX  X..X..X..X.X",
    "X..X X..X..X..X.X",
    "X...XX..........X",
    " X..............X",
    "  X.............X",
    "  X.............X",
    "   X...........X",
    "   X...........X",
    "    X.........X",
    "    X.........X",
    "    XXXXXXXXXXX",
]


def rows():
    """Every row padded to the cursor's size, top row first."""
    lines = PICTURE + [""] * (SIZE - len(PICTURE))
    return [line.ljust(SIZE)[:SIZE] for line in lines]


def mask_rows(bit_of):
    """One bit per pixel, rows of 4 bytes, bottom row first (as a DIB stores them)."""
    out = bytearray()
    for line in reversed(rows()):
        value = 0
        for x, pixel in enumerate(line):
            if bit_of(pixel):
                value |= 1 << (SIZE - 1 - x)
        out += value.to_bytes(4, "big")
    return bytes(out)


def cursor_bytes():
    # Colour bits: 1 white, 0 black. AND mask: 1 where the screen shows through.
    xor = mask_rows(lambda p: p == ".")
    and_mask = mask_rows(lambda p: p == " ")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    target = pathlib.Path(__file__).with_name("LinkHand.cur")
    target.write_bytes(cursor_bytes())
    print(f"wrote {target} ({target.stat().st_size} bytes)")
