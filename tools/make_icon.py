#!/usr/bin/env python3
"""Writes Ascendor's icon, resources/Ascendor.ico: a thermal rising as a red spiral from a sunlit
field into a cumulus cloud, on a rounded tile of sky over green land.

The file holds two 32 x 32 images, one in 16 colours (4 bits per pixel, the standard 16-colour
set, crisp edges) and one in 256 colours (8 bits per pixel, smoothed edges), each with its 1-bit
transparency mask outside the tile's rounded corners. The drawing is made of a few shapes
sampled 8 x 8 times per pixel; nothing is random, so every run writes the same file.
Usage: tools/make_icon.py [output file]   (default: resources/Ascendor.ico beside tools/)
"""
import math
import os
import struct
import sys

SIZE = 32
SUB = 8  # samples per pixel in each direction
CORNER = 5.0  # radius of the tile's rounded corners, in pixels

# Shapes, in pixel units with y downwards.
CLOUD_PUFFS = [(10.5, 9.5, 4.2), (18.0, 9.6, 3.6), (16.0, 6.8, 5.4), (21.8, 8.2, 4.6),
               (26.0, 10.4, 3.0), (7.0, 11.0, 2.6)]  # centre x, centre y, radius
CLOUD_BASE = 12.6
FIELD = (9.0, 23.0, 25.0, 27.2)  # left, right, top, bottom of the sunlit field
HELIX_SHAPE = (3.0, 0.25)  # turns, and the height of a turn's ellipse over its width
HELIX_WIDTH = (0.6, 0.45)  # half the stroke width on the near and on the far side


def ground_top(x):
    return 22.0 + 1.6 * math.sin(x / 5.5 + 0.8)


def helix_points(turns, flatten):
    """The rising air: a few turns from the field up to the cloud base, widening as it climbs.
    Each point carries whether it lies on the near side of its turn."""
    points = []
    steps = 1200
    for k in range(steps + 1):
        t = k / steps
        angle = 2 * math.pi * turns * t
        radius = 1.2 + 6.0 * t
        x = 16.0 + radius * math.sin(angle)
        y = 25.5 - 12.0 * t + flatten * radius * math.cos(angle)
        points.append((x, y, math.cos(angle) > 0))
    return points


def inside_tile(x, y):
    cx = min(max(x, CORNER), SIZE - CORNER)
    cy = min(max(y, CORNER), SIZE - CORNER)
    return (x - cx) ** 2 + (y - cy) ** 2 <= CORNER ** 2


def render():
    """Labels every sample: None outside the tile, else the name of what lies there."""
    n = SIZE * SUB
    labels = [[None] * n for _ in range(n)]
    for j in range(n):
        y = (j + 0.5) / SUB
        for i in range(n):
            x = (i + 0.5) / SUB
            if not inside_tile(x, y):
                continue
            if y >= ground_top(x):
                left, right, top, bottom = FIELD
                if left <= x <= right and top <= y <= bottom:
                    labels[j][i] = "field"
                else:
                    labels[j][i] = "ground" if y > ground_top(x) + 1.2 else "hill"
            else:
                labels[j][i] = "sky"

    def stamp(x, y, r, label):
        for j in range(int((y - r) * SUB), int((y + r) * SUB) + 1):
            for i in range(int((x - r) * SUB), int((x + r) * SUB) + 1):
                if 0 <= i < n and 0 <= j < n and labels[j][i] is not None:
                    sx, sy = (i + 0.5) / SUB, (j + 0.5) / SUB
                    if (sx - x) ** 2 + (sy - y) ** 2 <= r * r:
                        labels[j][i] = label

    points = helix_points(*HELIX_SHAPE)
    for x, y, near in points:  # the far side first, so the near side crosses over it
        if not near:
            stamp(x, y, HELIX_WIDTH[1], "helix far")
    for x, y, near in points:
        if near:
            stamp(x, y, HELIX_WIDTH[0], "helix near")

    for j in range(n):
        y = (j + 0.5) / SUB
        for i in range(n):
            x = (i + 0.5) / SUB
            if labels[j][i] is None or y > CLOUD_BASE:
                continue
            if any((x - cx) ** 2 + (y - cy) ** 2 <= r * r for cx, cy, r in CLOUD_PUFFS):
                # Lit where the puffs, moved a little towards the sun at the upper left, still
                # cover the point; the flat base is in shade.
                lit = y < CLOUD_BASE - 1.6 and any(
                    (x - cx + 1.0) ** 2 + (y - cy + 1.2) ** 2 <= r * r for cx, cy, r in CLOUD_PUFFS)
                labels[j][i] = "cloud" if lit else "cloud shadow"
    return labels


# The 256-colour image's colours; the sky is a gradient and is worked out from the height.
TRUE_COLOURS = {
    "ground": (46, 128, 52), "hill": (96, 176, 72), "field": (222, 186, 84),
    "helix far": (168, 40, 28), "helix near": (236, 64, 36),
    "cloud": (255, 255, 255), "cloud shadow": (196, 206, 222),
}

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# The 16-colour image: each label gets one entry of the standard set.
VGA_INDEX = {"sky": 12, "ground": 2, "hill": 10, "field": 11, "helix far": 1, "helix near": 9,
             "cloud": 15, "cloud shadow": 7}


def sky_colour(y):
    t = y / SIZE
    top, low = (52, 112, 206), (160, 204, 244)
    return tuple(a + (b - a) * t for a, b in zip(top, low))


def image_256(labels):
    """Average colour of each pixel's samples inside the tile; the mask keeps pixels that are
    at least half covered."""
    colours, opaque = [], []
    for py in range(SIZE):
        for px in range(SIZE):
            total = [0.0, 0.0, 0.0]
            count = 0
            for j in range(py * SUB, (py + 1) * SUB):
                for i in range(px * SUB, (px + 1) * SUB):
                    label = labels[j][i]
                    if label is None:
                        continue
                    rgb = sky_colour((j + 0.5) / SUB) if label == "sky" else TRUE_COLOURS[label]
                    for c in range(3):
                        total[c] += rgb[c]
                    count += 1
            opaque.append(count * 2 >= SUB * SUB)
            colours.append(tuple(int(round(v / count)) for v in total) if count else (0, 0, 0))
    return colours, opaque


def median_cut(colours, limit):
    """A table of at most limit colours for the given ones, by repeated splitting of the box
    with the widest channel at its median."""
    boxes = [sorted(set(colours))]
    while len(boxes) < limit:
        best, channel, spread = None, 0, 0
        for b, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for c in range(3):
                values = [col[c] for col in box]
                if max(values) - min(values) > spread:
                    best, channel, spread = b, c, max(values) - min(values)
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda col: col[channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(col[c] for col in box) // len(box) for c in range(3)) for box in boxes]


def nearest(table, rgb):
    return min(range(len(table)), key=lambda k: sum((a - b) ** 2 for a, b in zip(table[k], rgb)))


def image_16(labels):
    """Each pixel takes the label that covers most of its samples, but for the spiral."""
    indices, opaque = [], []
    for py in range(SIZE):
        for px in range(SIZE):
            counts = {}
            for j in range(py * SUB, (py + 1) * SUB):
                for i in range(px * SUB, (px + 1) * SUB):
                    counts[labels[j][i]] = counts.get(labels[j][i], 0) + 1
            inside = SUB * SUB - counts.pop(None, 0)
            opaque.append(inside * 2 >= SUB * SUB)
            label = max(counts, key=counts.get) if counts else None
            # The spiral's thin strokes win where they cover a fifth of the pixel, or they
            # would break up.
            for stroke in ("helix near", "helix far"):
                if counts.get(stroke, 0) * 5 >= SUB * SUB:
                    label = stroke
                    break
            indices.append(VGA_INDEX[label] if label and opaque[-1] else 0)
    return indices, opaque


def icon_image(bits, table, indices, opaque):
    """One image of the icon file: the information header (height counts the colour image and
    the mask), the colour table, the colour rows and the mask rows, both bottom row first."""
    colour_row = SIZE * bits // 8
    mask_row = (SIZE + 31) // 32 * 4
    rows = bytearray()
    for y in range(SIZE - 1, -1, -1):
        line = indices[y * SIZE:(y + 1) * SIZE]
        if bits == 4:
            rows += bytes((line[x] << 4) | line[x + 1] for x in range(0, SIZE, 2))
        else:
            rows += bytes(line)
        rows += b"\0" * (colour_row - SIZE * bits // 8)
    mask = bytearray()
    for y in range(SIZE - 1, -1, -1):
        bitsrow = 0
        for x in range(SIZE):
            bitsrow = (bitsrow << 1) | (0 if opaque[y * SIZE + x] else 1)  # 1 = transparent
        mask += bitsrow.to_bytes(SIZE // 8, "big") + b"\0" * (mask_row - SIZE // 8)
    entries = 1 << bits
    table = list(table) + [(0, 0, 0)] * (entries - len(table))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits, 0, len(rows) + len(mask),
                         0, 0, 0, 0)
    return header + colour_table + bytes(rows) + bytes(mask)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1
                           else os.path.join(here, "..", "resources", "Ascendor.ico"))
    labels = render()

    vga_indices, vga_opaque = image_16(labels)
    colours, opaque = image_256(labels)
    table = [(0, 0, 0)] + median_cut([c for c, o in zip(colours, opaque) if o], 255)
    indices = [nearest(table[1:], c) + 1 if o else 0 for c, o in zip(colours, opaque)]

    images = [(16, 4, icon_image(4, VGA, vga_indices, vga_opaque)),
              (0, 8, icon_image(8, table, indices, opaque))]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for colour_count, bits, image in images:
        directory += struct.pack("<BBBBHHII", SIZE, SIZE, colour_count, 0, 1, bits, len(image),
                                 offset + len(data))
        data += image
    with open(out, "wb") as f:
        f.write(directory + data)
    print("wrote %s (%d bytes)" % (out, len(directory) + len(data)))


if __name__ == "__main__":
    main()
