"""orvalis.to_jet: the programs' world-to-jet formula bit for bit, broadcasting, bad arguments."""

import os
import subprocess

import numpy as np
import pytest

import orvalis


def oracle_jet(E, N, e0, n0, az):
    """The C++ formula's (x, y) at the float64 points (E, N), from orv_oracle."""
    e = np.ascontiguousarray(E, dtype=np.float64).view(np.uint64)
    n = np.ascontiguousarray(N, dtype=np.float64).view(np.uint64)
    text = "".join(f"{a:016x} {b:016x}\n" for a, b in zip(e, n))
    out = subprocess.run([os.environ["ORV_ORACLE"], "jet", repr(e0), repr(n0), repr(az)],
                         input=text, capture_output=True, text=True, check=True).stdout
    rows = [line.split() for line in out.splitlines()]
    return (np.array([int(r[0], 16) for r in rows], dtype=np.uint64),
            np.array([int(r[1], 16) for r in rows], dtype=np.uint64))


@pytest.mark.parametrize("az", [0.0, 37.5, 90.0, 180.0, 271.3, -45.0])
def test_bits_equal_the_programs_formula(az):
    rng = np.random.default_rng(7)
    e0, n0 = 2600000.25, 1200000.5
    E = e0 + rng.uniform(-800, 800, 500)
    N = n0 + rng.uniform(-800, 800, 500)
    x, y = orvalis.to_jet(E, N, origin=(e0, n0), azimuth=az)
    assert x.dtype == np.float64 and y.dtype == np.float64
    ex, ey = oracle_jet(E, N, e0, n0, az)
    np.testing.assert_array_equal(x.view(np.uint64), ex)
    np.testing.assert_array_equal(y.view(np.uint64), ey)
    assert (y < 0).any() and (y > 0).any()  # signed, not folded


def test_broadcasting_and_scalars():
    x, y = orvalis.to_jet([[0.0], [10.0], [20.0]], [5.0, 6.0], origin=(0, 0), azimuth=90)
    assert x.shape == y.shape == (3, 2)
    np.testing.assert_allclose(x[:, 0], [0, 10, 20], atol=1e-12)  # a jet to the east
    xs, ys = orvalis.to_jet(3, 4, origin=[0, 0], azimuth=0)
    assert np.ndim(xs) == 0 and (xs, ys) == (4.0, -3.0)  # east is right of a jet to the north


@pytest.mark.parametrize("kw,err", [
    (dict(E="a", N=0, origin=(0, 0), azimuth=0), TypeError),
    (dict(E=[1, 2], N=[1, 2, 3], origin=(0, 0), azimuth=0), ValueError),
    (dict(E=0, N=0, origin=(0, 0, 0), azimuth=0), ValueError),
    (dict(E=0, N=0, origin=(np.nan, 0), azimuth=0), ValueError),
    (dict(E=0, N=0, origin=(0, 0), azimuth=[1, 2]), ValueError),
])
def test_bad_arguments(kw, err):
    with pytest.raises(err):
        orvalis.to_jet(**kw)
