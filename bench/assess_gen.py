#!/usr/bin/env python3
"""Inputs of the assess benchmark as CSV with a WKT column.

footprints.csv: N rectangles of 10 x 15 m, random orientation, centres
uniformly over x 0..600 m, y -300..300 m in the jet frame; roads.csv: M
segments of 50 m likewise; points.csv: P single points with columns E,N
(for orvalis batch, and as a point layer for orvalis assess).
World coordinates: breach at E0,N0, jet azimuth AZ degrees from north.
"""
import math
import random
import sys

E0, N0, AZ = 2600000.0, 1200000.0, 120.0


def world(x, y):
    a = math.radians(AZ)
    return E0 + x * math.sin(a) - y * math.cos(a), N0 + x * math.cos(a) + y * math.sin(a)


def main():
    out, n, m, p = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    rnd = random.Random(20261208)
    with open(f"{out}/footprints.csv", "w") as f:
        f.write("WKT,id\n")
        for k in range(n):
            cx, cy = rnd.uniform(0, 600), rnd.uniform(-300, 300)
            t = rnd.uniform(0, math.pi)
            c, s = math.cos(t), math.sin(t)
            ring = []
            for u, v in ((-5, -7.5), (5, -7.5), (5, 7.5), (-5, 7.5), (-5, -7.5)):
                e, nn = world(cx + u * c - v * s, cy + u * s + v * c)
                ring.append(f"{e:.3f} {nn:.3f}")
            f.write(f'"POLYGON (({",".join(ring)}))",{k}\n')
    with open(f"{out}/roads.csv", "w") as f:
        f.write("WKT,id\n")
        for k in range(m):
            cx, cy = rnd.uniform(0, 600), rnd.uniform(-300, 300)
            t = rnd.uniform(0, 2 * math.pi)
            a = world(cx - 25 * math.cos(t), cy - 25 * math.sin(t))
            b = world(cx + 25 * math.cos(t), cy + 25 * math.sin(t))
            f.write(f'"LINESTRING ({a[0]:.3f} {a[1]:.3f},{b[0]:.3f} {b[1]:.3f})",{k}\n')
    with open(f"{out}/points.csv", "w") as f:
        f.write("E,N\n")
        for _ in range(p):
            e, nn = world(rnd.uniform(0, 600), rnd.uniform(-300, 300))
            f.write(f"{e:.3f},{nn:.3f}\n")


main()
