#!/usr/bin/env python3
"""Points per second of orvalis.intensity on arrays, one point at a time, and in C++.

Usage (Release builds of the module and of the micro-benchmarks):

    make bench                      # builds build-bench/orv_bench
    PYTHONPATH=build/python /usr/bin/python3 bench/python_intensity.py \\
        --cpp build-bench/orv_bench

The points are those of bench/points.cpp: x in [8, 120) m, y in [-100, 100) m
(and for the run with a site per point, a head in [1, 10) m) from golden-ratio
sequences. Each figure is the best of --repeat runs; the loop calling
intensity() once per point runs over --loop-points points and is scaled up.
With --cpp, the C++ cases points/* of that Google Benchmark program run too
(one thread, the same repetitions) and the ratios are printed.
"""

import argparse
import json
import subprocess
import time

import numpy as np

import orvalis


def points(n):
    """x, y and head of points 0 .. n-1, as bench/points.cpp makes them."""
    i = np.arange(n, dtype=np.float64)
    x = (8 + 112 * np.fmod(i * 0.6180339887498949, 1.0)).astype(np.float32)
    y = (-100 + 200 * np.fmod(i * 0.7548776662466927, 1.0)).astype(np.float32)
    h = (1 + 9 * np.fmod(i * 0.5698402909980532, 1.0)).astype(np.float32)
    return x, y, h


def best_rate(call, n, repeat):
    """The highest points per second of call() over repeat runs, and its last result."""
    best, result = 0.0, None
    for _ in range(repeat):
        t0 = time.perf_counter()
        result = call()
        best = max(best, n / (time.perf_counter() - t0))
    return best, result


def show(what, figure, note=""):
    """One line of the report."""
    print(f"{what + ':':37} {figure}" + (f" ({note})" if note else ""))


def cpp_rates(exe, repeat):
    """items_per_second of the points/* cases of the Google Benchmark program, best run."""
    out = subprocess.run([exe, "--benchmark_filter=^points/", "--benchmark_format=json",
                          f"--benchmark_repetitions={repeat}"],
                         check=True, capture_output=True, text=True).stdout
    rates = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "iteration":
            name = b["run_name"].split("/")[1]
            rates[name] = max(rates.get(name, 0.0), b["items_per_second"])
    return rates


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--points", type=int, default=1_000_000)
    ap.add_argument("--loop-points", type=int, default=20_000)
    ap.add_argument("--repeat", type=int, default=5)
    ap.add_argument("--cpp", help="path of orv_bench (Google Benchmark) for the C++ figures")
    a = ap.parse_args()

    x, y, h = points(a.points)
    one, r = best_rate(lambda: orvalis.intensity(x=x, y=y), a.points, a.repeat)
    show("intensity, arrays, one site", f"{one / 1e6:7.3f} M points/s",
         f"{int((r.status == 0).sum())} results")
    each, r = best_rate(lambda: orvalis.intensity(H=h, x=x, y=y), a.points, a.repeat)
    show("intensity, arrays, site per point", f"{each / 1e6:7.3f} M points/s",
         f"{int((r.status == 0).sum())} results")
    xs, ys = x[:a.loop_points].tolist(), y[:a.loop_points].tolist()

    def loop():
        return [orvalis.intensity(x=px, y=py) for px, py in zip(xs, ys)]

    slow, _ = best_rate(loop, a.loop_points, max(1, a.repeat // 2))
    show("intensity, one point per call", f"{slow / 1e3:7.1f} k points/s",
         f"{a.loop_points} points")
    if a.cpp:
        rates = cpp_rates(a.cpp, a.repeat)
        show("C++ model alone, one thread", f"{rates['model'] / 1e6:7.3f} M points/s")
        show("C++ public interface and levels", f"{rates['public'] / 1e6:7.3f} M points/s")
        show("C++ site per point", f"{rates['each_site'] / 1e6:7.3f} M points/s")
        show("arrays / C++ model alone", f"{one / rates['model']:7.3f}")
        show("site per point / C++ site per point", f"{each / rates['each_site']:7.3f}")
        show("arrays / one point per call", f"{one / slow:7.0f}")


if __name__ == "__main__":
    main()
