#!/usr/bin/env python3
"""Writes examples/sample.cup: thermal hotspots for the sample project's area as a glider pilots'
waypoint file (SeeYou CUP), to try Thermals > Import hotspots... with.

Hotspot maps are made from many flight logs: wherever gliders circled in lift again and again a
hotspot is marked, and the maps are published as waypoint files. This one is made up for the
sample's lowland between 52:00 and 52:30 N and 4:30 and 5:30 E. It holds a header line, twelve
hotspots inside the area (two of them exactly on its edges), one beyond its northern edge, one
repeated, and names with commas and quotes, so that an import shows every count of its summary:
on the sample project it imports 12 hotspots, 1 already there and 1 outside the area.

The waypoints are fixed in this file; a run gives the same file every time.
Usage: tools/make_sample_cup.py [output folder]   (default: examples/ beside tools/)
"""
import os
import sys

HEADER = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc"

# name, code, latitude (degrees, minutes), longitude (degrees, minutes), elevation in metres,
# climbs logged there.
HOTSPOTS = [
    ("Dunes, south end", "DUNS", (52, 4.250), (4, 33.800), 12, 41),
    ("Dunes, north end", "DUNN", (52, 21.600), (4, 36.150), 9, 37),
    ('Bulb fields "Red Square"', "BULB", (52, 14.075), (4, 41.500), 0, 58),
    ("Polder, long fields", "POLD", (52, 9.333), (4, 52.125), -2, 64),
    ("River bend", "RIVB", (52, 6.810), (5, 4.440), 1, 29),
    ("Canal lock, east", "LOCK", (52, 17.942), (5, 1.777), 0, 33),
    ("Town, industry", "INDU", (52, 11.500), (5, 14.250), 3, 72),
    ("Heath, sandy ridge", "HEAT", (52, 3.125), (5, 23.875), 24, 85),
    ("Lake shore, south", "LAKE", (52, 20.300), (5, 17.900), 0, 21),
    ("Motorway junction", "JUNC", (52, 1.050), (4, 58.300), 2, 47),
    # On the area's edges: still inside.
    ("Corner, north-east", "CORN", (52, 30.000), (5, 30.000), 0, 12),
    # Beyond the northern edge: outside the area.
    ("Lake, far side", "FARS", (52, 36.200), (5, 12.000), -4, 18),
    # Logged twice: the second one is already there when it is imported.
    ("Polder, long fields", "POLD", (52, 9.333), (4, 52.125), -2, 64),
    ("Dunes, west edge", "DUNW", (52, 12.000), (4, 30.000), 6, 26),
]


def quote(text):
    """A CUP text field: in double quotes, a quote inside doubled."""
    return '"' + text.replace('"', '""') + '"'


def position(value, degree_digits, letters):
    degrees, minutes = value
    letter = letters[0] if degrees >= 0 else letters[1]
    return "%0*d%06.3f%s" % (degree_digits, abs(degrees), minutes, letter)


def cup_text():
    lines = [HEADER]
    for name, code, lat, lon, elevation, climbs in HOTSPOTS:
        lines.append(",".join([
            quote(name), code, "NL", position(lat, 2, "NS"), position(lon, 3, "EW"),
            "%dm" % elevation, "1", "", "", "", quote("thermal hotspot, %d climbs logged" % climbs),
        ]))
    # SeeYou's own files end their lines in CR LF.
    return "".join(line + "\r\n" for line in lines)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "examples")
    path = os.path.join(folder, "sample.cup")
    with open(path, "w", newline="") as out:
        out.write(cup_text())
    print(path)


if __name__ == "__main__":
    main()
