#!/usr/bin/env python3
"""Writes Ascendor's sample project: examples/sample.bmp, examples/sample.prj, the backdrop's
world file examples/sample.bpw and a thermal map for it, examples/sample_thermals.bmp.

The backdrop is a made-up but plausible stretch of lowland between 52.0 and 52.5 N and 4.5 and
5.5 E: sea and dunes along the west edge, a large lake in the north-east, polders cut into long
fields, a river and a canal, towns drawn as grey blocks with streets, and the roads between them.
It is 640 x 480 pixels in 256 colours (8 bits per pixel with a colour table), about 300 KB.
The project names the backdrop, gives those four bounds and holds forty thermals of all four
lift types, with and without clouds, all placed over land inside the area.

The thermal map is the backdrop's land cover in greys: white where the ground heats quickly
(ploughed land, towns, wheat, dunes), greys for pasture and parks, dark for wet meadows and
woods, black over water. Same size, 256 greys.

Everything comes from a fixed seed, so a run gives the same two files every time.
Usage: tools/make_sample.py [output folder]   (default: examples/ beside tools/)
"""
import math
import os
import random
import struct
import sys

WIDTH, HEIGHT = 640, 480
SEED = 5225

# Area bounds, as the project file holds them, and the same in 1/100000 degree.
TOP_TEXT, BOTTOM_TEXT = "52:30.000N", "52:00.000N"
LEFT_TEXT, RIGHT_TEXT = "004:30.000E", "005:30.000E"
TOP, BOTTOM, LEFT, RIGHT = 5250000, 5200000, 450000, 550000
THERMAL_COUNT = 40

# Materials: a dark and a light colour; each gets eight shades in the colour table, so the 32
# materials fill all 256 entries.
MATERIALS = [
    ("sea", (26, 66, 116), (58, 104, 154)),
    ("shallows", (62, 112, 160), (112, 160, 192)),
    ("lake", (44, 92, 142), (78, 128, 172)),
    ("river", (52, 102, 152), (86, 138, 182)),
    ("beach", (214, 200, 150), (242, 230, 188)),
    ("dune", (148, 158, 108), (192, 192, 142)),
    ("dune forest", (58, 92, 54), (94, 124, 74)),
    ("pasture", (92, 142, 58), (130, 176, 84)),
    ("pasture light", (110, 156, 70), (152, 192, 102)),
    ("pasture dark", (78, 122, 54), (114, 158, 80)),
    ("wet meadow", (98, 138, 86), (136, 170, 112)),
    ("wheat", (196, 182, 108), (226, 212, 142)),
    ("ploughed", (132, 102, 68), (166, 136, 96)),
    ("tulips", (196, 72, 84), (230, 118, 118)),
    ("daffodils", (214, 196, 58), (242, 226, 112)),
    ("forest", (42, 82, 44), (74, 114, 64)),
    ("greenhouse", (172, 188, 198), (212, 222, 230)),
    ("town", (104, 104, 110), (160, 160, 166)),
    ("roofs", (148, 84, 70), (186, 122, 100)),
    ("street", (222, 222, 216), (244, 244, 238)),
    ("road", (232, 222, 186), (250, 246, 216)),
    ("casing", (98, 94, 84), (122, 116, 106)),
    ("motorway", (226, 146, 66), (246, 182, 102)),
    ("park", (88, 148, 74), (122, 176, 96)),
    ("ditch", (68, 108, 80), (96, 136, 102)),
    ("industry", (118, 126, 146), (158, 164, 182)),
]
while len(MATERIALS) < 32:
    MATERIALS.append(("spare", (0, 0, 0), (255, 255, 255)))
M = {name: i for i, (name, _, _) in enumerate(MATERIALS)}
WATER = {M["sea"], M["shallows"], M["lake"], M["river"]}


def palette():
    entries = []
    for _, dark, light in MATERIALS:
        for s in range(8):
            t = s / 7.0
            entries.append(tuple(int(round(d + (l - d) * t)) for d, l in zip(dark, light)))
    return entries


def mix(*values):
    """A small integer hash, the same on every machine."""
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
    h ^= h >> 15
    h = (h * 2246822519) & 0xFFFFFFFF
    h ^= h >> 13
    return h


class Noise:
    """Smooth value noise over a few octaves, 0..1."""

    def __init__(self, rng, cell, octaves=4):
        self.layers = []
        for o in range(octaves):
            size = cell / (2 ** o)
            cols = rows = int(WIDTH / size) + 3
            grid = [[rng.random() for _ in range(cols)] for _ in range(rows)]
            self.layers.append((size, grid, 0.5 ** o))
        self.total = sum(w for _, _, w in self.layers)

    def at(self, x, y):
        value = 0.0
        for size, grid, weight in self.layers:
            fx, fy = x / size, y / size
            ix, iy = math.floor(fx), math.floor(fy)
            tx, ty = fx - ix, fy - iy
            sx, sy = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
            rows, cols = len(grid), len(grid[0])  # the lattice repeats beyond its edges
            r0, r1 = grid[iy % rows], grid[(iy + 1) % rows]
            c0, c1 = ix % cols, (ix + 1) % cols
            a, b, c, d = r0[c0], r0[c1], r1[c0], r1[c1]
            value += weight * ((a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy)
        return value / self.total


class Canvas:
    def __init__(self):
        self.material = bytearray(WIDTH * HEIGHT)
        self.shade = bytearray(WIDTH * HEIGHT)

    def set(self, x, y, material, shade=None):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            i = y * WIDTH + x
            self.material[i] = material
            if shade is not None:
                self.shade[i] = shade

    def get(self, x, y):
        return self.material[y * WIDTH + x]

    def disc(self, x, y, r, material, shade=None):
        ri = int(math.ceil(r))
        for dy in range(-ri, ri + 1):
            for dx in range(-ri, ri + 1):
                if dx * dx + dy * dy <= r * r:
                    self.set(int(round(x)) + dx, int(round(y)) + dy, material, shade)

    def polyline(self, points, r, material, shade=None):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            steps = max(1, int(math.hypot(x1 - x0, y1 - y0) * 2))
            for k in range(steps + 1):
                t = k / steps
                self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, r, material, shade)


def coast_x(y, noise):
    """The coastline runs north-north-east, from x = 14 at the bottom to 58 at the top."""
    return 14 + (HEIGHT - y) / HEIGHT * 44 + (noise.at(0, y * 3) - 0.5) * 16


def wobbly_path(rng, start, end, bends, amplitude):
    """A gently curved path between two points, by random sideways offsets of its midpoints."""
    (x0, y0), (x1, y1) = start, end
    length = math.hypot(x1 - x0, y1 - y0) or 1.0
    nx, ny = -(y1 - y0) / length, (x1 - x0) / length
    offsets = [0.0] + [rng.uniform(-amplitude, amplitude) for _ in range(bends)] + [0.0]
    points = []
    steps = (bends + 1) * 8
    for k in range(steps + 1):
        t = k / steps
        f = t * (bends + 1)
        i = min(int(f), bends)
        u = f - i
        u = u * u * (3 - 2 * u)
        off = offsets[i] + (offsets[i + 1] - offsets[i]) * u
        points.append((x0 + (x1 - x0) * t + nx * off, y0 + (y1 - y0) * t + ny * off))
    return points


def draw_land(canvas, rng):
    terrain = Noise(rng, 160)
    detail = Noise(rng, 24, 2)
    coast_noise = Noise(rng, 60, 3)
    lake_noise = Noise(rng, 80, 3)

    # Polders: each pixel belongs to the nearest of a few seeds; each has its own field pattern.
    polders = []
    for _ in range(9):
        polders.append((rng.uniform(60, WIDTH), rng.uniform(0, HEIGHT),
                        math.radians(rng.uniform(-35, 35)),
                        rng.randint(7, 11), rng.randint(18, 34), rng.randint(0, 1 << 30)))
    pastures = [M["pasture"], M["pasture light"], M["pasture dark"], M["wet meadow"]]

    for y in range(HEIGHT):
        cx = coast_x(y, coast_noise)
        for x in range(WIDTH):
            i = y * WIDTH + x
            shade = min(7, max(0, int(detail.at(x, y) * 10) - 1))
            if x < cx - 26:
                m, shade = M["sea"], min(7, max(0, int((x - cx + 80) / 8)))
            elif x < cx - 4:
                m, shade = M["shallows"], min(7, max(0, int((x - cx + 26) / 3)))
            elif x < cx:
                m = M["beach"]
            elif x < cx + 14 + terrain.at(x, y) * 10:
                m = M["dune forest"] if terrain.at(x * 3, y * 3) > 0.58 else M["dune"]
            else:
                best, seed = None, None
                wob = (terrain.at(y, x) - 0.5) * 90
                for px, py, angle, pw, ph, pseed in polders:
                    d = (x - px + wob) ** 2 + (y - py) ** 2
                    if best is None or d < best:
                        best, seed = d, (px, py, angle, pw, ph, pseed)
                px, py, angle, pw, ph, pseed = seed
                u = (x - px) * math.cos(angle) + (y - py) * math.sin(angle)
                v = -(x - px) * math.sin(angle) + (y - py) * math.cos(angle)
                cu, cv = math.floor(u / pw), math.floor(v / ph)
                h = mix(pseed, cu, cv)
                pick = h % 100
                if u - cu * pw < 1.0:
                    m = M["ditch"]
                elif x < cx + 70 and 150 < y < 330 and pick < 55:  # bulb fields behind the dunes
                    m = M["tulips"] if (h >> 8) % 2 else M["daffodils"]
                elif x < cx + 120 and y > 360 and pick < 45:
                    m = M["greenhouse"]
                elif pick < 58:
                    m = pastures[(h >> 8) % len(pastures)]
                elif pick < 72:
                    m = M["wheat"]
                elif pick < 84:
                    m = M["ploughed"]
                elif pick < 92 and terrain.at(x, y) > 0.5:
                    m = M["forest"]
                else:
                    m = pastures[(h >> 10) % len(pastures)]
                if m not in (M["ditch"], M["forest"]):
                    shade = min(7, max(0, ((h >> 12) % 5) + int((detail.at(x, y) - 0.5) * 4)))
            canvas.material[i] = m
            canvas.shade[i] = shade

    # The large lake in the north-east, and a few smaller ones.
    lakes = [(600, 40, 150, 105)] + [(rng.uniform(150, 560), rng.uniform(60, 440),
                                      rng.uniform(8, 16), rng.uniform(6, 12)) for _ in range(5)]
    for lx, ly, rx, ry in lakes:
        for y in range(max(0, int(ly - ry * 1.4)), min(HEIGHT, int(ly + ry * 1.4) + 1)):
            for x in range(max(0, int(lx - rx * 1.4)), min(WIDTH, int(lx + rx * 1.4) + 1)):
                d = ((x - lx) / rx) ** 2 + ((y - ly) / ry) ** 2
                if d < 0.75 + 0.5 * lake_noise.at(x, y):
                    depth = 1.0 - min(1.0, d)
                    canvas.set(x, y, M["lake"], min(7, int(7 - depth * 6)))


def draw_water_ways(canvas, rng):
    # The river comes in from the east and winds west to the sea.
    river = [(WIDTH + 5, 334)]
    x, y = WIDTH + 5, 334.0
    while x > 0:
        x -= 4
        y += 2.2 * math.sin(x / 31.0) + 1.4 * math.sin(x / 13.0 + 1.0) - 0.25
        river.append((x, y))
    canvas.polyline(river, 2.2, M["river"], 4)
    # A straight canal from the lake south to the edge, and a side arm of the river.
    canvas.polyline([(470, 95), (520, 250), (585, HEIGHT + 5)], 1.4, M["river"], 5)
    canvas.polyline(wobbly_path(rng, (330, 345), (300, HEIGHT + 5), 3, 14), 1.0, M["river"], 5)


TOWNS = [  # x, y, radius in pixels
    (300, 118, 44), (158, 128, 22), (74, 298, 20), (398, 418, 32), (524, 298, 18),
    (214, 336, 14), (250, 230, 12), (460, 190, 11), (130, 420, 13), (600, 420, 12),
]


def draw_towns(canvas, rng):
    shape = Noise(rng, 30, 2)
    for n, (tx, ty, tr) in enumerate(TOWNS):
        block = rng.randint(5, 7)
        # A town grows from a few centres, so its outline is not a circle.
        parts = [(tx, ty, tr * 0.8)] + [
            (tx + rng.uniform(-0.6, 0.6) * tr, ty + rng.uniform(-0.6, 0.6) * tr,
             tr * rng.uniform(0.35, 0.6)) for _ in range(1 + tr // 10)]
        for y in range(max(0, ty - 2 * tr), min(HEIGHT, ty + 2 * tr + 1)):
            for x in range(max(0, tx - 2 * tr), min(WIDTH, tx + 2 * tr + 1)):
                d = min(math.hypot(x - px, y - py) / pr for px, py, pr in parts)
                if d > 0.7 + 0.5 * shape.at(x + n * 50, y) or canvas.get(x, y) in WATER:
                    continue
                bx, by = (x - tx) // block, (y - ty) // block
                # Some grid lines are left out, so blocks come in several sizes.
                street_x = (x - tx) % block == 0 and mix(n, 1, bx) % 4 != 0
                street_y = (y - ty) % block == 0 and mix(n, 2, by) % 4 != 0
                if street_x or street_y:
                    canvas.set(x, y, M["street"], mix(n, x, y) % 3)
                    continue
                h = mix(n * 7919, bx if mix(n, 1, bx) % 4 else bx - 1,
                        by if mix(n, 2, by) % 4 else by - 1)
                pick = h % 100
                if d > 0.8 and pick < 20:
                    m = M["industry"]
                elif pick < 8:
                    m = M["park"]
                elif pick < 24:
                    m = M["roofs"]
                else:
                    m = M["town"]
                dark = 0 if d < 0.35 else 2
                canvas.set(x, y, m, min(7, dark + (h >> 8) % 5))
    # Villages: a few blocks each, on land away from the towns.
    for _ in range(16):
        for _attempt in range(50):
            vx, vy = rng.randint(90, WIDTH - 20), rng.randint(20, HEIGHT - 20)
            if canvas.get(vx, vy) not in WATER and all(
                    math.hypot(vx - tx, vy - ty) > tr * 1.8 for tx, ty, tr in TOWNS):
                break
        for _ in range(rng.randint(3, 7)):
            bx, by = vx + rng.randint(-6, 6), vy + rng.randint(-6, 6)
            m = M["roofs"] if rng.random() < 0.5 else M["town"]
            for y in range(by, by + rng.randint(2, 4)):
                for x in range(bx, bx + rng.randint(2, 4)):
                    if 0 <= x < WIDTH and 0 <= y < HEIGHT and canvas.get(x, y) not in WATER:
                        canvas.set(x, y, m, rng.randint(2, 6))


def draw_roads(canvas, rng):
    t = TOWNS
    motorways = [[(t[1][0], t[1][1]), (t[0][0], t[0][1])],
                 [(t[0][0], t[0][1]), (t[3][0], t[3][1])],
                 [(t[2][0], t[2][1]), (t[3][0], t[3][1])],
                 [(t[0][0], t[0][1]), (WIDTH + 5, 250)],
                 [(t[3][0], t[3][1]), (WIDTH + 5, 455)]]
    roads = [(1, 2), (2, 5), (5, 6), (6, 0), (0, 7), (7, 4), (4, 3), (5, 8), (8, 3), (4, 9),
             (9, 3), (1, 6), (8, 2)]
    paths = [wobbly_path(rng, a, b, 2, 10) for a, b in motorways]
    lanes = [wobbly_path(rng, (t[a][0], t[a][1]), (t[b][0], t[b][1]), 3, 16) for a, b in roads]
    lanes.append(wobbly_path(rng, (100, -5), (40, HEIGHT + 5), 4, 8))  # along the dunes
    for path in lanes:
        canvas.polyline(path, 1.0, M["casing"], 5)
    for path in lanes:
        canvas.polyline(path, 0.5, M["road"], 6)
    for path in paths:
        canvas.polyline(path, 2.0, M["casing"], 3)
    for path in paths:
        canvas.polyline(path, 1.1, M["motorway"], 5)


def write_bmp(path, canvas, colours):
    row = (WIDTH + 3) // 4 * 4
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom row first
        start = y * WIDTH
        for x in range(WIDTH):
            pixels.append(canvas.material[start + x] * 8 + canvas.shade[start + x])
        pixels.extend(b"\0" * (row - WIDTH))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


# How readily each material sets off thermals, 0 (never) to 255 (always).
THERMAL_GREYS = {
    "sea": 0, "shallows": 0, "lake": 0, "river": 0, "ditch": 40, "wet meadow": 90,
    "forest": 30, "dune forest": 40, "beach": 200, "dune": 220, "pasture": 150,
    "pasture light": 160, "pasture dark": 140, "wheat": 230, "ploughed": 255, "tulips": 190,
    "daffodils": 190, "greenhouse": 200, "town": 245, "roofs": 245, "street": 235, "road": 220,
    "casing": 210, "motorway": 230, "park": 130, "industry": 255,
}


def write_thermal_map(path, canvas):
    greys = [THERMAL_GREYS.get(name, 128) for name, _, _ in MATERIALS]
    row = (WIDTH + 3) // 4 * 4
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom row first
        start = y * WIDTH
        pixels.extend(greys[m] for m in canvas.material[start:start + WIDTH])
        pixels.extend(b"\0" * (row - WIDTH))
    table = b"".join(struct.pack("<BBBB", g, g, g, 0) for g in range(256))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


def pixel_to_coordinate(x, y):
    lon = LEFT + int((x + 0.5) * (RIGHT - LEFT) / WIDTH)
    lat = TOP - int((y + 0.5) * (TOP - BOTTOM) / HEIGHT)
    return lat, lon


def make_thermals(canvas, rng):
    types = [1 + i % 4 for i in range(THERMAL_COUNT)]
    rng.shuffle(types)
    # Every type gets thermals with and without a cloud.
    clouds = [(i // 4) % 2 for i in range(THERMAL_COUNT)]
    thermals = []
    taken = []
    for kind, cloud in zip(types, clouds):
        while True:
            x, y = rng.randint(24, WIDTH - 25), rng.randint(24, HEIGHT - 25)
            apart = all(abs(x - a) + abs(y - b) > 28 for a, b in taken)
            if apart and canvas.get(x, y) not in WATER:
                break
        taken.append((x, y))
        lat, lon = pixel_to_coordinate(x, y)
        top = rng.randrange(1200, 2700, 100)
        radius = rng.randrange(300, 1300, 50)
        if kind == 4:
            bottom, wind, factor = 0, 0, 0
        else:
            bottom = rng.choice([0, 0, 0, 100, 200, 300])
            wind = rng.choice([225, 240, 250, 260, 270, 280, 290, 300])
            factor = rng.choice([0, 0, 1, 2, 3])
        ceiling = top + rng.choice([0, 0, 100, 200])
        size = 2 * rng.randrange(300, 1300, 50)
        thermals.append([lat, lon, kind, bottom, top, radius, wind, factor, cloud, 0, ceiling,
                         size, rng.randint(1, 20)])
    return thermals


def write_project(path, backdrop, thermals):
    lines = [backdrop, TOP_TEXT, BOTTOM_TEXT, LEFT_TEXT, RIGHT_TEXT]
    lines += [",".join(str(v) for v in t) for t in thermals]
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("ascii"))


def write_world_file(path):
    """The six numbers that place the backdrop on the area: pixel width, no rotation, pixel height
    (negative: north is up), and the centre of the upper-left pixel, in degrees."""
    width = (RIGHT - LEFT) / 100000.0 / WIDTH
    height = -(TOP - BOTTOM) / 100000.0 / HEIGHT
    numbers = [width, 0.0, 0.0, height, LEFT / 100000.0 + width / 2, TOP / 100000.0 + height / 2]
    with open(path, "wb") as f:
        f.write("".join(repr(v) + "\r\n" for v in numbers).encode("ascii"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.normpath(sys.argv[1] if len(sys.argv) > 1
                           else os.path.join(here, "..", "examples"))
    os.makedirs(out, exist_ok=True)
    rng = random.Random(SEED)
    canvas = Canvas()
    draw_land(canvas, rng)
    draw_water_ways(canvas, rng)
    draw_towns(canvas, rng)
    draw_roads(canvas, rng)
    write_bmp(os.path.join(out, "sample.bmp"), canvas, palette())
    write_thermal_map(os.path.join(out, "sample_thermals.bmp"), canvas)
    thermals = make_thermals(canvas, rng)
    for t in thermals:
        assert BOTTOM < t[0] < TOP and LEFT < t[1] < RIGHT
    write_project(os.path.join(out, "sample.prj"), "sample.bmp", thermals)
    write_world_file(os.path.join(out, "sample.bpw"))
    print("wrote %s/sample.bmp, sample.prj (%d thermals), sample.bpw and sample_thermals.bmp"
          % (out, len(thermals)))


if __name__ == "__main__":
    main()
