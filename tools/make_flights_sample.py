#!/usr/bin/env python3
"""Writes the flights example: examples/flights.bmp, its world file examples/flights.bpw and the
project examples/flights.prj (no thermals yet), over the area that the three flight logs in
examples/flights/ cover: 51:15 to 50:35 N, 6:05 to 7:25 E.

The backdrop is a made-up patchwork of fields and woods with a river, 640 x 512 pixels in 256
colours, from a fixed seed, so a run gives the same files every time.
Usage: tools/make_flights_sample.py [output folder]   (default: examples/ beside tools/)
"""
import math
import os
import random
import struct
import sys

WIDTH, HEIGHT = 640, 512
SEED = 150717
TOP_TEXT, BOTTOM_TEXT = "51:15.000N", "50:35.000N"
LEFT_TEXT, RIGHT_TEXT = "006:05.000E", "007:25.000E"
TOP, BOTTOM = 51 + 15 / 60, 50 + 35 / 60
LEFT, RIGHT = 6 + 5 / 60, 7 + 25 / 60

# Field colours that a photograph of farmland shows, each in eight shades; then woods and water.
FIELDS = [(98, 140, 62), (132, 168, 84), (196, 182, 108), (150, 118, 78), (112, 150, 70),
          (170, 160, 96), (86, 124, 60), (210, 196, 130)]
WOOD, WATER, TOWN = (54, 86, 50), (60, 104, 150), (140, 136, 136)
COLOURS = FIELDS + [WOOD, WATER, TOWN]


def palette():
    table = []
    for base in COLOURS:
        for shade in range(8):
            f = 0.84 + 0.04 * shade
            table.append(tuple(min(255, int(c * f)) for c in base))
    while len(table) < 256:
        table.append((0, 0, 0))
    return table


def draw(rng):
    pixels = bytearray(WIDTH * HEIGHT)
    # Fields: a grid of parcels of random size, each one colour with a little grain.
    y = 0
    while y < HEIGHT:
        h = rng.randint(10, 26)
        x = 0
        while x < WIDTH:
            w = rng.randint(12, 40)
            kind = rng.randrange(len(FIELDS))
            for yy in range(y, min(HEIGHT, y + h)):
                for xx in range(x, min(WIDTH, x + w)):
                    pixels[yy * WIDTH + xx] = kind * 8 + rng.randint(2, 5)
            x += w
        y += h
    # Woods as round blotches, towns as grey blocks, a river across from south-east to north.
    for _ in range(45):
        cx, cy, r = rng.randrange(WIDTH), rng.randrange(HEIGHT), rng.randint(8, 30)
        for yy in range(max(0, cy - r), min(HEIGHT, cy + r)):
            for xx in range(max(0, cx - r), min(WIDTH, cx + r)):
                if (xx - cx) ** 2 + (yy - cy) ** 2 < r * r * (0.7 + 0.3 * rng.random()):
                    pixels[yy * WIDTH + xx] = 8 * 8 + rng.randint(1, 4)
    for _ in range(12):
        cx, cy, w, h = rng.randrange(WIDTH), rng.randrange(HEIGHT), rng.randint(10, 28), rng.randint(8, 22)
        for yy in range(cy, min(HEIGHT, cy + h)):
            for xx in range(cx, min(WIDTH, cx + w)):
                pixels[yy * WIDTH + xx] = 10 * 8 + rng.randint(0, 7)
    for yy in range(HEIGHT):
        centre = int(WIDTH * 0.62 + 60 * math.sin(yy / 47.0) + 25 * math.sin(yy / 13.0))
        for xx in range(centre - 3, centre + 4):
            if 0 <= xx < WIDTH:
                pixels[yy * WIDTH + xx] = 9 * 8 + 3
    return pixels


def write_bmp(path, pixels):
    rows = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom row first; 640 is a multiple of 4
        rows.extend(pixels[y * WIDTH:(y + 1) * WIDTH])
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette())
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + rows)


def main():
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1
                           else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples"))
    write_bmp(os.path.join(out, "flights.bmp"), draw(random.Random(SEED)))
    width, height = (RIGHT - LEFT) / WIDTH, -(TOP - BOTTOM) / HEIGHT
    numbers = [width, 0.0, 0.0, height, LEFT + width / 2, TOP + height / 2]
    with open(os.path.join(out, "flights.bpw"), "wb") as f:
        f.write("".join(repr(v) + "\r\n" for v in numbers).encode("ascii"))
    with open(os.path.join(out, "flights.prj"), "wb") as f:
        f.write("".join(line + "\r\n" for line in ["flights.bmp", TOP_TEXT, BOTTOM_TEXT, LEFT_TEXT, RIGHT_TEXT]).encode("ascii"))
    print("wrote %s/flights.bmp, flights.bpw and flights.prj" % out)


if __name__ == "__main__":
    main()
