#!/usr/bin/env python3
"""Inputs of the inventory benchmark.

register.csv: D dams over a square of SIDE km (H 2-15 m, B 2-30 m, Vol 10^3-10^6 m3,
S 1-15 %, D 0.01-0.5 m, random azimuths), columns id,E,N,H,B,Vol,S,D,azimuth;
buildings.csv: P building points (WKT); roads.csv: R road segments of 50 m (WKT),
all spread uniformly over the same square in EPSG:2056.
Usage: inventory_gen.py DIR D P R [SIDE_KM] [SEED]
"""
import math
import random
import sys

E0, N0 = 2560000.0, 1150000.0


def main():
    out, d, p, r = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    side = float(sys.argv[5]) * 1000 if len(sys.argv) > 5 else 50000.0
    rnd = random.Random(int(sys.argv[6]) if len(sys.argv) > 6 else 20261208)
    with open(f"{out}/register.csv", "w") as f:
        f.write("id,E,N,H,B,Vol,S,D,azimuth\n")
        for k in range(d):
            f.write("A-%04d,%.2f,%.2f,%.2f,%.1f,%.0f,%.2f,%.3f,%.1f\n" % (
                k + 1, E0 + rnd.uniform(0, side), N0 + rnd.uniform(0, side),
                rnd.uniform(2, 15), rnd.uniform(2, 30), 10 ** rnd.uniform(3, 6),
                rnd.uniform(1, 15), rnd.uniform(0.01, 0.5), rnd.uniform(0, 360)))
    with open(f"{out}/buildings.csv", "w") as f:
        f.write("WKT,id\n")
        for k in range(p):
            f.write('"POINT (%.2f %.2f)",%d\n' % (E0 + rnd.uniform(0, side),
                                                 N0 + rnd.uniform(0, side), k))
    with open(f"{out}/roads.csv", "w") as f:
        f.write("WKT,id\n")
        for k in range(r):
            ce, cn = E0 + rnd.uniform(0, side), N0 + rnd.uniform(0, side)
            t = rnd.uniform(0, 2 * math.pi)
            dx, dy = 25 * math.cos(t), 25 * math.sin(t)
            f.write('"LINESTRING (%.2f %.2f,%.2f %.2f)",%d\n' % (ce - dx, cn - dy, ce + dx,
                                                                cn + dy, k))


main()
